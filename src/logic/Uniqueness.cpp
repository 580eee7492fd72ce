// Patterns that would leave the puzzle with two solutions, or none: with one solution known, the
// candidates that complete them are false. Deadly only where every house of all 29 holds the
// pattern's cells in pairs, so rectangles keep off the diagonals.
#include <algorithm>
#include <span>
#include <vector>

#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

constexpr bool OnDiagonal(int cell) { return RowOf(cell) == ColumnOf(cell) || RowOf(cell) + ColumnOf(cell) == 8; }

// A rectangle, or a loop of six or more cells: each cell shares a row or a column with the next.
struct Rectangle {
    std::span<const int> corners;  // in the loop's order; a rectangle's clockwise, so 0-2 and 1-3 are opposite
    int a, b;
};

Step RectangleStep(const Rectangle& r, const std::string& why) {
    const int n = static_cast<int>(r.corners.size());
    Step step = NewStep(n == 4 ? Technique::UniqueRectangle : Technique::UniqueLoop);
    if (n > 4) step.difficulty += (n - 6) / 2;  // a loop rises a tenth with each two cells more
    for (int cell : r.corners) {
        step.cells.push_back(cell);
        AddCandidates(step.pattern, cell, static_cast<DigitMask>(Bit(r.a) | Bit(r.b)));
    }
    for (int i = 0; i < n; ++i) {
        for (int h = 0; h < kHouseCount; ++h) {
            const CellSet pair = CellSet::Of(r.corners[i]) | CellSet::Of(r.corners[(i + 1) % n]);
            if (pair.Without(kHouses.sets[h]).Empty() && IsLine(h)) step.houses.push_back(h);
        }
    }
    CellSet corners{};
    for (int cell : r.corners) corners.Add(cell);
    step.explanation = "Stünden in " + CellList(corners) + " nur die " + Sym(r.a) + " und " + Sym(r.b) +
                       ", ließen sie sich tauschen, und das Rätsel hätte zwei Lösungen. " + why;
    return step;
}

// The rectangle's deductions, the simplest type first; nothing if it has none.
std::optional<Step> RectangleDeduction(const LogicState& state, const Rectangle& r) {
    const DigitMask pair = static_cast<DigitMask>(Bit(r.a) | Bit(r.b));
    std::vector<int> roof;
    for (int cell : r.corners) {
        if (state.cand[cell] != pair) roof.push_back(cell);
    }
    if (roof.size() == 1) {  // type 1
        Step step = RectangleStep(r, "Also ist " + CellName(roof[0]) + " weder " + Sym(r.a) + " noch " +
                                                Sym(r.b) + ".");
        AddCandidates(step.eliminations, roof[0], pair);
        return step;
    }
    if (roof.size() != 2 || (RowOf(roof[0]) != RowOf(roof[1]) && ColumnOf(roof[0]) != ColumnOf(roof[1]) &&
                             r.corners.size() == 4))
        return std::nullopt;
    const CellSet roofs = CellSet::Of(roof[0]) | CellSet::Of(roof[1]);
    const DigitMask extra = static_cast<DigitMask>((state.cand[roof[0]] | state.cand[roof[1]]) & ~pair);
    const std::string roofNames = CellName(roof[0]) + " und " + CellName(roof[1]);
    // Type 2: both roofs hold the same one extra digit, so one of them is that digit.
    if (state.cand[roof[0]] == state.cand[roof[1]] && DigitCount(extra) == 1) {
        const int x = LowestDigit(extra);
        const CellSet removed = (state.cellsWith[x] & kHouses.peers[roof[0]] & kHouses.peers[roof[1]]);
        if (!removed.Empty()) {
            Step step = RectangleStep(r, "Also steht in " + roofNames + " die " + Sym(x) + " und fehlt in " +
                                                    CellList(removed) + ".");
            AddCandidates(step.eliminations, removed, x);
            return step;
        }
    }
    for (int h = 0; h < kHouseCount; ++h) {
        if (!roofs.Without(kHouses.sets[h]).Empty()) continue;
        // Type 4: a digit of the pair stands in this house only on the roofs, so the other leaves them.
        for (const auto& [locked, other] : {std::pair{r.a, r.b}, std::pair{r.b, r.a}}) {
            if (state.PlacesOf(h, locked) != roofs) continue;
            Step step = RectangleStep(r, "In " + HouseAfterPreposition(h) + " steht die " + Sym(locked) +
                                                    " nur in " + roofNames + ", also nicht die " + Sym(other) + ".");
            AddCandidates(step.eliminations, roofs, other);
            return step;
        }
        // Type 3: the roofs' extra digits act as one cell of a naked subset of the house.
        std::vector<int> others;
        for (int cell : kHouses.cells[h]) {
            if (state.cand[cell] != 0 && !roofs.Has(cell) && (state.cand[cell] & pair) == 0) others.push_back(cell);
        }
        const int n = static_cast<int>(others.size());
        for (int mask = 1; mask < (1 << n); ++mask) {
            const int k = BitCount(static_cast<std::uint64_t>(mask));
            if (k > 3) continue;
            DigitMask digits = extra;
            CellSet subset{};
            for (int i = 0; i < n; ++i) {
                if (mask >> i & 1) digits |= state.cand[others[i]], subset.Add(others[i]);
            }
            if (DigitCount(digits) != k + 1) continue;
            Step step = RectangleStep(r, "");
            for (int cell : kHouses.cells[h]) {
                if (!roofs.Has(cell) && !subset.Has(cell)) AddCandidates(step.eliminations, cell, state.cand[cell] & digits);
            }
            if (step.eliminations.empty()) continue;
            step.explanation += "Eine der " + DigitNames(extra) + " steht also in " + roofNames + "; mit " +
                                CellList(subset) + " bilden sie in " + HouseAfterPreposition(h) + " eine Gruppe aus " +
                                DigitList(digits) + ", die sonst dort fehlen.";
            return step;
        }
    }
    return std::nullopt;
}

// Loops over cells holding a and b: from cell, along its row when alongRow, else along its
// column. Every house holds none or two of the loop's cells, one at an even and one at an odd
// place, so a and b could be swapped: a deadly pattern under all 29 houses.
struct LoopSearch {
    const LogicState& state;
    int a, b;
    std::size_t length;  // the loop's length this round
    CellSet pool;        // the cells holding a and b
    std::vector<int> loop;
    std::array<int, kHouseCount> count{};
    std::array<int, kHouseCount> parity{};  // sum of the places' parities in the house
    int extra = 0;  // cells holding more than a and b

    bool Enter(int cell) {
        const int place = static_cast<int>(loop.size()) & 1;
        for (int k = 0; k < kHouses.houseCount[cell]; ++k) {
            const int h = kHouses.housesOf[cell][k];
            if (count[h] == 2 || (count[h] == 1 && parity[h] == place)) return false;
        }
        for (int k = 0; k < kHouses.houseCount[cell]; ++k) {
            const int h = kHouses.housesOf[cell][k];
            ++count[h], parity[h] += place;
        }
        extra += state.cand[cell] != (Bit(a) | Bit(b));
        loop.push_back(cell);
        return true;
    }
    void Leave() {
        const int cell = loop.back();
        loop.pop_back();
        const int place = static_cast<int>(loop.size()) & 1;
        extra -= state.cand[cell] != (Bit(a) | Bit(b));
        for (int k = 0; k < kHouses.houseCount[cell]; ++k) {
            const int h = kHouses.housesOf[cell][k];
            --count[h], parity[h] -= place;
        }
    }
    bool Closed() const {
        for (int h = 0; h < kHouseCount; ++h) {
            if (count[h] == 1) return false;
        }
        return true;
    }
    std::optional<Step> Extend(bool alongRow) {
        const int cell = loop.back();
        if (extra > 2) return std::nullopt;
        if (loop.size() == length) {
            if (alongRow || ColumnOf(cell) != ColumnOf(loop.front()) || !Closed()) return std::nullopt;
            return RectangleDeduction(state, {loop, a, b});
        }
        const int house = alongRow ? RowOf(cell) : 9 + ColumnOf(cell);
        for (int next : pool & kHouses.sets[house]) {
            if (next <= loop.front() || next == cell) continue;
            if (!Enter(next)) continue;
            std::optional<Step> step = Extend(!alongRow);
            Leave();
            if (step) return step;
        }
        return std::nullopt;
    }
};

// Whether every house holds each candidate digit twice or not at all once digit leaves cells.
bool GraveWithout(const LogicState& state, CellSet cells, int digit) {
    for (int h = 0; h < kHouseCount; ++h) {
        for (int d = 1; d <= 9; ++d) {
            CellSet places = state.PlacesOf(h, d);
            if (d == digit) places = places.Without(cells);
            const int count = places.Count();
            if (count != 0 && count != 2) return false;
        }
    }
    return true;
}

}  // namespace

std::optional<Step> FindUniqueRectangle(const LogicState& state) {
    for (int r1 = 0; r1 < 9; ++r1) {
        for (int r2 = r1 + 1; r2 < 9; ++r2) {
            for (int c1 = 0; c1 < 9; ++c1) {
                for (int c2 = c1 + 1; c2 < 9; ++c2) {
                    const std::array<int, 4> corners{CellAt(r1, c1), CellAt(r1, c2), CellAt(r2, c2), CellAt(r2, c1)};
                    if ((r1 / 3 == r2 / 3) == (c1 / 3 == c2 / 3)) continue;  // two boxes exactly
                    DigitMask common = kAllDigits;
                    bool usable = true;
                    for (int cell : corners) {
                        common &= state.cand[cell];
                        usable = usable && !OnDiagonal(cell);
                    }
                    if (!usable || DigitCount(common) < 2) continue;
                    for (DigitMask m = common; m != 0; m &= m - 1) {
                        for (DigitMask n = m & (m - 1); n != 0; n &= n - 1) {
                            const Rectangle r{corners, LowestDigit(m), LowestDigit(n)};
                            if (auto step = RectangleDeduction(state, r)) return step;
                        }
                    }
                }
            }
        }
    }
    return std::nullopt;
}

// The shortest loops first; a rectangle is not a loop here.
std::optional<Step> FindUniqueLoop(const LogicState& state) {
    std::array<int, 100> longest{};  // per digit pair 10a+b: the longest loop its cells allow
    for (int a = 1; a <= 9; ++a) {
        for (int b = a + 1; b <= 9; ++b) {
            const CellSet pool = state.cellsWith[a] & state.cellsWith[b];
            int pairs = 0;  // all but two cells of a loop hold a and b alone
            for (int cell : pool) pairs += state.cand[cell] == (Bit(a) | Bit(b));
            longest[10 * a + b] = std::min(pool.Count(), pairs + 2);
        }
    }
    for (std::size_t length = 6; length <= 14; length += 2) {
        for (int a = 1; a <= 9; ++a) {
            for (int b = a + 1; b <= 9; ++b) {
                if (longest[10 * a + b] < static_cast<int>(length)) continue;
                LoopSearch search{state, a, b, length, state.cellsWith[a] & state.cellsWith[b], {}};
                for (int start : search.pool) {
                    search.Enter(start);
                    std::optional<Step> step = search.Extend(true);
                    search.Leave();
                    if (step) return step;
                }
            }
        }
    }
    return std::nullopt;
}

// All cells but a few hold two candidates; the few hold one digit more, the same one. Without it
// every house would hold each digit twice: no single solution. So it stands in one of them.
std::optional<Step> FindBivalueGrave(const LogicState& state) {
    CellSet wide{};
    DigitMask common = kAllDigits;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int count = DigitCount(state.cand[cell]);
        if (count == 1 || count > 3) return std::nullopt;
        if (count == 3) wide.Add(cell), common &= state.cand[cell];
    }
    if (wide.Empty()) return std::nullopt;
    for (DigitMask m = common; m != 0; m &= m - 1) {
        const int d = LowestDigit(m);
        if (!GraveWithout(state, wide, d)) continue;
        Step step = NewStep(Technique::BivalueGrave);
        AddCells(step, wide);
        AddCandidates(step.pattern, wide, d);
        const std::string grave = "Ohne die " + Sym(d) + " in " + CellList(wide) +
                                  " stünde jede Ziffer in jedem Haus zweimal oder gar nicht zur Wahl, und das Rätsel "
                                  "hätte nicht genau eine Lösung. ";
        if (wide.Count() == 1) {
            step.placements = {{static_cast<std::uint8_t>(wide.First()), static_cast<std::uint8_t>(d)}};
            step.explanation = grave + "Also ist " + CellName(wide.First()) + " die " + Sym(d) + ".";
            return step;
        }
        CellSet removed = state.cellsWith[d].Without(wide);
        for (int cell : wide) removed &= kHouses.peers[cell];
        if (removed.Empty()) continue;
        step.difficulty += 1;
        AddCandidates(step.eliminations, removed, d);
        step.explanation = grave + "Also steht sie in einem dieser Felder und fehlt in " + CellList(removed) + ".";
        return step;
    }
    return std::nullopt;
}

}  // namespace tessaro::logic
