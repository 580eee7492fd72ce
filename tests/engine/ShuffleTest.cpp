#include <gtest/gtest.h>

#include <random>
#include <set>

#include "engine/Random.h"
#include "engine/Rules.h"
#include "engine/Shuffle.h"
#include "support/SudokuX.h"

namespace tessaro {
namespace {

using sx::Cells;

// board (x, y) = x and givens (x, y) = y make every move visible.
BoardModel Coordinates() {
    BoardModel model;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            model.cell(x, y) = static_cast<std::uint8_t>(x);
            model.given(x, y) = static_cast<std::uint8_t>(y);
        }
    }
    return model;
}

TEST(SwapRows, ExchangesTwoRowsOfBothGrids) {
    BoardModel model = Coordinates();
    model.cell(3, 2) = 7;
    SwapRows(model, 2, 8);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int from = y == 2 ? 8 : y == 8 ? 2 : y;
            EXPECT_EQ(model.given(x, y), from);
            EXPECT_EQ(model.cell(x, y), x == 3 && y == 8 ? 7 : x);
        }
    }
}

TEST(SwapColumns, ExchangesTwoColumnsOfBothGrids) {
    BoardModel model = Coordinates();
    model.given(4, 9) = 1;
    SwapColumns(model, 4, 6);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int from = x == 4 ? 6 : x == 6 ? 4 : x;
            EXPECT_EQ(model.cell(x, y), from);
            EXPECT_EQ(model.given(x, y), x == 6 && y == 9 ? 1 : y);
        }
    }
}

TEST(RotateBoard, TopRowBecomesLeftColumnReadBottomToTop) {
    BoardModel model;
    for (int x = 1; x <= 9; ++x) model.cell(x, 1) = static_cast<std::uint8_t>(x);
    model.given(1, 1) = 1;
    RotateBoard(model);
    for (int y = 1; y <= 9; ++y) EXPECT_EQ(model.cell(1, y), 10 - y) << "row " << y;
    EXPECT_EQ(model.given(1, 9), 1) << "the top left corner moves to the bottom left";
    EXPECT_EQ(model.given(1, 1), 0);
    for (int x = 2; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(model.cell(x, y), 0);
    }
}

TEST(RotateBoard, MovesEveryCellAQuarterTurnAndFourTurnsRestore) {
    BoardModel model = Coordinates();
    RotateBoard(model);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            // Old (x, y) lands on (y, 10 - x).
            EXPECT_EQ(model.cell(y, 10 - x), x);
            EXPECT_EQ(model.given(y, 10 - x), y);
        }
    }
    RotateBoard(model);
    RotateBoard(model);
    RotateBoard(model);
    const BoardModel original = Coordinates();
    EXPECT_EQ(model.board, original.board);
    EXPECT_EQ(model.givens, original.givens);
}

TEST(RelabelDigits, AppliesOnePermutationToBothGrids) {
    SeedRandom(5);
    std::mt19937 rng(5);
    const Cells full = sx::RandomFullGrid(rng);
    BoardModel model;
    sx::Load(model, sx::KeepRandom(full, 30, rng), full);
    const BoardModel before = model;

    RelabelDigits(model);

    std::array<int, 10> image{};
    image.fill(-1);
    image[0] = 0;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            for (auto [old, now] : {std::pair{before.cell(x, y), model.cell(x, y)},
                                    std::pair{before.given(x, y), model.given(x, y)}}) {
                if (image[old] < 0) image[old] = now;
                EXPECT_EQ(image[old], now) << "value " << int(old) << " mapped two ways";
            }
        }
    }
    EXPECT_EQ(std::set<int>(image.begin() + 1, image.end()), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(model.board[At(i, 0)], 0);
        EXPECT_EQ(model.board[At(0, i)], 0);
    }
}

TEST(ShuffleBoard, KeepsValidityGivensAndUniqueness) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        const Cells full = sx::RandomFullGrid(rng);
        const Cells puzzle = sx::UniquePuzzle(full, 26, rng);
        // The board holds the whole solution, the givens only the clues.
        BoardModel model;
        sx::Load(model, puzzle, full);
        SeedRandom(seed);

        ShuffleBoard(model);

        const Cells board = sx::BoardCells(model);
        const Cells givens = sx::GivenCells(model);
        EXPECT_TRUE(CheckBoard(model));
        EXPECT_EQ(sx::CountFilled(board), 81);
        EXPECT_EQ(sx::CountFilled(givens), sx::CountFilled(puzzle));
        for (int i = 0; i < 81; ++i) {
            if (givens[i] != 0) {
                EXPECT_EQ(board[i], givens[i]) << "a given lost its cell";
            }
        }
        Cells solution{};
        EXPECT_EQ(sx::CountSolutions(givens, 2, &solution), 1) << "seed " << seed;
        EXPECT_EQ(solution, board);
        EXPECT_EQ(model.board[0], 0);
        EXPECT_EQ(model.givens[0], 0);
    }
}

TEST(ShuffleBoard, PlayerEntriesStayPlayerEntries) {
    std::mt19937 rng(8);
    const Cells full = sx::RandomFullGrid(rng);
    const Cells puzzle = sx::KeepRandom(full, 25, rng);
    Cells entries{};
    for (int i = 0; i < 81; i += 3) entries[i] = puzzle[i] ? 0 : full[i];
    BoardModel model;
    sx::Load(model, puzzle, entries);
    const int entered = sx::CountFilled(sx::BoardCells(model)) - sx::CountFilled(puzzle);
    SeedRandom(8);
    ShuffleBoard(model);
    int givens = 0;
    int players = 0;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (model.given(x, y) != 0) {
                ++givens;
                EXPECT_EQ(model.cell(x, y), model.given(x, y));
            } else if (model.cell(x, y) != 0) {
                ++players;
            }
        }
    }
    EXPECT_EQ(givens, 25);
    EXPECT_EQ(players, entered);
    EXPECT_TRUE(CheckBoard(model));
}

TEST(ShuffleBoard, CentreStaysCentreAndEmptyStaysEmpty) {
    std::set<int> symbols;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        BoardModel model;
        model.cell(5, 5) = 4;
        model.given(5, 5) = 4;
        SeedRandom(seed);
        ShuffleBoard(model);
        for (int x = 1; x <= 9; ++x) {
            for (int y = 1; y <= 9; ++y) {
                if (x == 5 && y == 5) continue;
                ASSERT_EQ(model.cell(x, y), 0);
                ASSERT_EQ(model.given(x, y), 0);
            }
        }
        ASSERT_NE(model.cell(5, 5), 0);
        EXPECT_EQ(model.given(5, 5), model.cell(5, 5));
        symbols.insert(model.cell(5, 5));

        BoardModel empty;
        ShuffleBoard(empty);
        EXPECT_EQ(empty.board, Grid{});
        EXPECT_EQ(empty.givens, Grid{});
    }
    EXPECT_GT(symbols.size(), 3u) << "the relabelling should change the symbol";
}

TEST(ShuffleBoard, SameSeedSameResultOtherSeedOtherResult) {
    std::mt19937 rng(9);
    const Cells full = sx::RandomFullGrid(rng);
    BoardModel first;
    sx::Load(first, sx::KeepRandom(full, 30, rng));
    BoardModel second = first;
    BoardModel third = first;

    SeedRandom(77);
    ShuffleBoard(first);
    SeedRandom(77);
    ShuffleBoard(second);
    SeedRandom(78);
    ShuffleBoard(third);

    EXPECT_EQ(first.board, second.board);
    EXPECT_EQ(first.givens, second.givens);
    EXPECT_NE(first.board, third.board);
}

TEST(ShuffleBoard, DrawsTheSameNumbersWhateverTheBoardHolds) {
    // A puzzle's disguise must depend on the seed only, so the draws after a shuffle line up.
    std::mt19937 rng(10);
    BoardModel full;
    sx::Load(full, sx::RandomFullGrid(rng));
    BoardModel empty;
    SeedRandom(123);
    ShuffleBoard(full);
    const int afterFull = RandomBelow(1 << 30);
    SeedRandom(123);
    ShuffleBoard(empty);
    EXPECT_EQ(RandomBelow(1 << 30), afterFull);
}

}  // namespace
}  // namespace tessaro
