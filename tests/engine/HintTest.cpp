#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "engine/Conflicts.h"
#include "engine/Hint.h"
#include "support/ShippedPuzzles.h"
#include "support/SudokuX.h"

namespace tessaro {
namespace {

struct Entry {
    int x, y, value;
};

Grid BoardOf(std::initializer_list<Entry> entries) {
    Grid board{};
    for (const Entry& e : entries) board[At(e.x, e.y)] = static_cast<std::uint8_t>(e.value);
    return board;
}

// x and y swapped: rows become columns, the diagonals stay.
Grid Transposed(const Grid& board) {
    Grid out{};
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) out[At(y, x)] = board[At(x, y)];
    return out;
}

// Upside down: the main diagonal becomes the anti-diagonal.
Grid Flipped(const Grid& board) {
    Grid out{};
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) out[At(x, 10 - y)] = board[At(x, y)];
    return out;
}

TEST(Units, CellsOfAndContainsAgreeOnAll29) {
    std::array<int, 100> memberships{};
    for (const Unit& unit : AllUnits()) {
        int inside = 0;
        for (int y = 1; y <= 9; ++y)
            for (int x = 1; x <= 9; ++x) inside += Contains(unit, x, y);
        EXPECT_EQ(inside, 9);
        for (const CellRef& c : CellsOf(unit)) {
            EXPECT_TRUE(Contains(unit, c.x, c.y)) << c.x << "," << c.y;
            ++memberships[At(c.x, c.y)];
        }
    }
    EXPECT_EQ(memberships[At(5, 5)], 5);
    EXPECT_EQ(memberships[At(2, 8)], 4);
    EXPECT_EQ(memberships[At(1, 2)], 3);
    EXPECT_EQ(CellsOf({UnitKind::Box, 6})[0], (CellRef{7, 4}));
}

TEST(Conflicts, EachKindOfUnitFindsExactlyItsCells) {
    struct Case {
        Grid board;
        std::vector<Conflict> expected;
    };
    const std::vector<Case> cases{
        {BoardOf({{1, 5, 3}, {9, 5, 3}, {4, 4, 3}}), {{{UnitKind::Row, 5}, 3, {{1, 5}, {9, 5}}}}},
        {BoardOf({{2, 1, 4}, {2, 8, 4}, {2, 5, 9}}), {{{UnitKind::Column, 2}, 4, {{2, 1}, {2, 8}}}}},
        {BoardOf({{5, 4, 6}, {6, 6, 6}}), {{{UnitKind::Box, 5}, 6, {{5, 4}, {6, 6}}}}},
        {BoardOf({{1, 1, 7}, {9, 9, 7}}), {{{UnitKind::MainDiagonal, 0}, 7, {{1, 1}, {9, 9}}}}},
        {BoardOf({{1, 9, 8}, {9, 1, 8}}), {{{UnitKind::AntiDiagonal, 0}, 8, {{1, 9}, {9, 1}}}}},
        // One pair in two units, a triple, and two symbols repeated in one row.
        {BoardOf({{1, 1, 7}, {2, 1, 7}}),
         {{{UnitKind::Row, 1}, 7, {{1, 1}, {2, 1}}}, {{UnitKind::Box, 1}, 7, {{1, 1}, {2, 1}}}}},
        {BoardOf({{1, 3, 2}, {5, 3, 2}, {9, 3, 2}, {4, 3, 1}, {8, 3, 1}}),
         {{{UnitKind::Row, 3}, 1, {{4, 3}, {8, 3}}}, {{UnitKind::Row, 3}, 2, {{1, 3}, {5, 3}, {9, 3}}}}},
        {BoardOf({{1, 1, 1}, {2, 2, 2}}), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        const ConflictSet found = FindConflicts(c.board);
        ASSERT_EQ(found.conflicts.size(), c.expected.size());
        std::array<bool, 100> marked{};
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(found.conflicts[i].unit, c.expected[i].unit) << i;
            EXPECT_EQ(found.conflicts[i].symbol, c.expected[i].symbol) << i;
            EXPECT_EQ(found.conflicts[i].cells, c.expected[i].cells) << i;
            for (const CellRef& cell : c.expected[i].cells) marked[At(cell.x, cell.y)] = true;
        }
        EXPECT_EQ(found.marked, marked);
    }
}

// Row 5 holds 1..6 on the left; the 7s in columns 7 and 8 leave the 7 of row 5 one place, (9, 5),
// while box 6 still has three places for it.
Grid RowSingleBoard() {
    return BoardOf({{1, 5, 1}, {2, 5, 2}, {3, 5, 3}, {4, 5, 4}, {5, 5, 5}, {6, 5, 6}, {7, 1, 7}, {8, 9, 7}});
}

// The main diagonal holds 1..6; the 7s in column 7 and row 8 leave it one place for the 7, (9, 9).
Grid DiagonalSingleBoard() {
    return BoardOf({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}, {6, 6, 6}, {7, 1, 7}, {1, 8, 7}});
}

TEST(Hint, EachKindOfStepOnCraftedBoards) {
    struct Case {
        const char* what;
        Grid board;
        HintKind kind;
        CellRef cell;
        int symbol;
        Unit unit;
        std::string text;
    };
    Grid boxBoard = RowSingleBoard();
    boxBoard[At(1, 4)] = 7;
    boxBoard[At(4, 6)] = 7;
    Grid naked = BoardOf({{1, 1, 1}, {2, 1, 2}, {3, 1, 3}, {4, 1, 4}, {5, 1, 5}, {6, 1, 6}, {7, 1, 7}, {8, 1, 8}});
    const std::vector<Case> cases{
        {"naked", naked, HintKind::NakedSingle, {9, 1}, 9, {}, "Feld Z1 S9: nur 9 passt"},
        {"row", RowSingleBoard(), HintKind::HiddenSingle, {9, 5}, 7, {UnitKind::Row, 5}, "Zeile 5: 7 nur hier"},
        {"column", Transposed(RowSingleBoard()), HintKind::HiddenSingle, {5, 9}, 7, {UnitKind::Column, 5},
         "Spalte 5: 7 nur hier"},
        {"box", boxBoard, HintKind::HiddenSingle, {9, 5}, 7, {UnitKind::Box, 6}, "Kästchen 6: 7 nur hier"},
        {"main diagonal", DiagonalSingleBoard(), HintKind::HiddenSingle, {9, 9}, 7, {UnitKind::MainDiagonal, 0},
         "Diagonale ↘: 7 nur hier"},
        {"anti-diagonal", Flipped(DiagonalSingleBoard()), HintKind::HiddenSingle, {9, 1}, 7,
         {UnitKind::AntiDiagonal, 0}, "Diagonale ↗: 7 nur hier"},
        {"empty", Grid{}, HintKind::NoStep, {}, 0, {}, "Kein Tipp möglich"},
        {"dead end", BoardOf({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}, {6, 6, 6}, {7, 7, 7}, {8, 8, 8},
                              {9, 1, 9}}),
         HintKind::DeadEnd, {9, 9}, 0, {}, "Feld Z9 S9: nichts passt"},
        {"conflict", BoardOf({{2, 1, 4}, {2, 8, 4}}), HintKind::Conflict, {}, 0, {}, "Spalte 2: 4 doppelt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Hint hint = FindHint(c.board);
        EXPECT_EQ(hint.kind, c.kind);
        EXPECT_EQ(hint.cell, c.cell);
        EXPECT_EQ(hint.symbol, c.symbol);
        if (c.kind == HintKind::HiddenSingle) {
            EXPECT_EQ(hint.unit, c.unit);
        }
        EXPECT_EQ(HintText(hint, true), c.text);
    }
    EXPECT_EQ(HintText(FindHint(naked), false), "Feld Z1 S9: nur I passt");
    EXPECT_EQ(ConflictText(FindConflicts(Grid{}), true), "Kein Symbol steht doppelt");
    sx::Cells solution{};
    ASSERT_EQ(sx::CountSolutions(sx::Cells{}, 1, &solution), 1);
    EXPECT_EQ(HintText(FindHint(sx::ToGrid(solution)), true), "Das Brett ist gelöst");
}

// The hint's claim, checked with the independent helpers: a naked single is the cell's only
// admissible symbol, a hidden single the symbol's only admissible empty cell in a unit that lacks it,
// a guess cell has two symbols and comes only when no single is left; and the symbol is the solution's.
void ExpectJustified(const Hint& hint, const sx::Cells& cells, const sx::Cells& solution) {
    const auto admits = [&](int x, int y, int d) {
        const int i = sx::Index(x, y);
        return cells[i] == 0 && (sx::CandidateMask(cells, i) >> d & 1u);
    };
    const int at = sx::Index(hint.cell.x, hint.cell.y);
    switch (hint.kind) {
    case HintKind::NakedSingle:
        ASSERT_EQ(cells[at], 0);
        EXPECT_EQ(sx::CandidateMask(cells, at), 1u << hint.symbol);
        break;
    case HintKind::HiddenSingle:
        EXPECT_TRUE(Contains(hint.unit, hint.cell.x, hint.cell.y));
        for (const CellRef& c : CellsOf(hint.unit)) {
            EXPECT_NE(cells[sx::Index(c.x, c.y)], hint.symbol);
            EXPECT_EQ(admits(c.x, c.y, hint.symbol), c == hint.cell) << c.x << "," << c.y;
        }
        break;
    case HintKind::Guess: {
        EXPECT_EQ(std::popcount(sx::CandidateMask(cells, at)), 2);
        EXPECT_TRUE(sx::CandidateMask(cells, at) >> solution[at] & 1u);
        sx::Cells bySingles = cells;
        sx::SolveBySingles(bySingles);
        EXPECT_EQ(bySingles, cells) << "a single was left";
        return;
    }
    default: FAIL() << "unexpected kind " << static_cast<int>(hint.kind);
    }
    EXPECT_EQ(hint.symbol, solution[at]);
}

TEST(Hint, EveryHintIsJustifiedAndAgreesWithTheSolution) {
    const auto puzzles = sx::ShippedPuzzles(TESSARO_SOURCE_DATA_DIR);
    ASSERT_EQ(puzzles.size(), 16u);
    std::mt19937 rng(11);
    for (const auto& puzzle : puzzles) {
        SCOPED_TRACE(puzzle.name);
        const sx::Cells givens = sx::GridCells(puzzle.givens);
        sx::Cells solution{};
        ASSERT_EQ(sx::CountSolutions(givens, 2, &solution), 1);
        // Random positions on the way to the solution.
        for (int trial = 0; trial < 40; ++trial) {
            sx::Cells cells = givens;
            const int keep = std::uniform_int_distribution<int>(0, 60)(rng);
            for (int i = 0; i < 81; ++i)
                if (std::uniform_int_distribution<int>(0, 80)(rng) < keep) cells[i] = solution[i];
            ExpectJustified(FindHint(sx::ToGrid(cells)), cells, solution);
        }
        // Following the hints from the givens ends solved, or at a guess the singles cannot avoid.
        sx::Cells cells = givens;
        for (Hint hint = FindHint(puzzle.givens); hint.kind != HintKind::Solved; hint = FindHint(sx::ToGrid(cells))) {
            ExpectJustified(hint, cells, solution);
            if (hint.kind == HintKind::Guess || ::testing::Test::HasFailure()) break;
            cells[sx::Index(hint.cell.x, hint.cell.y)] = hint.symbol;
        }
        if (!puzzle.name.starts_with("extrem")) {
            EXPECT_EQ(cells, solution);
        }
    }
}

}  // namespace
}  // namespace tessaro
