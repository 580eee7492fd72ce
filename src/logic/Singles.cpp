#include "logic/Finders.h"

namespace tessaro::logic {
namespace {

Step Placement(Technique technique, int cell, int digit, std::string explanation) {
    Step step;
    step.technique = technique;
    step.difficulty = Info(technique).difficulty;
    step.cells = {cell};
    step.pattern = {{static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(digit)}};
    step.placements = step.pattern;
    step.explanation = std::move(explanation);
    return step;
}

// The first house of the kinds asked for where a digit has one place left.
std::optional<Step> HiddenSingleIn(const LogicState& state, int firstHouse, int lastHouse, Technique technique) {
    for (int h = firstHouse; h <= lastHouse; ++h) {
        for (int d = 1; d <= 9; ++d) {
            const CellSet places = state.PlacesOf(h, d);
            if (places.Count() != 1) continue;
            const int cell = places.First();
            Step step = Placement(technique, cell, d,
                                  "In " + HouseAfterPreposition(h) + " kann die " + Sym(d) + " nur in " +
                                      CellName(cell) + " stehen.");
            step.houses = {h};
            return step;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> FindFullHouse(const LogicState& state) {
    for (int h = 0; h < kHouseCount; ++h) {
        int empty = -1, count = 0;
        for (int cell : kHouses.cells[h]) {
            if (state.value[cell] == 0) {
                empty = cell;
                ++count;
            }
        }
        if (count != 1 || DigitCount(state.cand[empty]) != 1) continue;
        const int d = LowestDigit(state.cand[empty]);
        Step step = Placement(Technique::FullHouse, empty, d,
                              CellName(empty) + " ist das letzte freie Feld in " + HouseAfterPreposition(h) + ": " +
                                  Sym(d) + ".");
        step.houses = {h};
        return step;
    }
    return std::nullopt;
}

std::optional<Step> FindHiddenSingleBox(const LogicState& state) {
    return HiddenSingleIn(state, 18, 26, Technique::HiddenSingleBox);
}

std::optional<Step> FindHiddenSingleLine(const LogicState& state) {
    // Rows, columns, then both diagonals.
    if (auto step = HiddenSingleIn(state, 0, 17, Technique::HiddenSingleLine)) return step;
    return HiddenSingleIn(state, kMainDiagonal, kAntiDiagonal, Technique::HiddenSingleLine);
}

std::optional<Step> FindNakedSingle(const LogicState& state) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (state.value[cell] != 0 || DigitCount(state.cand[cell]) != 1) continue;
        const int d = LowestDigit(state.cand[cell]);
        return Placement(Technique::NakedSingle, cell, d, "In " + CellName(cell) + " passt nur noch die " + Sym(d) + ".");
    }
    return std::nullopt;
}

}  // namespace tessaro::logic
