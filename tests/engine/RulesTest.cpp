#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "Recording.h"
#include "engine/Rules.h"
#include "support/SudokuX.h"

namespace tessaro {
namespace {

using sx::Cells;

Cells FullGrid(unsigned seed) {
    std::mt19937 rng(seed);
    return sx::RandomFullGrid(rng);
}

// Two cells that share only the given unit, so a repeat there breaks nothing else.
std::pair<int, int> PairOnlyIn(int unit) {
    const auto& cells = sx::UnitCells()[unit];
    for (int a : cells) {
        for (int b : cells) {
            if (a >= b) continue;
            int shared = 0;
            for (int u : sx::UnitsOf(a)) {
                for (int v : sx::UnitsOf(b)) shared += u == v;
            }
            if (shared == 1) return {a, b};
        }
    }
    ADD_FAILURE() << "no pair for unit " << unit;
    return {0, 0};
}

TEST(CheckBoard, EmptyBoardAndValidGridsPass) {
    BoardModel model;
    EXPECT_TRUE(CheckBoard(model));
    for (unsigned seed = 1; seed <= 5; ++seed) {
        sx::Load(model, FullGrid(seed));
        EXPECT_TRUE(CheckBoard(model));
    }
}

TEST(CheckBoard, ARepeatInAnySingleUnitFails) {
    // Columns 0..8, rows 9..17, boxes 18..26, main diagonal 27, anti-diagonal 28.
    for (int unit = 0; unit < 29; ++unit) {
        const auto [a, b] = PairOnlyIn(unit);
        BoardModel model;
        model.cell(sx::XOf(a), sx::YOf(a)) = 7;
        model.cell(sx::XOf(b), sx::YOf(b)) = 7;
        EXPECT_FALSE(CheckBoard(model)) << "unit " << unit;
        model.cell(sx::XOf(b), sx::YOf(b)) = 6;
        EXPECT_TRUE(CheckBoard(model)) << "unit " << unit;
    }
}

TEST(CheckBoard, RepeatOnlyOnADiagonalFails) {
    BoardModel model;
    model.cell(1, 1) = 4;
    model.cell(9, 9) = 4;
    EXPECT_FALSE(CheckBoard(model));
    model.cell(9, 9) = 0;
    model.cell(9, 8) = 4;  // a different row, column, box and diagonal: fine
    EXPECT_TRUE(CheckBoard(model));

    BoardModel anti;
    anti.cell(1, 9) = 4;
    anti.cell(9, 1) = 4;
    EXPECT_FALSE(CheckBoard(anti));
}

TEST(CheckBox, JudgesOnlyItsOwnBox) {
    BoardModel model;
    model.cell(4, 4) = 2;
    model.cell(6, 5) = 2;
    EXPECT_FALSE(CheckBox(model, 4, 4));
    EXPECT_TRUE(CheckBox(model, 1, 1));
    EXPECT_TRUE(CheckBox(model, 7, 4));
}

TEST(NoDeadEnd, EmptyAndFullBoards) {
    Rig rig;
    EXPECT_TRUE(rig.engine.NoDeadEnd());

    Cells wrong = FullGrid(3);
    wrong[0] = wrong[1];  // a full board with a conflict
    rig.Load(wrong);
    EXPECT_FALSE(CheckBoard(rig.model));
    EXPECT_TRUE(rig.engine.NoDeadEnd());
}

TEST(NoDeadEnd, AnyConflictWithOneEmptyCellIsADeadEnd) {
    Rig rig;
    Cells cells = FullGrid(4);
    cells[sx::Index(9, 9)] = 0;
    rig.Load(cells);
    EXPECT_TRUE(rig.engine.NoDeadEnd());

    // The conflict is far from the empty cell.
    rig.model.cell(1, 1) = rig.model.cell(2, 1);
    rig.engine.ModelReplaced();
    EXPECT_FALSE(rig.engine.NoDeadEnd());
    EXPECT_EQ(rig.model.cell(9, 9), 0);
}

TEST(NoDeadEnd, ACellWithoutAdmissibleDigitWithoutConflict) {
    Rig rig;
    for (int x = 1; x <= 8; ++x) rig.model.cell(x, 1) = static_cast<std::uint8_t>(x);
    rig.model.cell(9, 5) = 9;
    rig.engine.ModelReplaced();
    ASSERT_TRUE(CheckBoard(rig.model));
    const Grid before = rig.model.board;
    EXPECT_FALSE(rig.engine.NoDeadEnd());
    EXPECT_EQ(rig.model.board, before);
    rig.engine.EnterSymbol(9, 5, 0);
    EXPECT_TRUE(rig.engine.NoDeadEnd());
}

TEST(Admissible, FollowsEveryEntry) {
    Rig rig;
    EXPECT_TRUE(rig.engine.Admissible(5, 5, 3));
    rig.engine.EnterSymbol(5, 9, 3);  // same column
    EXPECT_FALSE(rig.engine.Admissible(5, 5, 3));
    rig.engine.EnterSymbol(5, 9, 0);
    EXPECT_TRUE(rig.engine.Admissible(5, 5, 3));
    rig.engine.EnterSymbol(1, 2, 8);
    rig.engine.EnterSymbol(2, 2, 8);  // a conflict elsewhere: nothing fits anywhere
    for (int d = 1; d <= 9; ++d) EXPECT_FALSE(rig.engine.Admissible(5, 5, d));
}

TEST(ComputeCandidates, WithDisplayOnRecomputesAndEndsTheTimedGame) {
    Rig rig;
    std::mt19937 rng(11);
    const Cells puzzle = sx::KeepRandom(FullGrid(11), 35, rng);
    rig.Load(puzzle);
    rig.settings.showCandidates = true;
    rig.settings.timedGame = true;
    // Stale marks, also on a filled cell, must not survive.
    for (int i = 0; i < 81; ++i) rig.model.mark(sx::XOf(i), sx::YOf(i), 9) = true;

    rig.engine.ComputeCandidates();

    EXPECT_FALSE(rig.settings.timedGame);
    EXPECT_EQ(rig.recorder.events,
              (std::vector<Event>{{Event::TimedEnded}, {Event::Candidates}}));
    for (int i = 0; i < 81; ++i) {
        const unsigned expected = puzzle[i] == 0 ? sx::CandidateMask(puzzle, i) : 0u;
        for (int d = 1; d <= 9; ++d) {
            EXPECT_EQ(rig.model.mark(sx::XOf(i), sx::YOf(i), d), (expected >> d & 1u) != 0)
                << "cell " << sx::XOf(i) << "," << sx::YOf(i) << " digit " << d;
        }
    }
}

TEST(ComputeCandidates, EmptyBoardMarksEveryDigitEverywhere) {
    Rig rig;
    rig.settings.showCandidates = true;
    rig.engine.ComputeCandidates();
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            for (int d = 1; d <= 9; ++d) EXPECT_TRUE(rig.model.mark(x, y, d));
        }
    }
}

TEST(ComputeCandidates, WithDisplayOffKeepsOwnMarksAndTheTimedGame) {
    Rig rig;
    rig.model.cell(3, 3) = 5;
    rig.model.mark(1, 1, 5) = true;  // a player's note that the rules would not give
    rig.model.mark(2, 7, 1) = true;
    const CandidateGrid before = rig.model.candidates;
    rig.settings.timedGame = true;

    rig.engine.ComputeCandidates();

    EXPECT_EQ(rig.model.candidates, before);
    EXPECT_TRUE(rig.settings.timedGame);
    EXPECT_EQ(rig.recorder.events, std::vector<Event>{{Event::Candidates}});
}

TEST(ComputeCandidates, AConflictLeavesNoMarkAnywhere) {
    Rig rig;
    rig.settings.showCandidates = true;
    rig.model.cell(2, 2) = 6;
    rig.model.cell(8, 8) = 6;  // main diagonal
    rig.model.mark(5, 5, 1) = true;
    rig.engine.ModelReplaced();
    rig.engine.ComputeCandidates();
    for (bool mark : rig.model.candidates) ASSERT_FALSE(mark);
}

// The status verdict and the counts behind it.
class StatusCheck : public testing::Test {
protected:
    void Judge(const Cells& cells) {
        rig.Load(cells);
        rig.recorder.events.clear();
        rig.engine.UpdateDigitCounts();
        ASSERT_EQ(rig.recorder.events.size(), 1u);
        beep = rig.recorder.events[0].value == 1;
    }
    Rig rig;
    bool beep = false;
};

TEST_F(StatusCheck, EmptyBoardHasNoErrorsAndIsNotSolved) {
    rig.settings.status = Status::Solved;
    rig.settings.complete = true;
    Judge(Cells{});
    EXPECT_EQ(rig.settings.status, Status::NoErrors);
    EXPECT_FALSE(beep);
    EXPECT_FALSE(rig.settings.complete);
    EXPECT_EQ(rig.model.digitCount[0], 81);
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(rig.model.digitCount[d], 0);
}

TEST_F(StatusCheck, FullValidBoardIsSolved) {
    Judge(FullGrid(21));
    EXPECT_EQ(rig.settings.status, Status::Solved);
    EXPECT_FALSE(beep);
    EXPECT_TRUE(rig.settings.complete);
    EXPECT_TRUE(rig.engine.StatusSolved());
    EXPECT_EQ(rig.model.digitCount[0], 0);
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(rig.model.digitCount[d], 9);
}

TEST_F(StatusCheck, TwoSwappedCellsAreCompleteButWrong) {
    Cells cells = FullGrid(22);
    std::swap(cells[sx::Index(1, 1)], cells[sx::Index(2, 1)]);
    Judge(cells);
    EXPECT_EQ(rig.settings.status, Status::Wrong);
    EXPECT_TRUE(beep);
    EXPECT_TRUE(rig.settings.complete);
    EXPECT_FALSE(rig.engine.StatusSolved());
}

TEST_F(StatusCheck, OneSymbolTenTimesIsNeitherCompleteNorSolved) {
    Cells cells = FullGrid(23);
    const int other = cells[sx::Index(5, 5)] == 1 ? 2 : 1;
    cells[sx::Index(5, 5)] = other;
    Judge(cells);
    EXPECT_EQ(rig.model.digitCount[other], 10);
    EXPECT_FALSE(rig.settings.complete);
    EXPECT_EQ(rig.settings.status, Status::Wrong);
    EXPECT_TRUE(beep);
}

TEST_F(StatusCheck, CorrectButIncompleteBoardIsNeverSolved) {
    Cells cells = FullGrid(24);
    cells[sx::Index(7, 3)] = 0;
    Judge(cells);
    EXPECT_EQ(rig.settings.status, Status::NoErrors);
    EXPECT_FALSE(rig.settings.complete);
    EXPECT_EQ(rig.model.digitCount[0], 1);
}

TEST_F(StatusCheck, PartialBoardWithConflictBeeps) {
    Cells cells{};
    cells[sx::Index(1, 9)] = 3;
    cells[sx::Index(9, 1)] = 3;
    Judge(cells);
    EXPECT_EQ(rig.settings.status, Status::Wrong);
    EXPECT_TRUE(beep);
    EXPECT_EQ(rig.model.digitCount[3], 2);
    EXPECT_EQ(rig.model.digitCount[0], 79);
}

TEST(Restart, EmptiesExactlyThePlayersCells) {
    Rig rig;
    std::mt19937 rng(31);
    const Cells full = FullGrid(31);
    const Cells puzzle = sx::KeepRandom(full, 30, rng);
    rig.Load(puzzle);
    rig.settings.difficulty = 2;
    rig.settings.timedGame = true;
    rig.model.mark(1, 1, 1) = true;

    rig.engine.Restart();  // a fresh puzzle: only the marks go
    EXPECT_EQ(sx::BoardCells(rig.model), puzzle);
    EXPECT_FALSE(rig.model.mark(1, 1, 1));

    Cells entries{};
    for (int i = 0; i < 81; i += 4) entries[i] = puzzle[i] ? 0 : (full[i] % 9) + 1;  // right or wrong alike
    rig.Load(puzzle, entries);
    rig.engine.Restart();
    EXPECT_EQ(sx::BoardCells(rig.model), puzzle);
    EXPECT_EQ(sx::GivenCells(rig.model), puzzle);
    EXPECT_EQ(rig.settings.difficulty, 2);
    EXPECT_TRUE(rig.settings.timedGame);
    EXPECT_TRUE(rig.recorder.events.empty()) << "Restart draws nothing";
}

TEST(ClearBoard, EmptiesEverythingAndRedraws) {
    Rig rig;
    rig.Load(FullGrid(41));
    rig.model.board[0] = 5;  // index-0 entries go too
    rig.model.givens[At(0, 3)] = 2;
    rig.model.mark(4, 4, 4) = true;
    rig.settings.difficulty = 1;

    rig.engine.ClearBoard();

    EXPECT_EQ(rig.model.board, Grid{});
    EXPECT_EQ(rig.model.givens, Grid{});
    EXPECT_EQ(rig.model.candidates, CandidateGrid{});
    EXPECT_EQ(rig.settings.status, Status::NoErrors);
    EXPECT_EQ(rig.settings.difficulty, 1);
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(rig.model.digitCount[d], 0);
    EXPECT_EQ(rig.recorder.events,
              (std::vector<Event>{{Event::AllCells}, {Event::Statistics}, {Event::Candidates}}));

    rig.engine.Restart();
    EXPECT_EQ(rig.model.board, Grid{});
}

TEST(RedrawBoard, WithCandidatesShownEndsTheTimedGame) {
    Rig rig;
    rig.settings.showCandidates = true;
    rig.settings.timedGame = true;
    rig.engine.RedrawBoard();
    EXPECT_FALSE(rig.settings.timedGame);
    EXPECT_EQ(rig.recorder.events, (std::vector<Event>{{Event::AllCells},
                                                       {Event::Statistics},
                                                       {Event::TimedEnded},
                                                       {Event::Candidates}}));
}

}  // namespace
}  // namespace tessaro
