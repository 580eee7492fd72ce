#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

// n rows whose places of the digit lie in n columns hold n copies of it, one in each of those
// columns, so the digit leaves the columns' other cells (and the same with rows and columns
// swapped). The scale counts only rows and columns here; with a diagonal it is a strong-link
// pattern.
struct FishSearch {
    const LogicState& state;
    int digit;
    int size;
    bool rowBases;
    std::array<int, 4> bases{};

    // Column (or row) index mask of the digit's places in line.
    std::uint32_t Spots(int line) const {
        std::uint32_t spots = 0;
        for (int cell : state.PlacesOf(line, digit)) spots |= 1u << (rowBases ? ColumnOf(cell) : RowOf(cell));
        return spots;
    }

    std::optional<Step> Search(int from, int used, std::uint32_t spots) {
        if (used == size) {
            if (BitCount(spots) != size) return std::nullopt;
            return FishStep(spots);
        }
        for (int i = from; i < 9; ++i) {
            const std::uint32_t mine = Spots(rowBases ? i : 9 + i);
            const int count = BitCount(mine);
            if (count < 2 || count > size || BitCount(spots | mine) > size) continue;
            bases[used] = rowBases ? i : 9 + i;
            if (std::optional<Step> step = Search(i + 1, used + 1, spots | mine)) return step;
        }
        return std::nullopt;
    }

    std::optional<Step> FishStep(std::uint32_t spots) const {
        CellSet places{}, covered{};
        std::vector<int> baseList(bases.begin(), bases.begin() + size), covers;
        for (int base : baseList) places |= state.PlacesOf(base, digit);
        for (int i = 0; i < 9; ++i) {
            if ((spots >> i & 1u) == 0) continue;
            covers.push_back(rowBases ? 9 + i : i);
            covered |= kHouses.sets[covers.back()];
        }
        const CellSet removed = (covered & state.cellsWith[digit]).Without(places);
        if (removed.Empty()) return std::nullopt;
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
        for (bool rows : {true, false}) {
            FishSearch search{state, d, size, rows};
            if (std::optional<Step> step = search.Search(0, 0, 0)) return step;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> FindXWing(const LogicState& state) { return FindFish(state, 2); }
std::optional<Step> FindSwordfish(const LogicState& state) { return FindFish(state, 3); }
std::optional<Step> FindJellyfish(const LogicState& state) { return FindFish(state, 4); }

}  // namespace tessaro::logic
