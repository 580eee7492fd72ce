#pragma once

// Sudoku X helpers for tests and benchmarks, independent of the engine: cell-list views of the
// puzzles library's exact solver and random full grids, puzzles cut from them, and a plain singles
// solver used to classify puzzles without asking the engine.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "engine/Board.h"
#include "puzzles/SudokuXSolver.h"

namespace tessaro::sx {

// Cell (x, y), both 1..9, at (x - 1) + 9 * (y - 1); 0 = empty.
using Cells = std::array<int, 81>;

constexpr int Index(int x, int y) { return (x - 1) + 9 * (y - 1); }
constexpr int XOf(int i) { return i % 9 + 1; }
constexpr int YOf(int i) { return i / 9 + 1; }

// The units a cell belongs to, as indices 0..28: columns 0..8, rows 9..17, boxes 18..26,
// main diagonal 27, anti-diagonal 28.
inline std::vector<int> UnitsOf(int i) {
    const int x = XOf(i);
    const int y = YOf(i);
    std::vector<int> units{x - 1, 9 + y - 1, 18 + (x - 1) / 3 + 3 * ((y - 1) / 3)};
    if (x == y) units.push_back(27);
    if (x + y == 10) units.push_back(28);
    return units;
}

inline const std::array<std::array<int, 9>, 29>& UnitCells() {
    static const auto units = [] {
        std::array<std::array<int, 9>, 29> u{};
        std::array<int, 29> filled{};
        for (int i = 0; i < 81; ++i) {
            for (int unit : UnitsOf(i)) u[unit][filled[unit]++] = i;
        }
        return u;
    }();
    return units;
}

// The other cells that share a unit with cell i.
inline const std::array<std::vector<int>, 81>& Peers() {
    static const auto peers = [] {
        std::array<std::vector<int>, 81> p{};
        for (int i = 0; i < 81; ++i) {
            std::array<bool, 81> mark{};
            for (int unit : UnitsOf(i)) {
                for (int j : UnitCells()[unit]) mark[j] = j != i;
            }
            for (int j = 0; j < 81; ++j) {
                if (mark[j]) p[i].push_back(j);
            }
        }
        return p;
    }();
    return peers;
}

// Bit d set when d already stands in one of the cell's units (the cell itself excluded).
inline unsigned UsedAround(const Cells& cells, int i) {
    unsigned used = 0;
    for (int j : Peers()[i]) used |= 1u << cells[j];
    return used;
}

inline bool HasConflict(const Cells& cells) {
    for (const auto& unit : UnitCells()) {
        unsigned seen = 0;
        for (int j : unit) {
            if (cells[j] == 0) continue;
            if (seen & (1u << cells[j])) return true;
            seen |= 1u << cells[j];
        }
    }
    return false;
}

// Digits 1..9 that could stand in empty cell i without a repeat, as bits 1..9.
inline unsigned CandidateMask(const Cells& cells, int i) { return ~UsedAround(cells, i) & 0x3FEu; }

inline Grid ToGrid(const Cells& cells);
inline Cells GridCells(const Grid& grid);

// Number of completions of cells, counted up to limit by the puzzles library's exact solver (which
// shares no code with the engine's); the first one found goes to *solution.
inline int CountSolutions(const Cells& cells, int limit = 2, Cells* solution = nullptr) {
    Grid first{};
    const int found = SudokuXSolver::CountSolutions(ToGrid(cells), limit, &first);
    if (solution && found > 0) *solution = GridCells(first);
    return found;
}

inline Cells RandomFullGrid(std::mt19937& rng) {
    return GridCells(SudokuXSolver::RandomFullGrid(
        [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }));
}

inline int CountFilled(const Cells& cells) {
    return static_cast<int>(std::count_if(cells.begin(), cells.end(), [](int v) { return v != 0; }));
}

// Keeps `keep` randomly chosen cells of full, empties the others.
inline Cells KeepRandom(const Cells& full, int keep, std::mt19937& rng) {
    std::array<int, 81> order{};
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    Cells cells{};
    for (int k = 0; k < keep; ++k) cells[order[k]] = full[order[k]];
    return cells;
}

// Naked singles and hidden singles until nothing changes; true when the grid fills. Hidden singles
// are looked for in rows, columns and boxes, and on the diagonals only when asked.
inline bool SolveBySingles(Cells& cells, bool diagonalHidden = true) {
    if (HasConflict(cells)) return false;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int i = 0; i < 81; ++i) {
            if (cells[i] != 0) continue;
            const unsigned mask = CandidateMask(cells, i);
            if (std::popcount(mask) == 1) {
                cells[i] = std::countr_zero(mask);
                changed = true;
            }
        }
        for (int u = 0; u < (diagonalHidden ? 29 : 27); ++u) {
            const auto& unit = UnitCells()[u];
            for (int d = 1; d <= 9; ++d) {
                int count = 0;
                int where = -1;
                bool present = false;
                for (int j : unit) {
                    if (cells[j] == d) present = true;
                    if (cells[j] == 0 && (CandidateMask(cells, j) & (1u << d))) {
                        ++count;
                        where = j;
                    }
                }
                if (!present && count == 1) {
                    cells[where] = d;
                    changed = true;
                }
            }
        }
    }
    return CountFilled(cells) == 81 && !HasConflict(cells);
}

// Empties cells of full in random order as long as `stillGood` accepts the puzzle without the
// cell, until only `target` givens remain or no further cell can go.
template <class Accept>
Cells CarvePuzzle(const Cells& full, int target, std::mt19937& rng, Accept stillGood) {
    std::array<int, 81> order{};
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    Cells puzzle = full;
    for (int i : order) {
        if (CountFilled(puzzle) <= target) break;
        const int keep = puzzle[i];
        puzzle[i] = 0;
        if (!stillGood(puzzle)) puzzle[i] = keep;
    }
    return puzzle;
}

// A puzzle that singles (hidden ones without the diagonals) still finish.
inline Cells SinglesPuzzle(const Cells& full, int target, std::mt19937& rng) {
    return CarvePuzzle(full, target, rng, [](Cells trial) { return SolveBySingles(trial, false); });
}

// A puzzle whose solution stays unique.
inline Cells UniquePuzzle(const Cells& full, int target, std::mt19937& rng) {
    return CarvePuzzle(full, target, rng, [](const Cells& puzzle) { return CountSolutions(puzzle, 2) == 1; });
}

// Writes givens into both grids and the extra player entries into the board only.
inline void Load(BoardModel& model, const Cells& givens, const Cells& entries = Cells{}) {
    model.board.fill(0);
    model.givens.fill(0);
    model.clearCandidates();
    for (int i = 0; i < 81; ++i) {
        const auto g = static_cast<std::uint8_t>(givens[i]);
        model.givens[At(XOf(i), YOf(i))] = g;
        model.board[At(XOf(i), YOf(i))] = g != 0 ? g : static_cast<std::uint8_t>(entries[i]);
    }
}

inline Cells GridCells(const Grid& grid) {
    Cells cells{};
    for (int i = 0; i < 81; ++i) cells[i] = grid[At(XOf(i), YOf(i))];
    return cells;
}

inline Grid ToGrid(const Cells& cells) {
    Grid grid{};
    for (int i = 0; i < 81; ++i) grid[At(XOf(i), YOf(i))] = static_cast<std::uint8_t>(cells[i]);
    return grid;
}

inline Cells BoardCells(const BoardModel& model) { return GridCells(model.board); }

inline Cells GivenCells(const BoardModel& model) { return GridCells(model.givens); }

}  // namespace tessaro::sx
