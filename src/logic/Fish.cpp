#include "logic/FinderTools.h"

#include <algorithm>

namespace tessaro::logic {
namespace {

// n base lines whose places of the digit do not overlap hold n distinct copies of it; when n
// cover lines hold all those places, each cover holds exactly one of them (a copy on two covers
// would leave a cover empty), so the digit leaves the covers' other cells. Overlapping covers
// (a row and a diagonal, both diagonals) keep this true.
struct FishSearch {
    const LogicState& state;
    int digit;
    int size;
    std::array<int, 20> lines{};  // lines with 2..size places, ascending
    int lineCount = 0;
    std::array<int, 4> bases{};
    std::array<int, 4> covers{};

    // Whether at most size covers (covers[used..]) can hold every cell of left; with `effect`,
    // only exactly size covers that remove something count (the removal goes to removed).
    bool Cover(CellSet left, int used, CellSet covered, CellSet places, bool effect, CellSet& removed) {
        if (left.Empty()) {
            if (!effect) return true;
            if (used < size) return false;  // fewer covers than copies: a broken state, no step
            removed = (covered & state.cellsWith[digit]).Without(places);
            return !removed.Empty();
        }
        if (used == size) return false;
        const int cell = left.First();
        for (int k = 0; k < kHouses.houseCount[cell]; ++k) {
            const int line = kHouses.housesOf[cell][k];
            if (!IsLine(line)) continue;
            covers[used] = line;
            if (Cover(left.Without(kHouses.sets[line]), used + 1, covered | kHouses.sets[line], places, effect,
                      removed))
                return true;
        }
        return false;
    }

    bool Bases(int from, int used, CellSet places, CellSet& removed) {
        if (used == size) return Cover(places, 0, CellSet{}, places, true, removed);
        for (int i = from; i < lineCount; ++i) {
            const CellSet own = state.PlacesOf(lines[i], digit);
            if (!(own & places).Empty()) continue;
            const CellSet together = places | own;
            CellSet unused;
            if (used + 1 < size && !Cover(together, 0, CellSet{}, together, false, unused)) continue;
            bases[used] = lines[i];
            if (Bases(i + 1, used + 1, together, removed)) return true;
        }
        return false;
    }
};

std::optional<Step> FindFish(const LogicState& state, int size, Technique technique) {
    for (int d = 1; d <= 9; ++d) {
        FishSearch search{state, d, size};
        for (int line : kLines) {
            const int count = state.PlacesOf(line, d).Count();
            if (count >= 2 && count <= size) search.lines[search.lineCount++] = line;
        }
        if (search.lineCount < size) continue;
        CellSet removed;
        if (!search.Bases(0, 0, CellSet{}, removed)) continue;
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
                           " stehen, also fällt sie in den übrigen Feldern von " + HouseList(covers) + " weg.";
        return step;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> FindXWing(const LogicState& state) { return FindFish(state, 2, Technique::XWing); }
std::optional<Step> FindSwordfish(const LogicState& state) { return FindFish(state, 3, Technique::Swordfish); }
std::optional<Step> FindJellyfish(const LogicState& state) { return FindFish(state, 4, Technique::Jellyfish); }

}  // namespace tessaro::logic
