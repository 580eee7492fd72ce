#include "puzzles/SudokuXSolver.h"

#include <array>
#include <bit>
#include <cstdint>

#include "engine/Houses.h"
#include "engine/Random.h"

namespace tessaro {
namespace {

using geometry::kHouseCells;

constexpr std::uint16_t kAllDigits = 0x3FE;  // bits 1..9


class Search {
public:
    Search(int limit, const std::function<int(int)>* randomBelow) : limit_(limit), randomBelow_(randomBelow) {}

    // False when the clues contradict each other or hold an impossible value.
    bool Load(const Grid& clues) {
        for (int cell = 0; cell < geometry::kCellCount; ++cell) {
            const int d = clues[geometry::GridIndex(cell)];
            if (d == 0) continue;
            if (d > 9 || (Used(cell) & Bit(d))) return false;
            Set(cell, d);
        }
        return true;
    }

    void Run() {
        // The empty cell with the fewest admissible digits, the first one in reading order on a tie.
        int bestCell = -1;
        int bestCount = 10;
        std::uint16_t bestFree = 0;
        for (int cell = 0; cell < geometry::kCellCount; ++cell) {
            if (cells_[cell] != 0) continue;
            const std::uint16_t free = static_cast<std::uint16_t>(~Used(cell) & kAllDigits);
            free_[cell] = free;
            const int count = std::popcount(free);
            if (count == 0) return;  // dead end
            if (count < bestCount) {
                bestCount = count;
                bestFree = free;
                bestCell = cell;
                if (count == 1) break;
            }
        }
        if (bestCell < 0) {
            if (++found_ == 1) first_ = cells_;
            return;
        }
        if (bestCount > 1 && !randomBelow_) {
            // A digit with no place left in some unit is a dead end, one with a single place is
            // forced there, and one with two places beats a cell with three digits or more. Counting
            // searches need this on sparse puzzles, which would otherwise branch on cells long after
            // a contradiction is certain.
            int pairUnit = -1;
            std::uint16_t pairDigit = 0;
            for (int u = 0; u < geometry::kHouseCount; ++u) {
                std::uint16_t once = 0;
                std::uint16_t twice = 0;
                std::uint16_t thrice = 0;
                std::uint16_t placed = 0;
                for (int cell : kHouseCells.cells[u]) {
                    if (cells_[cell] != 0) {
                        placed |= Bit(cells_[cell]);
                        continue;
                    }
                    thrice |= twice & free_[cell];
                    twice |= once & free_[cell];
                    once |= free_[cell];
                }
                if ((once | placed) != kAllDigits) return;
                if (const std::uint16_t single = once & ~twice) {
                    BranchOnDigit(u, LowestBit(single), bestCell, bestFree);
                    bestCount = 1;
                    break;
                }
                if (const std::uint16_t pair = twice & ~thrice; pair != 0 && pairUnit < 0) {
                    pairUnit = u;
                    pairDigit = LowestBit(pair);
                }
            }
            if (bestCount > 2 && pairUnit >= 0) {
                // Both places of the digit, one branch each; collected first, as the deeper
                // searches overwrite free_.
                std::array<int, 2> places{};
                int n = 0;
                for (int cell : kHouseCells.cells[pairUnit]) {
                    if (cells_[cell] == 0 && (free_[cell] & pairDigit)) places[n++] = cell;
                }
                const int d = std::countr_zero(pairDigit);
                for (int i = 0; i < 2 && found_ < limit_; ++i) {
                    Set(places[i], d);
                    Run();
                    Unset(places[i], d);
                }
                return;
            }
        }
        std::array<int, 9> order{};
        int n = 0;
        for (int d = 1; d <= 9; ++d) {
            if (bestFree & Bit(d)) order[n++] = d;
        }
        if (randomBelow_) {
            for (int i = n - 1; i > 0; --i) std::swap(order[i], order[(*randomBelow_)(i + 1)]);
        }
        for (int i = 0; i < n && found_ < limit_; ++i) {
            Set(bestCell, order[i]);
            Run();
            Unset(bestCell, order[i]);
        }
    }

    int Found() const { return found_; }
    Grid First() const {
        Grid grid{};
        for (int cell = 0; cell < geometry::kCellCount; ++cell) grid[geometry::GridIndex(cell)] = first_[cell];
        return grid;
    }

private:
    static std::uint16_t Bit(int d) { return static_cast<std::uint16_t>(1u << d); }

    static std::uint16_t LowestBit(std::uint16_t bits) { return static_cast<std::uint16_t>(bits & -bits); }

    // The one cell of unit u where digit (a single bit) may still go.
    void BranchOnDigit(int u, std::uint16_t digit, int& cell, std::uint16_t& free) const {
        for (int c : kHouseCells.cells[u]) {
            if (cells_[c] == 0 && (free_[c] & digit)) cell = c;
        }
        free = digit;
    }

    std::uint16_t Used(int cell) const { return static_cast<std::uint16_t>(geometry::UsedAt(used_, cell)); }
    void Set(int cell, int d) {
        cells_[cell] = static_cast<std::uint8_t>(d);
        geometry::ToggleAt(used_, cell, d);
    }
    void Unset(int cell, int d) {
        cells_[cell] = 0;
        geometry::ToggleAt(used_, cell, d);
    }

    int limit_;
    const std::function<int(int)>* randomBelow_;
    int found_ = 0;
    std::array<std::uint8_t, geometry::kCellCount> cells_{};
    std::array<std::uint8_t, geometry::kCellCount> first_{};
    std::array<std::uint16_t, geometry::kCellCount> free_{};
    geometry::HouseMasks used_{};
};

}  // namespace

int SudokuXSolver::CountSolutions(const Grid& clues, int limit, Grid* firstSolution) {
    if (limit < 1) return 0;
    Search search(limit, nullptr);
    if (!search.Load(clues)) return 0;
    search.Run();
    if (firstSolution && search.Found() > 0) *firstSolution = search.First();
    return search.Found();
}

Grid SudokuXSolver::RandomFullGrid() { return RandomFullGrid(RandomBelow); }

Grid SudokuXSolver::RandomFullGrid(const std::function<int(int)>& randomBelow) {
    Search search(1, &randomBelow);
    search.Load(Grid{});
    search.Run();
    return search.First();
}

int CountGivens(const Grid& grid) {
    int count = 0;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            const int d = grid[At(x, y)];
            if (d >= 1 && d <= 9) ++count;
        }
    }
    return count;
}

}  // namespace tessaro
