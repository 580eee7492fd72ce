// Aligned exclusion: the candidates of two or three cells are tried together. A combination is
// impossible when two of the cells that see each other would hold one digit, or when a cell that
// sees them all would keep no candidate. A candidate no possible combination uses is false.
#include <algorithm>

#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

struct Base {
    std::array<int, 3> cell{};
    int size = 0;
};

struct Excluders {
    std::array<int, 32> cell{};  // cells that see every base cell, none holding a digit the base lacks
    int count = 0;
};

// Whether base cell i may hold x: some digits of the other base cells are left once every
// combination that x makes impossible is struck. The excluders that struck one go to used.
bool Keeps(const LogicState& state, const Base& base, const Excluders& ex, int i, int x, CellSet& used) {
    const int at = base.cell[i];
    const int j = base.cell[i == 0 ? 1 : 0];
    const int k = base.size == 3 ? base.cell[i == 2 ? 1 : 2] : -1;
    // rows[y]: the digits of k still possible with x in the cell and y in j (size 2: any bit).
    std::array<DigitMask, 10> rows{};
    const DigitMask ofK = k < 0 ? 1 : state.cand[k];
    for (DigitMask m = state.cand[j]; m != 0; m &= m - 1) rows[LowestDigit(m)] = ofK;
    if (Sees(at, j)) rows[x] = 0;
    for (int y = 1; y <= 9 && k >= 0; ++y) {
        if (Sees(at, k)) rows[y] &= ~Bit(x);
        if (Sees(j, k)) rows[y] &= ~Bit(y);
    }
    auto strikeBoth = [&](int p, int q) {  // j and k holding p and q, either way round
        rows[p] &= ~Bit(q);
        rows[q] &= ~Bit(p);
    };
    for (int e = 0; e < ex.count; ++e) {
        const std::array<DigitMask, 10> before = rows;
        const DigitMask cand = state.cand[ex.cell[e]];
        const DigitMask rest = cand & ~Bit(x);
        if (rest != cand && DigitCount(rest) == 1) {  // x and y: j may not hold y, nor k
            rows[LowestDigit(rest)] = 0;
            for (DigitMask& row : rows) row &= k < 0 ? row : ~rest;
        } else if (DigitCount(rest) == 2 && k >= 0) {
            strikeBoth(LowestDigit(rest), LowestDigit(rest & (rest - 1)));
        }
        if (rows != before) used.Add(ex.cell[e]);
    }
    for (DigitMask row : rows) {
        if (row != 0) return true;
    }
    return false;
}

std::optional<Step> Exclude(const LogicState& state, const Base& base, CellSet seeingAll, Technique technique) {
    Excluders ex;
    DigitMask all = 0;
    for (int i = 0; i < base.size; ++i) all |= state.cand[base.cell[i]];
    for (int cell : seeingAll) {
        if ((state.cand[cell] & ~all) == 0 && ex.count < static_cast<int>(ex.cell.size())) ex.cell[ex.count++] = cell;
    }
    if (ex.count < 2) return std::nullopt;
    // Whole rows and columns of the others' combinations go with x's own peers and with excluders
    // of x and one digit more; a single combination goes with an excluder of two digits besides x,
    // or with j and k seeing each other. Where too many are left for those, some survives.
    std::array<DigitMask, 10> lines{};
    std::array<int, 10> singles{};
    for (DigitMask m = all; m != 0; m &= m - 1) {
        const int x = LowestDigit(m);
        for (int e = 0; e < ex.count; ++e) {
            const DigitMask cand = state.cand[ex.cell[e]];
            const DigitMask rest = cand & ~Bit(x);
            if (rest != cand && DigitCount(rest) == 1) lines[x] |= rest;
            else if (DigitCount(rest) == 2) ++singles[x];
        }
    }
    std::vector<Candidate> removed;
    CellSet used{};
    for (int i = 0; i < base.size; ++i) {
        const int at = base.cell[i], j = base.cell[i == 0 ? 1 : 0], k = base.cell[i == 2 ? 1 : 2];
        for (DigitMask m = state.cand[at]; m != 0; m &= m - 1) {
            const int x = LowestDigit(m);
            const DigitMask leftJ = state.cand[j] & ~lines[x] & ~(Sees(at, j) ? Bit(x) : 0);
            if (base.size == 2 && leftJ != 0) continue;
            if (base.size == 3) {
                const DigitMask leftK = state.cand[k] & ~lines[x] & ~(Sees(at, k) ? Bit(x) : 0);
                const int same = Sees(j, k) ? DigitCount(leftJ & leftK) : 0;
                if (DigitCount(leftJ) * DigitCount(leftK) > 2 * singles[x] + same) continue;
            }
            CellSet striking{};
            if (Keeps(state, base, ex, i, x, striking)) continue;
            used |= striking;
            removed.push_back({static_cast<std::uint8_t>(base.cell[i]), static_cast<std::uint8_t>(x)});
        }
    }
    if (removed.empty()) return std::nullopt;
    Step step = NewStep(technique);
    CellSet cells{};
    for (int i = 0; i < base.size; ++i) cells.Add(base.cell[i]);
    step.eliminations = removed;
    AddCells(step, cells);
    for (int cell : used) AddCandidates(step.pattern, cell, state.cand[cell]);
    std::string names;
    for (const Candidate& c : removed) names += (names.empty() ? "" : " oder ") + CellName(c.cell) + " die " + Sym(c.digit);
    step.explanation = "Für " + CellList(cells) + " bleibt keine Verteilung, in der " + names +
                       " ist: Jede ließe eines der Felder " + CellList(used) +
                       ", die sie alle sehen, ohne Kandidaten oder setzte zwei Felder, die einander sehen, auf "
                       "dieselbe Ziffer.";
    return step;
}

// Base cells in ascending order; the cells that may rule a combination out see every base cell
// and hold at most as many candidates as there are base cells.
std::optional<Step> FindAligned(const LogicState& state, int size, Technique technique) {
    CellSet open{}, small{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int count = DigitCount(state.cand[cell]);
        if (count >= 2) open.Add(cell);
        if (count >= 2 && count <= size) small.Add(cell);
    }
    // One excluder alone removes only what a naked pair or a wing found before, so the base
    // cells have at least two in common.
    for (int a : open) {
        const CellSet nearA = kHouses.peers[a] & small;
        if (nearA.Count() < 2) continue;
        for (int b : open) {
            if (b <= a) continue;
            const CellSet nearAB = nearA & kHouses.peers[b];
            if (nearAB.Count() < 2) continue;
            if (size == 2) {
                if (auto step = Exclude(state, {{a, b, 0}, 2}, nearAB, technique)) return step;
                continue;
            }
            // A third cell must see two of those cells, each of whose candidates the first two hold
            // but at most one, which the third holds.
            const DigitMask ab = static_cast<DigitMask>(state.cand[a] | state.cand[b]);
            CellSet once{}, twice{};
            for (int cell : nearAB) {
                const DigitMask need = state.cand[cell] & ~ab;
                if (DigitCount(need) > 1) continue;
                const CellSet seeing = kHouses.peers[cell] & (need != 0 ? state.cellsWith[LowestDigit(need)] : open);
                twice |= once & seeing;
                once |= seeing;
            }
            for (int c : twice) {
                if (c <= b) continue;
                const CellSet nearABC = nearAB & kHouses.peers[c];
                if (auto step = Exclude(state, {{a, b, c}, 3}, nearABC, technique)) return step;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> FindAlignedPairExclusion(const LogicState& state) {
    return FindAligned(state, 2, Technique::AlignedPairExclusion);
}
std::optional<Step> FindAlignedTripletExclusion(const LogicState& state) {
    return FindAligned(state, 3, Technique::AlignedTripletExclusion);
}

}  // namespace tessaro::logic
