#pragma once

#include <array>
#include <functional>

#include "engine/Board.h"

namespace tessaro {

// An exact Sudoku X solver: a bitmask per house, depth-first search that always branches on the empty cell with the fewest admissible digits.
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
