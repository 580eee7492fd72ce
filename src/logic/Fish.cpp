#include "logic/FinderTools.h"

#include <algorithm>

namespace tessaro::logic {
namespace {

// n base lines whose places of the digit do not overlap hold n distinct copies of it; when n
// cover lines hold all those places, each cover holds exactly one of them (a copy on two covers
// would leave a cover empty), so the digit leaves the covers' other cells. Overlapping covers
// (a row and a diagonal, both diagonals) keep this true. A base never needs to be a cover: the
// other bases' places miss it, so the rest would be a smaller fish with the same effect.

struct CellLines {
    std::array<int, 4> lines{};
    int count = 0;
};
// Per cell: its lines (row, column, the diagonals through it).
constexpr std::array<CellLines, kCellCount> kCellLines = [] {
    std::array<CellLines, kCellCount> table{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (int k = 0; k < kHouses.houseCount[cell]; ++k) {
            const int house = kHouses.housesOf[cell][k];
            if (IsLine(house)) table[cell].lines[table[cell].count++] = house;
        }
    }
    return table;
}();

// Per cell: the cells sharing a line with it (not a box), itself included.
constexpr std::array<CellSet, kCellCount> kLineMates = [] {
    std::array<CellSet, kCellCount> mates{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (int k = 0; k < kCellLines[cell].count; ++k) mates[cell] |= kHouses.sets[kCellLines[cell].lines[k]];
    }
    return mates;
}();

// Cells of set no two of which share a line, picked greedily: each needs a cover of its own.
int Apart(CellSet set) {
    int count = 0;
    while (!set.Empty()) {
        set = set.Without(kLineMates[set.First()]);
        ++count;
    }
    return count;
}

// A candidate base line: its places, the cover lines they force (a place whose only other line
// is that one) and the places that leave a choice.
struct BaseLine {
    int line = 0;
    CellSet places;
    std::uint32_t forced = 0;  // bit per house
    CellSet forcedCells;       // the cells of the forced lines
    CellSet free;
};

struct FishSearch {
    const LogicState& state;
    int digit;
    int size;
    std::array<BaseLine, 20> lines{};  // lines with 2..size places, ascending
    int lineCount = 0;
    std::array<int, 4> bases{};
    std::array<int, 4> covers{};
    std::uint32_t baseHouses = 0;  // bit per house chosen as a base

    void AddLine(int line, CellSet places) {
        BaseLine& base = lines[lineCount++];
        base = BaseLine{};
        base.line = line;
        base.places = places;
        for (int cell : places) {
            if (kCellLines[cell].count > 2) {
                base.free.Add(cell);
                continue;
            }
            const int other = kCellLines[cell].lines[0] == line ? kCellLines[cell].lines[1] : kCellLines[cell].lines[0];
            base.forced |= 1u << other;
            base.forcedCells |= kHouses.sets[other];
        }
    }

    // Exactly size covers (covers[used..]) that hold every cell of left and remove something;
    // the removal goes to removed.
    bool Cover(CellSet left, int used, CellSet covered, CellSet places, CellSet& removed) {
        if (left.Empty()) {
            if (used < size) return false;  // fewer covers than copies: a broken state, no step
            removed = (covered & state.cellsWith[digit]).Without(places);
            return !removed.Empty();
        }
        if (used == size || Apart(left) > size - used) return false;
        const int cell = left.First();
        for (int k = 0; k < kCellLines[cell].count; ++k) {
            const int line = kCellLines[cell].lines[k];
            if (baseHouses >> line & 1u) continue;
            covers[used] = line;
            if (Cover(left.Without(kHouses.sets[line]), used + 1, covered | kHouses.sets[line], places, removed))
                return true;
        }
        return false;
    }

    // Bases chosen so far hold places; their forced covers are forced, the rest of their places free.
    bool Bases(int from, int used, CellSet places, std::uint32_t forced, CellSet forcedCells, CellSet free,
               CellSet& removed) {
        if (used == size) {
            int count = 0;
            for (std::uint32_t f = forced; f != 0; f &= f - 1) covers[count++] = std::countr_zero(f);
            return Cover(free.Without(forcedCells), count, forcedCells, places, removed);
        }
        for (int i = from; i < lineCount; ++i) {
            const BaseLine& base = lines[i];
            if (!(base.places & places).Empty()) continue;
            const std::uint32_t allForced = forced | base.forced;
            const CellSet allForcedCells = forcedCells | base.forcedCells;
            const CellSet allFree = free | base.free;
            if (BitCount(allForced) + Apart(allFree.Without(allForcedCells)) > size) continue;
            bases[used] = base.line;
            baseHouses |= 1u << base.line;
            if (Bases(i + 1, used + 1, places | base.places, allForced, allForcedCells, allFree, removed)) return true;
            baseHouses &= ~(1u << base.line);
        }
        return false;
    }
};

std::optional<Step> FindFish(const LogicState& state, int size, Technique technique) {
    for (int d = 1; d <= 9; ++d) {
        FishSearch search{state, d, size};
        for (int line : kLines) {
            const CellSet places = state.PlacesOf(line, d);
            const int count = places.Count();
            if (count >= 2 && count <= size) search.AddLine(line, places);
        }
        if (search.lineCount < size) continue;
        CellSet removed;
        if (!search.Bases(0, 0, CellSet{}, 0, CellSet{}, CellSet{}, removed)) continue;
        Step step = NewStep(technique);
        CellSet places{};
        for (int i = 0; i < size; ++i) places |= state.PlacesOf(search.bases[i], d);
        AddCells(step, places);
        std::vector<int> bases(search.bases.begin(), search.bases.begin() + size);
        std::vector<int> covers(search.covers.begin(), search.covers.begin() + size);
        std::sort(covers.begin(), covers.end());
        step.houses = bases;
        step.houses.insert(step.houses.end(), covers.begin(), covers.end());
        AddCandidates(step.pattern, places, d);
        AddCandidates(step.eliminations, removed, d);
        step.explanation = "In " + HouseList(bases) + " kann die " + Sym(d) + " nur in " + HouseList(covers) +
                           " stehen, also kann sie sonst nirgends in " + HouseList(covers) + " stehen.";
        return step;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> FindXWing(const LogicState& state) { return FindFish(state, 2, Technique::XWing); }
std::optional<Step> FindSwordfish(const LogicState& state) { return FindFish(state, 3, Technique::Swordfish); }
std::optional<Step> FindJellyfish(const LogicState& state) { return FindFish(state, 4, Technique::Jellyfish); }

}  // namespace tessaro::logic
