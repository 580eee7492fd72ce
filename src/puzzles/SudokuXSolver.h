#pragma once

#include <array>
#include <functional>

#include "engine/Board.h"

namespace tessaro {

// The 29 units of Sudoku X as cell indices At(x, y): columns x = 1..9, rows y = 1..9, the boxes
// in reading order, the main diagonal (i, i) and the anti-diagonal (i, 10 - i), each i = 1..9.
inline constexpr std::array<std::array<int, 9>, 29> kSudokuXUnits = [] {
    std::array<std::array<int, 9>, 29> units{};
    for (int k = 0; k < 9; ++k) {
        for (int i = 0; i < 9; ++i) {
            units[k][i] = At(k + 1, i + 1);
            units[9 + k][i] = At(i + 1, k + 1);
            units[18 + k][i] = At(1 + 3 * (k % 3) + i % 3, 1 + 3 * (k / 3) + i / 3);
        }
        units[27][k] = At(k + 1, k + 1);
        units[28][k] = At(k + 1, 9 - k);
    }
    return units;
}();

// An exact Sudoku X solver: bitmasks per row, column, box and both main diagonals, depth-first
// search that always branches on the empty cell with the fewest admissible digits.
// Puzzles use the board layout of the game (cell (x, y) at At(x, y), 0 = empty).
class SudokuXSolver {
public:
    // Counts the solutions of the clues, stopping at limit. Clues that already break a rule, or
    // hold a value above 9, have no solution. When firstSolution is given and at least one
    // solution exists, it receives the first one found (index 0 entries 0).
    static int CountSolutions(const Grid& clues, int limit = 2, Grid* firstSolution = nullptr);
    static bool HasUniqueSolution(const Grid& clues) { return CountSolutions(clues, 2) == 1; }

    // A random complete Sudoku X grid: the empty board solved with the digits of every branch
    // tried in an order drawn from RandomBelow, so SeedRandom makes it repeatable.
    static Grid RandomFullGrid();
    // The same with another source of numbers 0..n-1.
    static Grid RandomFullGrid(const std::function<int(int)>& randomBelow);
};

// Number of clues (cells 1..9 x 1..9 holding 1..9).
int CountGivens(const Grid& grid);

}  // namespace tessaro
