#include <gtest/gtest.h>

#include <random>

#include "Recording.h"
#include "engine/Random.h"

namespace tessaro {
namespace {

Position Now(const BoardModel& model) { return {model.board, model.givens, model.candidates}; }

// The engine's incremental index answers as one built afresh from the board.
void ExpectIndexFresh(const Engine& engine, int step) {
    AdmissibilityIndex fresh;
    fresh.Rebuild(engine.Model().board);
    ASSERT_EQ(engine.Index().Valid(), fresh.Valid()) << "step " << step;
    ASSERT_EQ(engine.Index().EmptyCells(), fresh.EmptyCells()) << "step " << step;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) ASSERT_EQ(engine.Index().Mask(x, y), fresh.Mask(x, y)) << x << "," << y;
    }
}

// Random changes of every kind, undos and redos: each undo and redo lands exactly on the position
// it should, a change after an undo drops what could have been redone, and the index never drifts.
TEST(History, RandomChangesUndosAndRedosKeepPositionsAndIndex) {
    std::mt19937 rng(77);
    SeedRandom(77);
    Rig rig;
    rig.Load(sx::KeepRandom(sx::RandomFullGrid(rng), 30, rng));
    std::vector<Position> line{Now(rig.model)};
    std::size_t at = 0;
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 3000; ++step) {
        const int x = 1 + pick(9);
        const int y = 1 + pick(9);
        const int op = pick(100);
        if (op < 20) {
            ASSERT_EQ(rig.engine.Undo(), at > 0);
            if (at > 0) ASSERT_EQ(Now(rig.model), line[--at]) << "undo at step " << step;
        } else if (op < 35) {
            ASSERT_EQ(rig.engine.Redo(), at + 1 < line.size());
            if (at + 1 < line.size()) ASSERT_EQ(Now(rig.model), line[++at]) << "redo at step " << step;
        } else {
            const Position before = Now(rig.model);
            if (op < 65) {
                rig.engine.EnterSymbol(x, y, pick(10));
            } else if (op < 75) {
                rig.engine.SetMark(x, y, 1 + pick(9));
            } else if (op < 80) {
                rig.engine.ClearMarks(x, y);
            } else if (op < 92) {
                rig.engine.SetGiven(x, y, pick(10));
            } else if (op < 96) {
                rig.engine.Restart();
            } else if (op < 99) {
                rig.engine.Shuffle();
            } else {
                rig.engine.SolveWithRestart();
            }
            if (Now(rig.model) != before) {
                line.resize(++at);
                line.push_back(Now(rig.model));
            }
            ASSERT_FALSE(rig.engine.Moves().CanRedo() && Now(rig.model) != before) << "redo kept after a change";
        }
        ASSERT_EQ(rig.engine.Moves().Entries(), line.size() - 1);
        ExpectIndexFresh(rig.engine, step);
    }
}

// A solve, however many cells and guesses it takes, is one entry; so is a restart.
TEST(History, SolveAndRestartAreOneEntryEach) {
    std::mt19937 rng(5);
    Rig rig;
    const sx::Cells full = sx::RandomFullGrid(rng);
    const sx::Cells puzzle = sx::UniquePuzzle(full, 26, rng);
    rig.Load(puzzle);
    int free = 0;
    while (puzzle[free] != 0) ++free;
    rig.engine.EnterSymbol(sx::XOf(free), sx::YOf(free), full[free]);
    const Position entered = Now(rig.model);
    rig.engine.SolveWithRestart();
    ASSERT_EQ(rig.settings.status, Status::Solved);
    rig.engine.Restart();
    EXPECT_EQ(rig.engine.Moves().Entries(), 3u);
    ASSERT_TRUE(rig.engine.Undo());
    EXPECT_EQ(rig.settings.status, Status::Solved);
    ASSERT_TRUE(rig.engine.Undo());
    EXPECT_EQ(Now(rig.model), entered);
    EXPECT_NE(rig.settings.status, Status::Solved) << "the verdict follows the undo";
}

}  // namespace
}  // namespace tessaro
