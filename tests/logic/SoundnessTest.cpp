#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

#include "engine/Random.h"
#include "logic/Solver.h"
#include "puzzles/PuzzleGenerator.h"
#include "puzzles/SudokuXSolver.h"
#include "support/ShippedPuzzles.h"

namespace tessaro::logic {
namespace {

struct Tally {
    int positions = 0;
    std::array<int, static_cast<int>(Technique::Count)> found{};
};

// Walks the puzzle's path and asks every rung below belowDifficulty at every position; where the
// ladder is stuck, the solution's digit goes into the cell with the fewest candidates so the walk
// reaches deeper.
void CheckEveryRung(const Grid& givens, const std::string& name, Tally& tally, int belowDifficulty = INT_MAX) {
    Grid solved{};
    ASSERT_EQ(SudokuXSolver::CountSolutions(givens, 2, &solved), 1) << name;
    const LogicState solution = *LogicState::FromGrid(solved);
    LogicState state = *LogicState::FromGrid(givens);
    while (!state.Solved()) {
        ++tally.positions;
        for (const Rung& rung : Ladder()) {
            if (Info(rung.technique).difficulty >= belowDifficulty) break;
            const std::optional<Step> step = rung.find(state);
            if (!step) continue;
            ++tally.found[static_cast<int>(rung.technique)];
            const std::string where = name + ": " + RenderText(step->explanation);
            EXPECT_EQ(step->technique, rung.technique) << where;
            EXPECT_GE(step->difficulty, Info(rung.technique).difficulty) << where;
            EXPECT_FALSE(step->placements.empty() && step->eliminations.empty()) << where;
            for (const Candidate& c : step->placements) {
                EXPECT_EQ(solution.value[c.cell], c.digit) << where;
                EXPECT_TRUE(state.Has(c.cell, c.digit)) << where;
            }
            for (const Candidate& c : step->eliminations) {
                EXPECT_NE(solution.value[c.cell], c.digit) << where;
                EXPECT_TRUE(state.Has(c.cell, c.digit)) << where;
            }
            if (::testing::Test::HasFailure()) return;
        }
        if (const std::optional<Step> next = NextStep(state)) {
            Apply(state, *next);
            continue;
        }
        int fewest = -1;
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (state.value[cell] == 0 && (fewest < 0 || DigitCount(state.cand[cell]) < DigitCount(state.cand[fewest])))
                fewest = cell;
        }
        state.Place(fewest, solution.value[fewest]);
    }
}

TEST(Soundness, NoRungEverContradictsTheSolution) {
    Tally tally;
    for (const sx::ShippedPuzzle& puzzle : sx::ShippedPuzzles(TESSARO_SOURCE_DATA_DIR)) {
        CheckEveryRung(puzzle.givens, puzzle.name, tally);
    }
    SeedRandom(16);
    for (int level = 0; level < 4; ++level) {
        for (int n = 0; n < 3; ++n) CheckEveryRung(MakePuzzle(level), "level " + std::to_string(level), tally);
    }
    // The chains are slow to ask everywhere, so most minimal puzzles check the rungs below them.
    for (int n = 0; n < 30 && !HasFailure(); ++n) {
        CheckEveryRung(MakeMinimalPuzzle(), "minimal " + std::to_string(n), tally,
                       n < 5 ? INT_MAX : Info(Technique::XCycle).difficulty);
    }
    // The walk must have met every technique of the ladder, or it proves nothing about one.
    for (const Rung& rung : Ladder()) {
        EXPECT_GT(tally.found[static_cast<int>(rung.technique)], 0) << Info(rung.technique).name;
    }
}

}  // namespace
}  // namespace tessaro::logic
