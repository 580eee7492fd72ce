#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

template <class Name>
std::string JoinList(const std::vector<int>& items, std::string_view lastJoin, Name name) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? std::string(lastJoin) : std::string(", ");
        out += name(items[i]);
    }
    return out;
}

}  // namespace

Step NewStep(Technique technique) {
    Step step;
    step.technique = technique;
    step.difficulty = Info(technique).difficulty;
    return step;
}

std::string CellList(CellSet cells, std::string_view lastJoin) {
    std::vector<int> items;
    for (int cell : cells) items.push_back(cell);
    return JoinList(items, lastJoin, [](int cell) { return CellName(cell); });
}

std::string DigitNames(DigitMask digits) {
    std::vector<int> items;
    for (int d = 1; d <= 9; ++d) {
        if (digits & Bit(d)) items.push_back(d);
    }
    return JoinList(items, " und ", [](int d) { return Sym(d); });
}

std::string HouseList(const std::vector<int>& houses) {
    return JoinList(houses, " und ", [](int house) { return HouseAfterPreposition(house); });
}

void AddCandidates(std::vector<Candidate>& to, CellSet cells, int digit) {
    for (int cell : cells) to.push_back({static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(digit)});
}

void AddCandidates(std::vector<Candidate>& to, int cell, DigitMask digits) {
    for (int d = 1; d <= 9; ++d) {
        if (digits & Bit(d)) to.push_back({static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(d)});
    }
}

void AddCells(Step& step, CellSet cells) {
    for (int cell : cells) step.cells.push_back(cell);
}

std::optional<Single> SingleAfterRemoving(const LogicState& state, int digit, CellSet removed, HouseMask within) {
    // Boxes first, then the other houses ascending: only the houses of within are visited.
    for (HouseMask left : {within & kBoxes, within & kEveryHouse & ~kBoxes}) {
        for (; left != 0; left &= left - 1) {
            const int house = std::countr_zero(left);
            const CellSet places = state.PlacesOf(house, digit);
            if ((places & removed).Empty()) continue;
            const CellSet rest = places.Without(removed);
            if (rest.Count() == 1) return Single{house, rest.First()};
        }
    }
    return std::nullopt;
}

void MakeDirect(Step& step, int digit, Single single) {
    step.supportingEliminations = std::move(step.eliminations);
    step.eliminations.clear();
    step.placements = {{static_cast<std::uint8_t>(single.cell), static_cast<std::uint8_t>(digit)}};
    step.houses.push_back(single.house);
    step.explanation.pop_back();  // the full stop
    step.explanation += "; danach bleibt für die " + Sym(digit) + " in " + HouseAfterPreposition(single.house) +
                        " nur " + CellName(single.cell) + ".";
}

Step HiddenSubsetStep(const LogicState& state, Technique technique, const HiddenSubset& subset) {
    Step step = NewStep(technique);
    AddCells(step, subset.cells);
    step.houses = {subset.house};
    for (int cell : subset.cells) {
        AddCandidates(step.pattern, cell, state.cand[cell] & subset.digits);
        AddCandidates(step.eliminations, cell, state.cand[cell] & ~subset.digits);
    }
    step.explanation = "In " + HouseAfterPreposition(subset.house) + " können " + DigitList(subset.digits) +
                       " nur in " + CellList(subset.cells) + " stehen, also fallen dort die anderen Kandidaten weg.";
    return step;
}

}  // namespace tessaro::logic
