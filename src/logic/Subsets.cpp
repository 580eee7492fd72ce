#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

// The houses that hold every cell of cells.
std::vector<int> CommonHouses(CellSet cells) {
    std::vector<int> houses;
    for (int house = 0; house < kHouseCount; ++house) {
        if (cells.Without(kHouses.sets[house]).Empty()) houses.push_back(house);
    }
    return houses;
}

// The cells of one house that may join a naked subset (2..size candidates).
struct HouseCells {
    std::array<int, 9> cell{};
    int count = 0;
};

// The naked subset's step, if cells (size of them, in one house, holding size digits together)
// remove something: each digit stands in one of them, so no cell that sees them all holds it,
// beyond the house too where a diagonal joins them.
std::optional<Step> NakedStep(const LogicState& state, int size, CellSet cells, DigitMask digits) {
    CellSet others = kHouses.peers[cells.First()];
    for (int cell : cells) others &= kHouses.peers[cell];
    CellSet hit{};
    for (int d = 1; d <= 9; ++d) {
        if (digits & Bit(d)) hit |= others & state.cellsWith[d];
    }
    if (hit.Empty()) return std::nullopt;
    static constexpr Technique kBySize[] = {Technique::NakedPair, Technique::NakedTriple, Technique::NakedQuad};
    Step step = NewStep(kBySize[size - 2]);
    for (int cell : hit) AddCandidates(step.eliminations, cell, state.cand[cell] & digits);
    AddCells(step, cells);
    step.houses = CommonHouses(cells);
    for (int cell : cells) AddCandidates(step.pattern, cell, state.cand[cell]);
    CellSet houses{};
    for (int house : step.houses) houses |= kHouses.sets[house];
    const std::string where = hit.Without(houses).Empty() ? "sonst nirgends in " + HouseList(step.houses) + " stehen"
                                                          : "in keinem anderen Feld stehen, das sie alle sieht";
    step.explanation =
        CellList(cells) + " enthalten zusammen nur " + DigitList(digits) + ", also können diese " + where + ".";
    return step;
}

// Naked subsets of one house: cells (from index next on; chosen so far) whose candidates together
// number size; found receives the first one with something to remove.
bool ExtendNaked(const LogicState& state, const HouseCells& from, int size, int next, int chosen, CellSet cells,
                 DigitMask digits, std::optional<Step>& found) {
    if (chosen == size) {
        if (DigitCount(digits) == size) found = NakedStep(state, size, cells, digits);
        return found.has_value();
    }
    // Stops where too few cells are left to fill the subset.
    for (int i = next; i + size - chosen <= from.count; ++i) {
        const int cell = from.cell[i];
        const DigitMask together = static_cast<DigitMask>(digits | state.cand[cell]);
        if (DigitCount(together) > size) continue;
        CellSet more = cells;
        more.Add(cell);
        if (ExtendNaked(state, from, size, i + 1, chosen + 1, more, together, found)) return true;
    }
    return false;
}

// Only subsets of one house: the scale passes by cells that see one another only through
// several houses (a diagonal among them). Five or more cells never come first: the house's other
// cells then form a hidden subset of at most four, which removes the same, and no cell outside
// a house sees five of its cells.
std::optional<Step> FindNaked(const LogicState& state, int size) {
    std::optional<Step> found;
    for (int i = 0; i < kHouseCount; ++i) {
        const int house = BoxesFirst(i);
        HouseCells cells;
        int open = 0;
        for (int cell : kHouses.cells[house]) {
            const int count = DigitCount(state.cand[cell]);
            open += count > 0;
            if (count >= 2 && count <= size) cells.cell[cells.count++] = cell;
        }
        // Only a house with more open cells than size has candidates outside the subset.
        if (open <= size || cells.count < size) continue;
        if (ExtendNaked(state, cells, size, 0, 0, CellSet{}, 0, found)) break;
    }
    return found;
}

std::optional<Step> FindHidden(const LogicState& state, int size, Technique technique) {
    std::optional<Step> found;
    ForEachHiddenSubset(state, size, [&](const HiddenSubset& subset) {
        found = HiddenSubsetStep(state, technique, subset);
        return true;
    });
    return found;
}

// A hidden subset whose eliminations leave a hidden single of one of the removed digits.
std::optional<Step> FindDirectHidden(const LogicState& state, int size, Technique technique) {
    std::optional<Step> found;
    ForEachHiddenSubset(state, size, [&](const HiddenSubset& subset) {
        for (int d = 1; d <= 9; ++d) {
            if (subset.digits & Bit(d)) continue;
            const CellSet removed = subset.cells & state.cellsWith[d];
            if (removed.Empty()) continue;
            const std::optional<Single> single = SingleAfterRemoving(state, d, removed, HouseBit(subset.house));
            if (!single) continue;
            found = HiddenSubsetStep(state, technique, subset);
            MakeDirect(*found, d, *single);
            return true;
        }
        return false;
    });
    return found;
}

}  // namespace

std::optional<Step> FindNakedPair(const LogicState& state) { return FindNaked(state, 2); }
std::optional<Step> FindNakedTriple(const LogicState& state) { return FindNaked(state, 3); }
std::optional<Step> FindNakedQuad(const LogicState& state) { return FindNaked(state, 4); }

std::optional<Step> FindHiddenPair(const LogicState& state) { return FindHidden(state, 2, Technique::HiddenPair); }
std::optional<Step> FindHiddenTriple(const LogicState& state) {
    return FindHidden(state, 3, Technique::HiddenTriple);
}
std::optional<Step> FindHiddenQuad(const LogicState& state) { return FindHidden(state, 4, Technique::HiddenQuad); }

std::optional<Step> FindDirectHiddenPair(const LogicState& state) {
    return FindDirectHidden(state, 2, Technique::DirectHiddenPair);
}
std::optional<Step> FindDirectHiddenTriple(const LogicState& state) {
    return FindDirectHidden(state, 3, Technique::DirectHiddenTriple);
}

}  // namespace tessaro::logic
