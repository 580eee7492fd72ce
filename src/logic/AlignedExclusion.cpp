// Aligned exclusion: the candidates of two or three cells are tried together. A combination is
// impossible when two of the cells that see each other would hold one digit, or when a cell that
// sees them all would keep no candidate. A candidate no possible combination uses is false.
#include <algorithm>

#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

constexpr bool TwoOrMore(CellSet cells) {
    cells.Remove(cells.First());
    return !cells.Empty();
}

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

// The step of the base cells, if loser (any of them for -1) loses a candidate.
std::optional<Step> Exclude(const LogicState& state, const Base& base, CellSet seeingAll, Technique technique,
                            int loser = -1) {
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
    int pairs = 0;  // excluders of two digits: a single for every x they lack
    for (int e = 0; e < ex.count; ++e) {
        const DigitMask cand = state.cand[ex.cell[e]];
        const bool two = DigitCount(cand) == 2;
        pairs += two;
        for (DigitMask m = cand; m != 0; m &= m - 1) {
            const int x = LowestDigit(m);
            if (two) lines[x] |= cand & ~Bit(x), --singles[x];
            else ++singles[x];
        }
    }
    std::vector<Candidate> removed;
    CellSet used{};
    for (int i = 0; i < base.size; ++i) {
        if (loser >= 0 && base.cell[i] != loser) continue;
        const int at = base.cell[i], j = base.cell[i == 0 ? 1 : 0], k = base.cell[i == 2 ? 1 : 2];
        const bool seesJ = Sees(at, j), seesK = base.size == 3 && Sees(at, k), jSeesK = base.size == 3 && Sees(j, k);
        for (DigitMask m = state.cand[at]; m != 0; m &= m - 1) {
            const int x = LowestDigit(m);
            const DigitMask leftJ = state.cand[j] & ~lines[x] & ~(seesJ ? Bit(x) : 0);
            if (base.size == 2 && leftJ != 0) continue;
            if (base.size == 3) {
                const DigitMask leftK = state.cand[k] & ~lines[x] & ~(seesK ? Bit(x) : 0);
                const int same = jSeesK ? DigitCount(leftJ & leftK) : 0;
                if (DigitCount(leftJ) * DigitCount(leftK) > 2 * (pairs + singles[x]) + same) continue;
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
                       " ist: Jede ließe " + CellList(used, " oder ") +
                       (used.Count() == 1 ? ", das sie alle sieht," : ", die sie alle sehen,") +
                       " ohne Kandidaten oder gäbe zwei von ihnen, die einander sehen, dieselbe Ziffer.";
    return step;
}

// The digits x for which a third cell holding x could lose it beside j and k: even with every
// excluder they share and x in both of its own houses, few enough combinations of j and k are left.
// Where none of j's (or k's) digits is left, the pair of the third cell and k (or j) removes x
// already, a rung below.
DigitMask ThirdCellDigits(const LogicState& state, int j, int k, CellSet near) {
    const DigitMask jk = static_cast<DigitMask>(state.cand[j] | state.cand[k]);
    std::array<DigitMask, 10> lines{};
    std::array<int, 10> singles{};
    int pairs = 0;  // excluders of two digits of j and k: a single for every x they lack
    for (int cell : near) {
        const DigitMask cand = state.cand[cell];
        const DigitMask beyond = cand & ~jk;  // a digit beyond j and k must be x
        if (DigitCount(beyond) > 1) continue;
        const bool two = DigitCount(cand) == 2;
        if (two && beyond == 0) ++pairs;
        for (DigitMask m = beyond != 0 ? beyond : cand; m != 0; m &= m - 1) {
            const int x = LowestDigit(m);
            if (two) lines[x] |= cand & ~Bit(x), singles[x] -= beyond == 0;
            else ++singles[x];
        }
    }
    DigitMask digits = 0;
    for (int x = 1; x <= 9; ++x) {
        const DigitMask leftJ = state.cand[j] & ~lines[x] & ~Bit(x), leftK = state.cand[k] & ~lines[x] & ~Bit(x);
        if (leftJ != 0 && leftK != 0 &&
            DigitCount(leftJ) * DigitCount(leftK) <= 2 * (pairs + singles[x]) + DigitCount(leftJ & leftK))
            digits |= Bit(x);
    }
    return digits;
}

// The first pair or triple with something to remove: triples by the two cells whose combinations
// are struck, then the third. The cells that may rule a
// combination out see every base cell and hold at most as many candidates as there are base
// cells. One such cell alone removes only what a naked pair or a wing removed before, so the base
// cells have at least two in common.
// Pairs by the cell that loses x: every other digit of the second cell has a pair with x among the
// cells of two candidates that see both; if the second cell holds x, it sees the first.
std::optional<Step> FindAlignedPair(const LogicState& state, CellSet open, CellSet pairs) {
    for (int a : open) {
        for (DigitMask m = state.cand[a]; m != 0; m &= m - 1) {
            const int x = LowestDigit(m);
            const CellSet withX = kHouses.peers[a] & pairs & state.cellsWith[x];
            if (!TwoOrMore(withX)) continue;
            std::array<CellSet, 10> cover{};  // per digit y: the cells that see a pair of x and y
            CellSet any{};
            for (int cell : withX) {
                cover[LowestDigit(state.cand[cell] & ~Bit(x))] |= kHouses.peers[cell];
                any |= kHouses.peers[cell];
            }
            for (int b : any & open) {
                if (b == a) continue;
                DigitMask need = state.cand[b] & ~(Sees(a, b) ? Bit(x) : 0);
                for (; need != 0 && cover[LowestDigit(need)].Has(b); need &= need - 1) {
                }
                if (need != 0) continue;
                const Base base{{std::min(a, b), std::max(a, b), 0}, 2};
                if (auto step = Exclude(state, base, kHouses.peers[a] & kHouses.peers[b] & pairs,
                                        Technique::AlignedPairExclusion, a))
                    return step;
            }
        }
    }
    return std::nullopt;
}

std::optional<Step> FindAligned(const LogicState& state, int size, Technique technique) {
    CellSet open{}, small{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int count = DigitCount(state.cand[cell]);
        if (count >= 2) open.Add(cell);
        if (count >= 2 && count <= size) small.Add(cell);
    }
    if (size == 2) return FindAlignedPair(state, open, small);
    for (int a : open) {
        const CellSet nearA = kHouses.peers[a] & small;
        CellSet once{}, twice{};  // the cells that see two of those
        for (int cell : nearA) {
            twice |= once & kHouses.peers[cell];
            once |= kHouses.peers[cell];
        }
        for (int b : twice & open) {
            if (b <= a) continue;
            const CellSet nearAB = nearA & kHouses.peers[b];
            // a and b as the two cells whose combinations are struck; the third is the one that
            // loses a digit, so it holds one they allow.
            const DigitMask digits = ThirdCellDigits(state, a, b, nearAB);
            if (digits == 0) continue;
            // It sees two cells that may rule out combinations; a digit of such a cell beyond a and b
            // must be its own.
            const DigitMask ab = static_cast<DigitMask>(state.cand[a] | state.cand[b]);
            CellSet holding{}, seeOne{}, seeTwo{};
            for (DigitMask m = digits; m != 0; m &= m - 1) holding |= state.cellsWith[LowestDigit(m)];
            for (int cell : nearAB) {
                const DigitMask beyond = state.cand[cell] & ~ab;
                if (DigitCount(beyond) > 1 || (beyond & ~digits) != 0) continue;
                const CellSet seeing = kHouses.peers[cell] & (beyond != 0 ? state.cellsWith[LowestDigit(beyond)] : open);
                seeTwo |= seeOne & seeing;
                seeOne |= seeing;
            }
            for (int c : seeTwo & holding) {
                if (c == a || c == b) continue;
                const CellSet nearABC = nearAB & kHouses.peers[c];
                std::array<int, 3> cells{a, b, c};
                std::sort(cells.begin(), cells.end());
                if (auto step = Exclude(state, {cells, 3}, nearABC, technique, c)) return step;
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
