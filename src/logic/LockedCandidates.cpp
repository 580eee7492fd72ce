#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

Step LockedStep(Technique technique, const LockedSet& set) {
    Step step = NewStep(technique);
    AddCells(step, set.places);
    step.houses = {set.from, set.to};
    AddCandidates(step.pattern, set.places, set.digit);
    AddCandidates(step.eliminations, set.removed, set.digit);
    step.explanation = "In " + HouseAfterPreposition(set.from) + " kann die " + Sym(set.digit) + " nur in " +
                       CellList(set.places, " oder ") + " stehen, alle in " + HouseAfterPreposition(set.to) +
                       "; also kann sie sonst nirgends in " + HouseAfterPreposition(set.to) + " stehen.";
    return step;
}

std::optional<Step> FindLocked(const LogicState& state, bool fromBox, Technique technique) {
    std::optional<Step> found;
    ForEachLockedSet(state, fromBox, [&](const LockedSet& set) {
        found = LockedStep(technique, set);
        return true;
    });
    return found;
}

// The scale knows direct pointing only from a box into a row or a column, leaving a single in a box.
std::optional<Step> FindDirectLocked(const LogicState& state, bool fromBox, Technique technique) {
    std::optional<Step> found;
    ForEachLockedSet(state, fromBox, [&](const LockedSet& set) {
        if (fromBox && set.to >= 18) return false;
        const std::optional<Single> single =
            SingleAfterRemoving(state, set.digit, set.removed, fromBox ? kBoxes : kEveryHouse);
        if (!single) return false;
        found = LockedStep(technique, set);
        MakeDirect(*found, set.digit, *single);
        return true;
    });
    return found;
}

}  // namespace

std::optional<Step> FindPointing(const LogicState& state) { return FindLocked(state, true, Technique::Pointing); }

std::optional<Step> FindClaiming(const LogicState& state) { return FindLocked(state, false, Technique::Claiming); }

std::optional<Step> FindDirectPointing(const LogicState& state) {
    return FindDirectLocked(state, true, Technique::DirectPointing);
}

std::optional<Step> FindDirectClaiming(const LogicState& state) {
    return FindDirectLocked(state, false, Technique::DirectClaiming);
}

std::optional<Step> FindGeneralizedLocked(const LogicState& state) {
    for (int house = 0; house < kHouseCount; ++house) {
        for (int d = 1; d <= 9; ++d) {
            const CellSet places = state.PlacesOf(house, d);
            if (places.Count() < 2) continue;
            CellSet seen = state.cellsWith[d].Without(kHouses.sets[house]);
            for (int cell : places) seen &= kHouses.peers[cell];
            if (seen.Empty()) continue;
            Step step = NewStep(Technique::GeneralizedLocked);
            AddCells(step, places);
            step.houses = {house};
            AddCandidates(step.pattern, places, d);
            AddCandidates(step.eliminations, seen, d);
            step.explanation = "In " + HouseAfterPreposition(house) + " kann die " + Sym(d) + " nur in " +
                               CellList(places, " oder ") + " stehen; jedes dieser Felder sieht " + CellList(seen) +
                               ", also kann die " + Sym(d) + " dort nicht stehen.";
            return step;
        }
    }
    return std::nullopt;
}

}  // namespace tessaro::logic
