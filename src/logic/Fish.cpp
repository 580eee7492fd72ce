#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

// Per row and per column, the 9-bit index mask of the digit's places across it. Built once per
// digit: the search asks for these masks at every node, the fish finders at almost every step.
struct PlaceMasks {
    std::array<std::uint32_t, 9> inRow{};     // bit c: the digit may stand in column c
    std::array<std::uint32_t, 9> inColumn{};  // bit r: the digit may stand in row r
};

PlaceMasks MasksOf(CellSet places) {
    PlaceMasks masks;
    for (int cell : places) {
        masks.inRow[RowOf(cell)] |= 1u << ColumnOf(cell);
        masks.inColumn[ColumnOf(cell)] |= 1u << RowOf(cell);
    }
    return masks;
}

// n rows whose places of the digit lie in n columns hold n copies of it, one in each of those
// columns, so the digit leaves the columns' other cells (and the same with rows and columns
// swapped). The scale counts only rows and columns here; with a diagonal it is a strong-link
// pattern.
struct FishSearch {
    const LogicState& state;
    int digit;
    int size;
    bool rowBases;
    const std::array<std::uint32_t, 9>& baseSpots;   // per base line: the cover lines it reaches
    const std::array<std::uint32_t, 9>& coverSpots;  // per cover line: the base lines it reaches
    std::array<int, 9> usable{};                     // base lines with 2..size places, ascending
    int usableCount = 0;
    std::array<int, 9> bases{};  // size entries used; 9 keeps the bounds obvious to the compiler

    std::optional<Step> Run() {
        for (int i = 0; i < 9; ++i) {
            const int count = DigitCount(static_cast<DigitMask>(baseSpots[i]));
            if (count >= 2 && count <= size) usable[usableCount++] = i;
        }
        return Search(0, 0, 0, 0);
    }

    std::optional<Step> Search(int from, int used, std::uint32_t spots, std::uint32_t baseMask) {
        if (used == size) {
            if (DigitCount(static_cast<DigitMask>(spots)) != size || !Eliminates(spots, baseMask)) return std::nullopt;
            return FishStep(spots);
        }
        for (int k = from; k + size - used <= usableCount; ++k) {
            const int i = usable[k];
            const std::uint32_t together = spots | baseSpots[i];
            if (DigitCount(static_cast<DigitMask>(together)) > size) continue;
            bases[used] = rowBases ? i : 9 + i;
            if (std::optional<Step> step = Search(k + 1, used + 1, together, baseMask | 1u << i)) return step;
        }
        return std::nullopt;
    }

    // A cover line with a place outside the base lines: the fish removes something.
    bool Eliminates(std::uint32_t spots, std::uint32_t baseMask) const {
        for (int c = 0; c < 9; ++c) {
            if ((spots >> c & 1u) != 0 && (coverSpots[c] & ~baseMask) != 0) return true;
        }
        return false;
    }

    Step FishStep(std::uint32_t spots) const {
        CellSet places{}, covered{};
        std::vector<int> baseList(bases.begin(), bases.begin() + size), covers;
        for (int base : baseList) places |= state.PlacesOf(base, digit);
        for (int i = 0; i < 9; ++i) {
            if ((spots >> i & 1u) == 0) continue;
            covers.push_back(rowBases ? 9 + i : i);
            covered |= kHouses.sets[covers.back()];
        }
        const CellSet removed = (covered & state.cellsWith[digit]).Without(places);
        static constexpr Technique kBySize[] = {Technique::XWing, Technique::Swordfish, Technique::Jellyfish};
        Step step = NewStep(kBySize[size - 2]);
        AddCells(step, places);
        step.houses = baseList;
        step.houses.insert(step.houses.end(), covers.begin(), covers.end());
        AddCandidates(step.pattern, places, digit);
        AddCandidates(step.eliminations, removed, digit);
        step.explanation = "In " + HouseList(baseList) + " kann die " + Sym(digit) + " nur in " + HouseList(covers) +
                           " stehen, also kann sie sonst nirgends in " + HouseList(covers) + " stehen.";
        return step;
    }
};

std::optional<Step> FindFish(const LogicState& state, int size) {
    for (int d = 1; d <= 9; ++d) {
        const PlaceMasks masks = MasksOf(state.cellsWith[d]);
        for (bool rows : {true, false}) {
            FishSearch search{state, d, size, rows, rows ? masks.inRow : masks.inColumn,
                              rows ? masks.inColumn : masks.inRow};
            if (std::optional<Step> step = search.Run()) return step;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> FindXWing(const LogicState& state) { return FindFish(state, 2); }
std::optional<Step> FindSwordfish(const LogicState& state) { return FindFish(state, 3); }
std::optional<Step> FindJellyfish(const LogicState& state) { return FindFish(state, 4); }

}  // namespace tessaro::logic
