#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "engine/Random.h"
#include "logic/Chains.h"
#include "logic/Finders.h"
#include "logic/Solver.h"
#include "puzzles/PuzzleGenerator.h"
#include "puzzles/SudokuXSolver.h"
#include "support/ShippedPuzzles.h"

namespace tessaro::logic {
namespace {

constexpr int kAntiDiagonalOnly = 72;  // r9c1: on the anti-diagonal, not on the main one

// An empty board whose digit stands in house only at cells.
void OnlyAt(LogicState& state, int house, std::initializer_list<int> cells, int digit) {
    for (int cell : kHouses.cells[house]) {
        if (std::find(cells.begin(), cells.end(), cell) == cells.end()) state.Eliminate(cell, digit);
    }
}
void Keep(LogicState& state, int cell, DigitMask digits) {
    for (int d = 1; d <= 9; ++d) {
        if ((digits & Bit(d)) == 0) state.Eliminate(cell, d);
    }
}
bool Eliminates(const Step& step, int cell, int digit) {
    return std::find(step.eliminations.begin(), step.eliminations.end(),
                     Candidate{static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(digit)}) != step.eliminations.end();
}
bool Links(const Step& step, int a, int b) {
    for (const auto& chain : step.chains) {
        for (const ChainLink& link : chain) {
            if ((link.from.cell == a && link.to.cell == b) || (link.from.cell == b && link.to.cell == a)) return true;
        }
    }
    return false;
}

TEST(Chains, LengthBonusRisesAtTheScalesBounds) {
    for (auto [length, bonus] : {std::pair{4, 0}, {5, 1}, {6, 1}, {7, 2}, {8, 2}, {9, 3}, {12, 3}, {13, 4}, {17, 5}, {25, 6}, {33, 7}, {49, 8}, {65, 9}})
        EXPECT_EQ(LengthBonus(length), bonus) << length;
}

// The 1 of row 1 only at r1c1 and r1c5, of the anti-diagonal only at r5c5 and r9c1: the loop
// r1c1 = r1c5 - r5c5 = r9c1 - r1c1 makes column 5 and column 1 hold their 1 in the loop.
TEST(Chains, XCycleThroughTheAntiDiagonal) {
    LogicState state = *LogicState::FromGrid(Grid{});
    OnlyAt(state, 0, {0, 4}, 1);
    OnlyAt(state, kAntiDiagonal, {40, kAntiDiagonalOnly}, 1);
    const std::optional<Step> step = FindXCycle(state);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->difficulty, 65);
    EXPECT_EQ(step->chains.at(0).size(), 4u);
    EXPECT_TRUE(Links(*step, 40, kAntiDiagonalOnly));
    EXPECT_TRUE(Eliminates(*step, 13, 1) && Eliminates(*step, 9, 1) && !Eliminates(*step, 40, 1));
    // One digit's links from one assumption: 1 at r1c1 leaves the anti-diagonal no place (r9c1
    // shares its column, r5c5 its diagonal).
    const std::optional<Step> nishio = FindNishioForcingChain(state);
    ASSERT_TRUE(nishio);
    EXPECT_GE(nishio->difficulty, 75);
    EXPECT_EQ(nishio->eliminations, (std::vector<Candidate>{{0, 1}}));
}

// The 1 of the main diagonal only at r1c1 and r9c9: r1c9 sees both, so it cannot hold the 1.
TEST(Chains, ForcingXChainAlongTheMainDiagonal) {
    LogicState state = *LogicState::FromGrid(Grid{});
    OnlyAt(state, kMainDiagonal, {0, 80}, 1);
    const std::optional<Step> step = FindForcingXChain(state);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->eliminations, (std::vector<Candidate>{{8, 1}}));
    EXPECT_EQ(step->difficulty, 66);
    EXPECT_TRUE(Links(*step, 0, 80));
    EXPECT_NE(RenderText(step->explanation).find("Z1S9≠1"), std::string::npos) << RenderText(step->explanation);
}

// Bivalue cells r1c1 {1,2}, r1c5 {2,3}, r5c5 {1,3}, the 1s linked by the main diagonal: a loop
// over three cells that clears 2 from row 1, 3 from column 5 and 1 from what sees r1c1 and r5c5;
// a forcing chain removes one of those too, which is why a loop over several digits needs no rung.
TEST(Chains, CycleAndForcingChainOverBivalueCells) {
    LogicState state = *LogicState::FromGrid(Grid{});
    Keep(state, 0, Bit(1) | Bit(2));
    Keep(state, 4, Bit(2) | Bit(3));
    Keep(state, 40, Bit(1) | Bit(3));
    EXPECT_FALSE(FindXCycle(state));
    const std::optional<Step> yCycle = FindYCycle(state);
    ASSERT_TRUE(yCycle);
    EXPECT_EQ(yCycle->difficulty, 65);
    EXPECT_TRUE(Links(*yCycle, 0, 40));
    for (auto [cell, digit] : {std::pair{8, 2}, {76, 3}, {10, 1}, {36, 1}, {80, 1}}) EXPECT_TRUE(Eliminates(*yCycle, cell, digit)) << cell;
    EXPECT_FALSE(Eliminates(*yCycle, 4, 1));
    const std::optional<Step> chain = FindForcingChain(state);
    ASSERT_TRUE(chain);
    ASSERT_EQ(chain->eliminations.size() + chain->placements.size(), 1u);
    EXPECT_TRUE(Eliminates(*yCycle, chain->eliminations.at(0).cell, chain->eliminations.at(0).digit));
    std::size_t length = 0;
    for (const auto& links : chain->chains) length += links.size();
    EXPECT_EQ(chain->difficulty, 70 + ComplexityBonus(static_cast<int>(length) + 1));
}

// r1c1 {1,2,3}; r1c5 {1,4}, r5c1 {2,4}, r3c3 {3,4}: whichever digit r1c1 takes, one of them
// becomes 4, and r5c5 sees all three (column, row, main diagonal).
TEST(Chains, CellForcingChainsMeetInTheCentre) {
    LogicState state = *LogicState::FromGrid(Grid{});
    Keep(state, 0, Bit(1) | Bit(2) | Bit(3));
    Keep(state, 4, Bit(1) | Bit(4));
    Keep(state, 36, Bit(2) | Bit(4));
    Keep(state, 20, Bit(3) | Bit(4));
    const std::optional<Step> step = FindMultipleForcingChain(state);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->eliminations, (std::vector<Candidate>{{40, 4}}));
    EXPECT_EQ(step->chains.size(), 3u);
    EXPECT_EQ(step->difficulty, 83);
    EXPECT_TRUE(Links(*step, 20, 40));
}

// Row 1 holds its 5 only in r1c1..r1c3, which 5 at r2c1 all removes. Dynamically, r1c3 becomes
// the row's last place once r1c1 and r1c2 are gone, so that conclusion needs both removals.
TEST(Chains, DynamicNetCountsTheRemovalsAConclusionNeeds) {
    LogicState state = *LogicState::FromGrid(Grid{});
    OnlyAt(state, 0, {0, 1, 2}, 5);
    ChainNet net;
    NetRules rules;
    rules.dynamic = true;
    net.Run(state, LiteralOf(9, 5, true), rules);
    ASSERT_EQ(net.Contradiction(), LiteralOf(2, 5, true));
    EXPECT_EQ(net.Ancestors(LiteralOf(2, 5, true)), 4);
    EXPECT_EQ(net.Ancestors(LiteralOf(2, 5, false)), 2);
    rules.dynamic = false;  // the board's own links: the row keeps three places
    net.Run(state, LiteralOf(9, 5, true), rules);
    EXPECT_EQ(net.Contradiction(), -1);
}

// Completeness and soundness of the whole ladder: every path of the shipped Extrem puzzles and
// of generated minimal puzzles ends solved, and no step contradicts the solution.
TEST(Chains, EveryPuzzleWithOneSolutionIsSolvedWithoutGuessing) {
    std::vector<std::pair<std::string, Grid>> puzzles;
    for (const sx::ShippedPuzzle& puzzle : sx::ShippedPuzzles(TESSARO_SOURCE_DATA_DIR)) {
        if (puzzle.name.starts_with("extrem")) puzzles.emplace_back(puzzle.name, puzzle.givens);
    }
    SeedRandom(1616);
    for (int n = 0; n < 200; ++n) puzzles.emplace_back("minimal " + std::to_string(n), MakeMinimalPuzzle());
    int dynamic = 0;
    for (const auto& [name, givens] : puzzles) {
        Grid solved{};
        ASSERT_EQ(SudokuXSolver::CountSolutions(givens, 2, &solved), 1) << name;
        const LogicState solution = *LogicState::FromGrid(solved);
        const SolvingPath path = SolvePath(givens);
        ASSERT_EQ(path.verdict, Verdict::Solved) << name;
        for (const Step& step : path.steps) {
            dynamic += step.technique >= Technique::DynamicForcingChain;
            for (const Candidate& c : step.placements) ASSERT_EQ(solution.value[c.cell], c.digit) << name;
            for (const Candidate& c : step.eliminations) ASSERT_NE(solution.value[c.cell], c.digit) << name;
            if (Info(step.technique).chain) {
                ASSERT_FALSE(step.chains.empty()) << name;
            }
        }
    }
    EXPECT_GT(dynamic, 0);
}

}  // namespace
}  // namespace tessaro::logic
