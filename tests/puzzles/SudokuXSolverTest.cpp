#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "puzzles/SudokuXSolver.h"
#include "engine/Random.h"
#include "engine/Rules.h"

namespace tessaro {
namespace {

// A full grid the game's own rule test accepts.
Grid ValidFullGrid(std::uint64_t seed) {
    SeedRandom(seed);
    return SudokuXSolver::RandomFullGrid();
}

bool IsSolvedSudokuX(const Grid& grid) {
    BoardModel model;
    model.board = grid;
    return CountGivens(grid) == 81 && CheckBoard(model);
}

// Tries every digit in every blank cell in turn, going on only while the rule test accepts the
// board: no choice of cell or digit, nothing forced.
int BruteForceCount(Grid grid, const std::vector<int>& blanks, std::size_t next = 0) {
    BoardModel model;
    model.board = grid;
    if (!CheckBoard(model)) return 0;
    if (next == blanks.size()) return 1;
    int count = 0;
    for (int d = 1; d <= 9; ++d) {
        grid[blanks[next]] = static_cast<std::uint8_t>(d);
        count += BruteForceCount(grid, blanks, next + 1);
    }
    return count;
}

TEST(SudokuXSolver, RandomFullGridsAreValidAndRepeatableBySeed) {
    const Grid a = ValidFullGrid(1);
    EXPECT_TRUE(IsSolvedSudokuX(a));
    EXPECT_EQ(a[At(0, 0)], 0);
    EXPECT_EQ(a[At(0, 5)], 0);
    EXPECT_EQ(a[At(5, 0)], 0);
    EXPECT_EQ(ValidFullGrid(1), a);
    const Grid b = ValidFullGrid(2);
    EXPECT_TRUE(IsSolvedSudokuX(b));
    EXPECT_NE(a, b);
}

TEST(SudokuXSolver, FullOrNearlyFullGridHasExactlyItsOwnSolution) {
    const Grid full = ValidFullGrid(3);
    Grid solution{};
    EXPECT_EQ(SudokuXSolver::CountSolutions(full, 2, &solution), 1);
    EXPECT_EQ(solution, full);

    Grid holes = full;
    for (int x = 1; x <= 9; ++x) holes[At(x, 5)] = 0;  // a whole row, diagonal cells included
    holes[At(1, 1)] = holes[At(9, 9)] = holes[At(1, 9)] = 0;
    solution = Grid{};
    EXPECT_EQ(SudokuXSolver::CountSolutions(holes, 2, &solution), 1);
    EXPECT_EQ(solution, full);
    EXPECT_TRUE(SudokuXSolver::HasUniqueSolution(holes));
}

TEST(SudokuXSolver, CountsSeveralSolutionsUpToTheLimit) {
    EXPECT_EQ(SudokuXSolver::CountSolutions(Grid{}, 2), 2);
    EXPECT_EQ(SudokuXSolver::CountSolutions(Grid{}, 1), 1);
    EXPECT_EQ(SudokuXSolver::CountSolutions(Grid{}, 50), 50);
    EXPECT_FALSE(SudokuXSolver::HasUniqueSolution(Grid{}));

    // Without the cells of 1 and 2, exchanging those two digits gives a second solution.
    const Grid full = ValidFullGrid(4);
    Grid open = full;
    for (std::uint8_t& value : open) {
        if (value == 1 || value == 2) value = 0;
    }
    Grid first{};
    EXPECT_EQ(SudokuXSolver::CountSolutions(open, 2, &first), 2);
    EXPECT_TRUE(IsSolvedSudokuX(first));
    EXPECT_FALSE(SudokuXSolver::HasUniqueSolution(open));
}

TEST(SudokuXSolver, AgreesWithBruteForce) {
    const Grid full = ValidFullGrid(5);
    SeedRandom(55);
    for (int round = 0; round < 8; ++round) {
        Grid puzzle = full;
        std::vector<int> blanks;
        while (blanks.size() < 5) {
            const int cell = At(1 + RandomBelow(9), 1 + RandomBelow(9));
            if (puzzle[cell] == 0) continue;
            puzzle[cell] = 0;
            blanks.push_back(cell);
        }
        // A wrong clue elsewhere in half the rounds: then no filling works.
        if (round % 2 == 1) {
            for (int cell = At(1, 1);; ++cell) {
                if (puzzle[cell] != 0 && cell % 10 != 0) {
                    puzzle[cell] = static_cast<std::uint8_t>(puzzle[cell] % 9 + 1);
                    break;
                }
            }
        }
        EXPECT_EQ(SudokuXSolver::CountSolutions(puzzle, 1000), BruteForceCount(puzzle, blanks))
            << "round " << round;
    }

    // Whole digits taken out leave many solutions, so every kind of branch is counted through.
    int most = 0;
    for (int seed = 0; seed < 6; ++seed) {
        Grid puzzle = ValidFullGrid(60 + seed);
        std::vector<int> blanks;
        for (int cell = 0; cell < 100; ++cell) {
            if (puzzle[cell] >= 1 && puzzle[cell] <= 3 + seed % 2) {
                puzzle[cell] = 0;
                blanks.push_back(cell);
            }
        }
        const int count = BruteForceCount(puzzle, blanks);
        EXPECT_EQ(SudokuXSolver::CountSolutions(puzzle, 1 << 20), count) << "seed " << seed;
        most = std::max(most, count);
    }
    EXPECT_GT(most, 2);
}

TEST(SudokuXSolver, DiagonalConflictsHaveNoSolution) {
    // Each pair shares no row, column or box: only the diagonal rule forbids it.
    Grid main{};
    main[At(1, 1)] = 5;
    main[At(9, 9)] = 5;
    EXPECT_EQ(SudokuXSolver::CountSolutions(main, 2), 0);

    Grid anti{};
    anti[At(1, 9)] = 7;
    anti[At(5, 5)] = 7;
    EXPECT_EQ(SudokuXSolver::CountSolutions(anti, 2), 0);

    Grid offDiagonal{};  // the same digits off the diagonals are fine
    offDiagonal[At(1, 2)] = 5;
    offDiagonal[At(9, 8)] = 5;
    EXPECT_EQ(SudokuXSolver::CountSolutions(offDiagonal, 2), 2);
}

TEST(SudokuXSolver, ContradictionsWithoutADirectConflictHaveNoSolution) {
    // Row 1 holds 1..8, so (9, 1) must be 9, but column 9 already has a 9.
    Grid blocked{};
    for (int x = 1; x <= 8; ++x) blocked[At(x, 1)] = static_cast<std::uint8_t>(x);
    blocked[At(9, 5)] = 9;
    EXPECT_EQ(SudokuXSolver::CountSolutions(blocked, 2), 0);

    // The main diagonal misses only 9, which is already in row 5 elsewhere: (5, 5) has no digit.
    Grid diagonal{};
    for (int i = 1; i <= 9; ++i) {
        if (i != 5) diagonal[At(i, i)] = static_cast<std::uint8_t>(i < 5 ? i : i - 1);
    }
    diagonal[At(8, 5)] = 9;
    EXPECT_EQ(SudokuXSolver::CountSolutions(diagonal, 2), 0);
}

TEST(SudokuXSolver, RejectsValuesAboveNine) {
    Grid puzzle = ValidFullGrid(6);
    puzzle[At(4, 4)] = 10;
    EXPECT_EQ(SudokuXSolver::CountSolutions(puzzle, 2), 0);
}

TEST(SudokuXSolver, CountGivensIgnoresIndexZeroAndEmptyCells) {
    Grid grid{};
    grid[At(0, 3)] = 4;
    grid[At(3, 0)] = 4;
    grid[At(2, 2)] = 9;
    grid[At(9, 9)] = 1;
    EXPECT_EQ(CountGivens(grid), 2);
    EXPECT_EQ(CountGivens(ValidFullGrid(7)), 81);
}

}  // namespace
}  // namespace tessaro
