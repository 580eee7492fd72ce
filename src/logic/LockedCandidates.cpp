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

}  // namespace

// The scale knows direct pointing only from a box into a row or a column, leaving a single in a box.
std::optional<Step> FindDirectPointing(const LogicState& state) {
    std::optional<Step> found;
    ForEachLockedSet(state, true, [&](const LockedSet& set) {
        if (set.to >= 18) return false;
        const std::optional<Single> single = SingleAfterRemoving(state, set.digit, set.removed, kBoxes);
        if (!single) return false;
        found = LockedStep(Technique::DirectPointing, set);
        MakeDirect(*found, set.digit, *single);
        return true;
    });
    return found;
}

namespace {

// The scale finds every locked set as one technique, houses with the boxes first: every place of
// a digit in a house sees some other cell of it. The first one found is a pointing (box into a
// row or column), a claiming (row or column into a box) or a generalized one; each rung takes it
// when it is of its shape, so the path takes the scale's first one whatever its shape.
struct ScaleLockedSet {
    int house;
    int digit;
    CellSet places;
    CellSet seen;
    Technique shape;
};

std::optional<ScaleLockedSet> FirstScaleLocked(const LogicState& state) {
    for (int i = 0; i < kHouseCount; ++i) {
        const int house = BoxesFirst(i);
        for (int d = 1; d <= 9; ++d) {
            const CellSet places = state.PlacesOf(house, d);
            if (!places.Several()) continue;
            CellSet seen = state.cellsWith[d].Without(kHouses.sets[house]);
            for (int cell : places) {
                seen &= kHouses.peers[cell];
                if (seen.Empty()) break;
            }
            if (seen.Empty()) continue;
            const int first = places.First();
            auto within = [&](int other) { return places.Without(kHouses.sets[other]).Empty(); };
            const bool box = KindOf(house) == HouseKind::Box;
            const Technique shape = box && (within(RowOf(first)) || within(9 + ColumnOf(first))) ? Technique::Pointing
                                    : !box && house < 18 && within(18 + BoxOf(first))            ? Technique::Claiming
                                                                                                 : Technique::GeneralizedLocked;
            return ScaleLockedSet{house, d, places, seen, shape};
        }
    }
    return std::nullopt;
}

std::optional<Step> ScaleLocked(const LogicState& state, Technique shape) {
    // The three rungs sit side by side on the ladder and so scan the same candidates.
    const std::optional<ScaleLockedSet>& found = ForSameCandidates(state, [&] { return FirstScaleLocked(state); });
    if (!found || found->shape != shape) return std::nullopt;
    const auto& [house, d, places, seen, _] = *found;
    Step step = NewStep(shape);
    AddCells(step, places);
    step.houses = {house};
    AddCandidates(step.pattern, places, d);
    AddCandidates(step.eliminations, seen, d);
    step.explanation = "In " + HouseAfterPreposition(house) + " kann die " + Sym(d) + " nur in " +
                       CellList(places, " oder ") + " stehen; jedes dieser Felder sieht " + CellList(seen) +
                       ", also kann die " + Sym(d) + " dort nicht stehen.";
    return step;
}

}  // namespace

std::optional<Step> FindPointing(const LogicState& state) { return ScaleLocked(state, Technique::Pointing); }
std::optional<Step> FindClaiming(const LogicState& state) { return ScaleLocked(state, Technique::Claiming); }
std::optional<Step> FindGeneralizedLocked(const LogicState& state) {
    return ScaleLocked(state, Technique::GeneralizedLocked);
}

}  // namespace tessaro::logic
