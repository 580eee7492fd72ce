#include "logic/FinderTools.h"

#include <algorithm>

namespace tessaro::logic {
namespace {

std::string Holds(const LogicState& state, int cell) {
    return CellName(cell) + " (" + DigitNames(state.cand[cell]) + ")";
}

Step WingStep(const LogicState& state, Technique technique, int pivot, int a, int b, int z, CellSet removed) {
    Step step = NewStep(technique);
    step.cells = {pivot, a, b};
    for (int cell : step.cells) AddCandidates(step.pattern, cell, state.cand[cell]);
    AddCandidates(step.eliminations, removed, z);
    const bool xyz = technique == Technique::XYZWing;
    const bool several = removed.Count() > 1;
    const char* seers = xyz ? (several ? ", die alle drei sehen." : ", das alle drei sieht.")
                            : (several ? ", die beide Flügel sehen." : ", das beide Flügel sieht.");
    step.explanation = Holds(state, pivot) + " sieht " + Holds(state, a) + " und " + Holds(state, b) + ": in " +
                       (xyz ? "einem der drei Felder" : CellName(a) + " oder " + CellName(b)) + " steht die " +
                       Sym(z) + ", also nicht in " + CellList(removed) + seers;
    return step;
}

// The cells with exactly two candidates.
CellSet BivalueCells(const LogicState& state) {
    CellSet cells{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (DigitCount(state.cand[cell]) == 2) cells.Add(cell);
    }
    return cells;
}

// Pivots with pivotSize candidates and two bivalue wings it sees, each sharing all but z with the
// pivot and holding z: whichever the pivot takes, z stands in a wing (or the pivot, with three).
std::optional<Step> FindWing(const LogicState& state, int pivotSize, Technique technique) {
    const CellSet bivalue = BivalueCells(state);
    for (int pivot = 0; pivot < kCellCount; ++pivot) {
        const DigitMask p = state.cand[pivot];
        if (DigitCount(p) != pivotSize) continue;
        const CellSet wings = bivalue & kHouses.peers[pivot];
        for (int a : wings) {
            const DigitMask wa = state.cand[a];
            for (int b : wings) {
                const DigitMask wb = state.cand[b];
                if (b <= a || wa == wb || DigitCount(static_cast<DigitMask>(wa & wb)) != 1) continue;
                const DigitMask z = wa & wb;
                const DigitMask all = static_cast<DigitMask>(wa | wb);
                // XY: wa = {x, z}, wb = {y, z}, pivot = {x, y}. XYZ: pivot = {x, y, z}.
                if (pivotSize == 2 ? (p & z) != 0 || (all & ~z) != p : all != p) continue;
                const int digit = LowestDigit(z);
                CellSet removed = state.cellsWith[digit] & kHouses.peers[a] & kHouses.peers[b];
                if (pivotSize == 3) removed &= kHouses.peers[pivot];
                removed.Remove(pivot);
                if (!removed.Empty()) return WingStep(state, technique, pivot, a, b, digit, removed);
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> FindXYWing(const LogicState& state) { return FindWing(state, 2, Technique::XYWing); }
std::optional<Step> FindXYZWing(const LogicState& state) { return FindWing(state, 3, Technique::XYZWing); }

}  // namespace tessaro::logic

namespace tessaro::logic {
namespace {

// The bent sets of the WXYZ family: size - 1 cells of one house and one bivalue cell outside it
// (the pivot; the scale takes no wider one) hold size digits together. A digit all of whose holders see one another stands there at most once;
// if all but one digit z are like that, the set lacks a digit unless z stands in it, so z leaves
// every cell seeing all of the set's z. With no such z every digit stands there once.
struct BentSetSearch {
    static constexpr int kLargest = 7;
    explicit BentSetSearch(const LogicState& board) : state(board) {}
    const LogicState& state;
    std::array<int, kLargest> cells{};
    std::array<std::optional<Step>, kLargest + 1> found;  // by size
    std::array<int, kLargest + 1> foundZ{};               // the lowest digit the set found removes
    CellSet narrow{};  // the cells with two to seven candidates, the only ones that may join
    std::array<CellSet, 10> bivalueWith{};  // the only ones that may be the pivot, by digit
    std::array<int, 9> joining{};  // the narrow cells of the house searched, in its order
    int joiningCount = 0;

    // loose: the digits that may stand twice in the set (the pivot's digits in house cells it
    // does not see; the house cells see one another), at most one.
    void Try(int size, int house, int pivot, DigitMask digits, DigitMask loose) {
        CellSet set = CellSet::Of(pivot);
        for (int i = 0; i + 1 < size; ++i) set.Add(cells[i]);
        std::array<CellSet, 10> removed{};
        DigitMask removing = 0;
        for (DigitMask m = loose != 0 ? loose : digits; m != 0; m &= m - 1) {
            const int d = LowestDigit(m);
            removed[d] = state.cellsWith[d].Without(set);
            for (int cell : set & state.cellsWith[d]) removed[d] &= kHouses.peers[cell];
            if (!removed[d].Empty()) removing |= Bit(d);
        }
        if (removing == 0) return;
        int widest = 0;
        for (int cell : set) widest = std::max(widest, DigitCount(state.cand[cell]));
        std::optional<Step>& kept = found[size];
        const int difficulty = Info(kByTechnique[size - 4]).difficulty + Rise(size, widest);
        const int z = LowestDigit(removing);
        // The scale takes the least rated set, of those the one removing the lowest digit.
        if (kept && (difficulty > kept->difficulty || (difficulty == kept->difficulty && z >= foundZ[size]))) return;
        foundZ[size] = z;
        Step step = NewStep(kByTechnique[size - 4]);
        step.difficulty = difficulty;
        for (int d = 1; d <= 9; ++d) AddCandidates(step.eliminations, removed[d], d);
        for (int i = 0; i + 1 < size; ++i) step.cells.push_back(cells[i]);
        step.cells.push_back(pivot);
        if (house >= 0) step.houses = {house};
        for (int cell : step.cells) AddCandidates(step.pattern, cell, state.cand[cell]);
        std::string holding;
        for (int cell : set) holding += (holding.empty() ? "" : ", ") + Holds(state, cell);
        step.explanation = holding + " enthalten zusammen nur " + DigitList(digits) + ", " +
                           (loose != 0 ? "und nur die " + DigitNames(loose) +
                                             " kann darin zweimal stehen; also steht sie dort sicher einmal"
                                       : "jede höchstens einmal, also jede genau einmal") +
                           ". Felder, die alle ihre Plätze darin sehen, verlieren " + DigitList(removing) + ".";
        kept = std::move(step);
    }

    // The scale's tenths above the base by the most candidates a cell of the set holds.
    static int Rise(int size, int widest) {
        if (size == 4) return widest == 3 ? 1 : 0;
        if (size == 5) return widest == 5 ? 0 : widest == 3 ? 2 : 1;
        return 0;
    }

    // The sets of the used house cells and one pivot outside (house < 0: cells that see one another
    // across houses), whose digits number size: the pivot brings what the house cells lack.
    void Pivots(int house, int used, DigitMask digits, CellSet inHouse, CellSet seen) {
        const int size = used + 1;
        const int lacking = size - DigitCount(digits);
        CellSet inside{}, outside{};  // the bivalue cells with a digit among the set's, with one not
        for (int d = 1; d <= 9; ++d) ((digits & Bit(d)) != 0 ? inside : outside) |= bivalueWith[d];
        const CellSet fitting = lacking == 0 ? inside.Without(outside)
                                : lacking == 1 ? inside & outside
                                               : outside.Without(inside);
        for (int pivot : (seen & fitting).Without(house >= 0 ? kHouses.sets[house] : inHouse)) {
            const DigitMask all = static_cast<DigitMask>(digits | state.cand[pivot]);
            DigitMask unseen = 0;
            for (int cell : inHouse.Without(kHouses.peers[pivot])) unseen |= state.cand[cell];
            const DigitMask loose = state.cand[pivot] & unseen;
            if (DigitCount(loose) <= 1) Try(size, house, pivot, all, loose);
        }
    }

    // A bivalue pivot adds at most two digits: used house cells need used - 1 to used + 1.
    static bool PivotMayFit(int used, DigitMask digits) {
        const int count = DigitCount(digits);
        return used >= 3 && count <= used + 1 && count >= used - 1;
    }

    // Every size at once: the house cells of a smaller set are a step on the way to a larger one,
    // and each size meets its sets in the order a search of its own would.
    // next: the first of the joining cells still to try; inHouse: the cells chosen so far; seen:
    // the cells that see one of them.
    void Extend(int house, int next, int used, DigitMask digits, CellSet inHouse, CellSet seen) {
        if (PivotMayFit(used, digits)) Pivots(house, used, digits, inHouse, seen);
        if (used == kLargest - 1) return;
        // The house cells hold at most one digit more than their number, and digits never leave:
        // a cell is passed over if the set with it has too many digits even were every later cell
        // to join, and the search stops once the set's own digits are too many for that.
        const int count = DigitCount(digits);
        for (int i = next; i < joiningCount && i + (3 - used) <= joiningCount; ++i) {
            const int cellsAtMost = used + 1 + (joiningCount - i - 1);
            if (count > cellsAtMost + 1) break;
            const int cell = joining[i];
            const DigitMask with = static_cast<DigitMask>(digits | state.cand[cell]);
            if (DigitCount(with) > std::min(kLargest, cellsAtMost + 1)) continue;
            cells[used] = cell;
            CellSet withCell = inHouse;
            withCell.Add(cell);
            Extend(house, i + 1, used + 1, with, withCell, seen | kHouses.peers[cell]);
        }
    }

    void SearchHouse(int house) {
        joiningCount = 0;
        for (int cell : kHouses.cells[house]) {
            if (narrow.Has(cell)) joining[joiningCount++] = cell;
        }
        if (joiningCount >= 3) Extend(house, 0, 0, 0, {}, {});
    }

    // The scale also takes cells that all see one another without sharing a house (such as the
    // corners of a square around the centre) in place of the house cells. Without the diagonals
    // such cells would share a house, so each set holds two cells of one diagonal in different
    // boxes and at least one cell off it: the search grows from those pairs, cells off the
    // diagonal first, so that it never walks through sets inside one house (Extend met those).
    void SetsAcrossHouses() {
        for (int diagonal : {kMainDiagonal, kAntiDiagonal}) {
            const CellSet on = narrow & kHouses.sets[diagonal];
            for (int a : on) {
                for (int b : on) {
                    const DigitMask digits = state.cand[a] | state.cand[b];
                    if (b <= a || BoxOf(a) == BoxOf(b) || DigitCount(digits) > kLargest) continue;
                    cells[0] = a;
                    cells[1] = b;
                    CellSet pair = CellSet::Of(a);
                    pair.Add(b);
                    const CellSet common = narrow & kHouses.peers[a] & kHouses.peers[b];
                    ExtendAcross(2, -1, false, digits, pair, common.Without(kHouses.sets[diagonal]),
                                 common & kHouses.sets[diagonal], kHouses.peers[a] | kHouses.peers[b]);
                }
            }
        }
    }

    // off, on: the cells off and on the pair's diagonal that see every chosen one; last: the
    // highest cell added in the current part (onDiagonal: the cells on it, which come second).
    void ExtendAcross(int used, int last, bool onDiagonal, DigitMask digits, CellSet chosen, CellSet off, CellSet on,
                      CellSet seen) {
        if (PivotMayFit(used, digits)) Pivots(-1, used, digits, chosen, seen);
        if (used == kLargest - 1) return;
        auto add = [&](int cell, bool toDiagonal) {
            const DigitMask with = static_cast<DigitMask>(digits | state.cand[cell]);
            if (DigitCount(with) > kLargest) return;
            cells[used] = cell;
            CellSet withCell = chosen;
            withCell.Add(cell);
            ExtendAcross(used + 1, cell, toDiagonal, with, withCell, off & kHouses.peers[cell], on & kHouses.peers[cell],
                         seen | kHouses.peers[cell]);
        };
        if (!onDiagonal) {
            for (int cell : off) {
                if (cell > last) add(cell, false);
            }
        }
        if (used < 3) return;  // not before a cell off the diagonal
        for (int cell : on) {
            if (!onDiagonal || cell > last) add(cell, true);
        }
    }

    static constexpr Technique kByTechnique[] = {Technique::WXYZWing, Technique::VWXYZWing, Technique::UVWXYZWing,
                                                 Technique::TUVWXYZWing};
};

// The four rungs ask one after another about the same board: one search answers all of them.
std::optional<Step> FindBentSet(const LogicState& state, int size) {
    return ForSameCandidates(state, [&] {
        BentSetSearch search(state);
        for (int cell = 0; cell < kCellCount; ++cell) {
            const int count = DigitCount(state.cand[cell]);
            if (count >= 2 && count <= BentSetSearch::kLargest) search.narrow.Add(cell);
        }
        const CellSet bivalue = BivalueCells(state);
        for (int d = 1; d <= 9; ++d) search.bivalueWith[d] = bivalue & state.cellsWith[d];
        for (int house = 0; house < kHouseCount; ++house) search.SearchHouse(house);
        search.SetsAcrossHouses();
        return std::move(search.found);
    })[size];
}

}  // namespace

std::optional<Step> FindWXYZWing(const LogicState& state) { return FindBentSet(state, 4); }
std::optional<Step> FindVWXYZWing(const LogicState& state) { return FindBentSet(state, 5); }
std::optional<Step> FindUVWXYZWing(const LogicState& state) { return FindBentSet(state, 6); }
std::optional<Step> FindTUVWXYZWing(const LogicState& state) { return FindBentSet(state, 7); }

}  // namespace tessaro::logic
