#include "puzzles/SudokuXSolver.h"

#include <array>
#include <bit>
#include <cstdint>

#include "engine/Random.h"

namespace tessaro {
namespace {

constexpr std::uint16_t kAllDigits = 0x3FE;  // bits 1..9

class Search {
public:
    Search(int limit, const std::function<int(int)>* randomBelow) : limit_(limit), randomBelow_(randomBelow) {}

    // False when the clues contradict each other or hold an impossible value.
    bool Load(const Grid& clues) {
        for (int y = 1; y <= 9; ++y) {
            for (int x = 1; x <= 9; ++x) {
                const int d = clues[At(x, y)];
                if (d == 0) continue;
                if (d > 9 || (Used(x, y) & Bit(d))) return false;
                Set(x, y, d);
            }
        }
        return true;
    }

    void Run() {
        int bestX = 0;
        int bestY = 0;
        int bestCount = 10;
        std::uint16_t bestFree = 0;
        for (int y = 1; y <= 9 && bestCount > 1; ++y) {
            for (int x = 1; x <= 9; ++x) {
                if (cells_[At(x, y)] != 0) continue;
                const std::uint16_t free = static_cast<std::uint16_t>(~Used(x, y) & kAllDigits);
                const int count = std::popcount(free);
                if (count == 0) return;  // dead end
                if (count < bestCount) {
                    bestCount = count;
                    bestFree = free;
                    bestX = x;
                    bestY = y;
                    if (count == 1) break;
                }
            }
        }
        if (bestX == 0) {
            if (++found_ == 1) first_ = cells_;
            return;
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
            Set(bestX, bestY, order[i]);
            Run();
            Unset(bestX, bestY, order[i]);
        }
    }

    int Found() const { return found_; }
    const Grid& First() const { return first_; }

private:
    static std::uint16_t Bit(int d) { return static_cast<std::uint16_t>(1u << d); }
    static int Box(int x, int y) { return (x - 1) / 3 + 3 * ((y - 1) / 3); }

    std::uint16_t Used(int x, int y) const {
        std::uint16_t used = rows_[y] | columns_[x] | boxes_[Box(x, y)];
        if (x == y) used |= mainDiagonal_;
        if (x + y == 10) used |= antiDiagonal_;
        return used;
    }
    void Toggle(int x, int y, int d) {
        const std::uint16_t bit = Bit(d);
        rows_[y] ^= bit;
        columns_[x] ^= bit;
        boxes_[Box(x, y)] ^= bit;
        if (x == y) mainDiagonal_ ^= bit;
        if (x + y == 10) antiDiagonal_ ^= bit;
    }
    void Set(int x, int y, int d) {
        cells_[At(x, y)] = static_cast<std::uint8_t>(d);
        Toggle(x, y, d);
    }
    void Unset(int x, int y, int d) {
        cells_[At(x, y)] = 0;
        Toggle(x, y, d);
    }

    int limit_;
    const std::function<int(int)>* randomBelow_;
    int found_ = 0;
    Grid cells_{};
    Grid first_{};
    std::array<std::uint16_t, 10> rows_{};
    std::array<std::uint16_t, 10> columns_{};
    std::array<std::uint16_t, 9> boxes_{};
    std::uint16_t mainDiagonal_ = 0;
    std::uint16_t antiDiagonal_ = 0;
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
