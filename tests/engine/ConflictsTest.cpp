#include <gtest/gtest.h>

#include "engine/Conflicts.h"

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
        {BoardOf({{1, 9, 8}, {9, 1, 8}}), {{{UnitKind::AntiDiagonal, 0}, 8, {{9, 1}, {1, 9}}}}},
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

}  // namespace
}  // namespace tessaro
