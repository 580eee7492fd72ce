#include "logic/FinderTools.h"

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
