#include <gtest/gtest.h>

#include "logic/Coach.h"
#include "logic/Solver.h"

// The hint's coach, press by press, on a minimal hard puzzle.
namespace tessaro::logic {
namespace {

Grid Puzzle() {
    const std::string line = "...6..9.5...9...86...17........2....73.......419........6.8.........9..........5.";
    Grid givens{};
    for (int i = 0; i < 81; ++i) givens[At(i % 9 + 1, i / 9 + 1)] = line[i] == '.' ? 0 : static_cast<std::uint8_t>(line[i] - '0');
    return givens;
}

void Enter(Grid& board, const Step& step) {
    for (const Candidate& c : step.placements) board[At(ColumnOf(c.cell) + 1, RowOf(c.cell) + 1)] = c.digit;
}

// Pointer, step, entry for every step of the path; a pointer names where to look and never a
// placement or elimination, in the width of the help panel.
TEST(Coach, LeadsThroughEachStepInThreePresses) {
    const Grid givens = Puzzle();
    Grid board = givens;
    Coach coach;
    int steps = 0;
    for (Advice advice = coach.Press(board, givens); advice.kind != Advice::Kind::Solved; ++steps) {
        ASSERT_LT(steps, 200);
        ASSERT_EQ(advice.kind, Advice::Kind::Pointer);
        const std::string pointer = AdviceLine(advice, true);
        EXPECT_LE(pointer.size(), 26u) << pointer;
        EXPECT_EQ(pointer.find('='), std::string::npos) << pointer;
        EXPECT_FALSE(PointerCells(advice.step).empty()) << pointer;
        const Advice whole = coach.Press(board, givens);
        ASSERT_EQ(whole.kind, Advice::Kind::Step);
        EXPECT_EQ(EffectsText(whole.step), EffectsText(advice.step));
        advice = coach.Press(board, givens);
        if (whole.step.placements.empty()) continue;  // counted; the next step is pointed at
        ASSERT_EQ(advice.kind, Advice::Kind::Enter);
        Enter(board, advice.step);
        advice = coach.Press(board, givens);
    }
    EXPECT_GT(steps, 20);
}

// A wrong entry comes first and is taken out; a repeat, an empty board and a contradiction say so.
TEST(Coach, NamesWhatStandsBeforeAStep) {
    const Grid givens = Puzzle();
    const Grid solution = [&] {
        Grid board = givens;
        for (const Step& step : SolvePath(givens).steps) Enter(board, step);
        return board;
    }();
    Grid board = givens;
    const int at = At(1, 9);
    board[at] = static_cast<std::uint8_t>(solution[at] % 9 + 1);
    Coach coach;
    Advice advice = coach.Press(board, givens);
    ASSERT_EQ(advice.kind, Advice::Kind::WrongEntry);
    EXPECT_EQ(AdviceLine(advice, true), "Z9 S1 stimmt nicht");
    advice = coach.Press(board, givens);
    ASSERT_EQ(advice.kind, Advice::Kind::Enter);
    EXPECT_EQ(advice.step.placements, (std::vector<Candidate>{{CellAt(8, 0), 0}}));

    board[At(2, 1)] = board[At(4, 1)];
    EXPECT_EQ(coach.Press(board, givens).kind, Advice::Kind::Conflicts);
    EXPECT_EQ(coach.Press(Grid{}, Grid{}).kind, Advice::Kind::SeveralSolutions);
    Grid none{};
    for (int x = 1; x <= 8; ++x) none[At(x, 1)] = static_cast<std::uint8_t>(x);
    none[At(9, 5)] = 9;
    EXPECT_EQ(coach.Press(none, none).kind, Advice::Kind::NoSolution);
}

}  // namespace
}  // namespace tessaro::logic
