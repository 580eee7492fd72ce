#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "logic/Finders.h"
#include "logic/Solver.h"

// Each case starts from the empty board and narrows candidates into one pattern; the finder must
// find exactly its effects. Every house-based technique has a case on a diagonal.
namespace tessaro::logic {
namespace {

constexpr int Z(int row, int column) { return CellAt(row - 1, column - 1); }
constexpr int Row(int r) { return r - 1; }
constexpr int Col(int c) { return 8 + c; }
constexpr int Box(int b) { return 17 + b; }
constexpr int kMain = kMainDiagonal;
constexpr int kAnti = kAntiDiagonal;

struct Only {  // in house, each of the digits keeps only these cells
    int house;
    std::string digits;
    std::vector<int> cells;
};
struct Keep {  // the cell keeps only these digits
    int cell;
    std::string digits;
};
struct Case {
    std::string name;
    Finder find;
    std::vector<Only> only;
    std::vector<Keep> keep;
    std::string effects;
    int difficulty = 0;  // checked when given
};

// "Z2S2 Z3S3" and "37": each cell loses each digit, written as EffectsText writes it.
std::string Removes(const std::string& cells, const std::string& digits) {
    std::istringstream in(cells);
    std::string cell, out;
    while (in >> cell) {
        for (char d : digits) out += (out.empty() ? "" : " ") + cell + "-" + d;
    }
    return out;
}

LogicState Narrowed(const std::vector<Only>& only) {
    LogicState state = *LogicState::FromGrid(Grid{});
    for (const Only& o : only) {
        for (int cell : kHouses.cells[o.house]) {
            if (std::find(o.cells.begin(), o.cells.end(), cell) != o.cells.end()) continue;
            for (char d : o.digits) state.Eliminate(cell, d - '0');
        }
    }
    return state;
}

LogicState Kept(LogicState state, const std::vector<Keep>& keep) {
    for (const Keep& k : keep) {
        for (int d = 1; d <= 9; ++d) {
            if (k.digits.find(static_cast<char>('0' + d)) == std::string::npos) state.Eliminate(k.cell, d);
        }
    }
    return state;
}

void ExpectFinds(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const std::optional<Step> step = c.find(Kept(Narrowed(c.only), c.keep));
        ASSERT_TRUE(step) << c.name;
        EXPECT_EQ(EffectsText(*step), c.effects) << c.name;
        EXPECT_EQ(step->supportingEliminations.empty(), step->placements.empty()) << c.name;
        if (c.difficulty != 0) EXPECT_EQ(step->difficulty, c.difficulty) << c.name;
    }
}

TEST(Techniques, LockedCandidatesOnLinesAndDiagonals) {
    ExpectFinds({
        {"pointing along a row", FindPointing, {{Box(1), "5", {Z(1, 1), Z(1, 2)}}}, {},
         Removes("Z1S4 Z1S5 Z1S6 Z1S7 Z1S8 Z1S9", "5")},
        {"a box along the main diagonal counts as generalized", FindGeneralizedLocked, {{Box(1), "5", {Z(1, 1), Z(3, 3)}}}, {},
         Removes("Z4S4 Z5S5 Z6S6 Z7S7 Z8S8 Z9S9", "5")},
        {"the main diagonal into a box counts as generalized", FindGeneralizedLocked, {{kMain, "5", {Z(1, 1), Z(2, 2)}}}, {},
         Removes("Z1S2 Z1S3 Z2S1 Z2S3 Z3S1 Z3S2", "5")},
        {"both row ends see the centre and the far corners", FindGeneralizedLocked, {{Row(1), "2", {Z(1, 1), Z(1, 9)}}},
         {}, Removes("Z5S5 Z9S1 Z9S9", "2")},
        {"direct pointing along a column leaves a single in box 7", FindDirectPointing,
         {{Box(1), "5", {Z(1, 1), Z(3, 1)}}, {Row(8), "5", {Z(8, 1), Z(8, 9)}}, {Box(7), "5", {Z(7, 1), Z(9, 3)}}},
         {}, "Z9S3=5"},
    });
}

TEST(Techniques, NakedAndHiddenSubsetsOnDiagonals) {
    ExpectFinds({
        {"naked pair, also where row and column join its cells", FindNakedPair, {}, {{Z(1, 1), "37"}, {Z(5, 5), "37"}},
         Removes("Z1S5 Z1S9 Z2S2 Z3S3 Z4S4 Z5S1 Z6S6 Z7S7 Z8S8 Z9S1 Z9S9", "37")},
        {"naked triple, also in the corners that see all three", FindNakedTriple, {},
         {{Z(1, 9), "12"}, {Z(5, 5), "23"}, {Z(9, 1), "13"}}, Removes("Z1S1 Z2S8 Z3S7 Z4S6 Z6S4 Z7S3 Z8S2 Z9S9", "123")},
        {"naked quad", FindNakedQuad, {}, {{Z(1, 1), "12"}, {Z(2, 2), "23"}, {Z(3, 3), "34"}, {Z(9, 9), "14"}},
         Removes("Z4S4 Z5S5 Z6S6 Z7S7 Z8S8", "1234")},
        {"hidden pair", FindHiddenPair, {{kMain, "37", {Z(1, 1), Z(5, 5)}}}, {}, Removes("Z1S1 Z5S5", "1245689")},
        {"hidden triple", FindHiddenTriple, {{kAnti, "123", {Z(1, 9), Z(5, 5), Z(9, 1)}}}, {},
         Removes("Z1S9 Z5S5 Z9S1", "456789")},
        {"hidden quad", FindHiddenQuad, {{kMain, "1234", {Z(1, 1), Z(4, 4), Z(6, 6), Z(9, 9)}}}, {},
         Removes("Z1S1 Z4S4 Z6S6 Z9S9", "56789")},
        {"direct hidden pair leaves a single in its own diagonal", FindDirectHiddenPair,
         {{kMain, "37", {Z(1, 1), Z(5, 5)}}, {Row(1), "8", {Z(1, 1), Z(1, 5)}}, {kMain, "9", {Z(1, 1), Z(9, 9)}}}, {},
         "Z9S9=9"},
        {"direct hidden triple leaves a single in its own diagonal", FindDirectHiddenTriple,
         {{kAnti, "123", {Z(1, 9), Z(5, 5), Z(9, 1)}}, {kAnti, "8", {Z(1, 9), Z(3, 7)}}}, {}, "Z3S7=8"},
    });
}

// Basic fish take rows and columns only; a diagonal there makes a strong-link pattern.
TEST(Techniques, FishOnRowsAndColumns) {
    ExpectFinds({
        {"x-wing on two rows", FindXWing, {{Row(1), "4", {Z(1, 2), Z(1, 5)}}, {Row(9), "4", {Z(9, 2), Z(9, 5)}}}, {},
         Removes("Z2S2 Z2S5 Z3S2 Z3S5 Z4S2 Z4S5 Z5S2 Z5S5 Z6S2 Z6S5 Z7S2 Z7S5 Z8S2 Z8S5", "4")},
        {"swordfish on three columns", FindSwordfish,
         {{Col(1), "7", {Z(1, 1), Z(5, 1)}}, {Col(5), "7", {Z(5, 5), Z(9, 5)}}, {Col(9), "7", {Z(1, 9), Z(9, 9)}}}, {},
         Removes("Z1S2 Z1S3 Z1S4 Z1S6 Z1S7 Z1S8 Z5S2 Z5S3 Z5S4 Z5S6 Z5S7 Z5S8 Z9S2 Z9S3 Z9S4 Z9S6 Z9S7 Z9S8", "7")},
    });
}

// The rise tells parallel lines from a diagonal link.
TEST(Techniques, StrongLinkFishes) {
    ExpectFinds({
        {"skyscraper on two rows", FindTwoStrongLinks, {{Row(1), "5", {Z(1, 2), Z(1, 7)}}, {Row(5), "5", {Z(5, 2), Z(5, 8)}}},
         {}, "Z2S8-5 Z3S8-5 Z4S7-5 Z6S7-5", 40},
        {"turbot fish with a link on the main diagonal", FindTwoStrongLinks,
         {{Row(1), "6", {Z(1, 3), Z(1, 8)}}, {kMain, "6", {Z(3, 3), Z(7, 7)}}}, {}, "Z2S7-6 Z3S7-6 Z7S8-6 Z9S8-6",
         43},
    });
    // Box 1's 5s split into r2c3 and the diagonal pair r1c1/r2c2: the scale groups a box's places
    // along rows and columns only, so this is no link and there is no fish with row 7.
    EXPECT_FALSE(FindTwoStrongLinks(
        Narrowed({{Box(1), "5", {Z(1, 1), Z(2, 2), Z(2, 3)}}, {Row(7), "5", {Z(7, 3), Z(7, 8)}}})));
}

TEST(Techniques, WingsThroughDiagonalPeers) {
    ExpectFinds({
        {"xy-wing", FindXYWing, {}, {{Z(1, 1), "12"}, {Z(5, 5), "13"}, {Z(1, 9), "23"}},
         Removes("Z1S5 Z2S8 Z3S7 Z4S6 Z5S9 Z6S4 Z7S3 Z8S2 Z9S1 Z9S9", "3")},
        {"xyz-wing", FindXYZWing, {}, {{Z(5, 5), "123"}, {Z(1, 1), "13"}, {Z(9, 1), "23"}}, "Z1S9-3 Z5S1-3 Z9S9-3"},
        {"unique rectangle off the diagonals: the fourth corner loses the pair", FindUniqueRectangle, {},
         {{Z(1, 3), "12"}, {Z(1, 5), "12"}, {Z(2, 5), "12"}, {Z(2, 3), "123"}}, "Z2S3-1 Z2S3-2"},
        {"wxyz-wing: three cells of row 1 and one of box 1", FindWXYZWing, {},
         {{Z(1, 1), "14"}, {Z(1, 2), "24"}, {Z(1, 7), "34"}, {Z(3, 3), "124"}}, "Z1S3-4", 56},
        {"of two wxyz-wings rated alike, the one removing the lower digit", FindWXYZWing, {},
         {{Z(1, 1), "58"}, {Z(1, 2), "68"}, {Z(1, 7), "78"}, {Z(3, 3), "568"},
          {Z(5, 1), "14"}, {Z(5, 2), "24"}, {Z(5, 7), "34"}, {Z(6, 3), "124"}}, "Z5S3-4", 56},
        {"wxyz-wing: three corners that see one another through row, column and diagonal", FindWXYZWing, {},
         {{Z(1, 1), "14"}, {Z(1, 9), "24"}, {Z(9, 1), "34"}, {Z(2, 2), "13"}}, "Z2S1-3 Z2S8-3 Z3S1-3 Z5S5-3 Z7S2-3 Z8S2-3 Z9S2-3 Z9S9-3", 55},
    });
    // Four cells that see one another and hold four digits, none of them bivalue: the scale
    // takes a bent set only with a bivalue pivot.
    EXPECT_FALSE(FindWXYZWing(Kept(Narrowed({}), {{Z(2, 2), "568"}, {Z(2, 8), "456"}, {Z(8, 2), "456"}, {Z(8, 8), "568"}})));
}

// Exclusions see through the diagonals; a loop counts only where every house, the diagonals
// too, holds two of its cells or none.
TEST(Techniques, AlignedExclusionsAndUniqueLoops) {
    ExpectFinds({
        // Z1S1=3 would leave Z5S5 the 1 and Z9S1 the 4, both seen by Z3S7.
        {"aligned pair Z1S1 and Z3S7 through the diagonals", FindAlignedPairExclusion, {},
         {{Z(1, 9), "15"}, {Z(9, 1), "34"}, {Z(5, 5), "13"}, {Z(3, 7), "14"}}, "Z1S1-3", 62},
        // Z2S2=4 would leave Z7S7 the 1, Z3S3 the 3, Z5S5 the 6, and Z9S9 nothing.
        {"aligned triplet on the main diagonal", FindAlignedTripletExclusion, {},
         {{Z(1, 1), "15"}, {Z(5, 5), "36"}, {Z(9, 9), "46"}, {Z(3, 3), "13"}, {Z(7, 7), "14"}}, "Z2S2-4", 75},
        {"unique loop of six cells, one with a third candidate", FindUniqueLoop, {},
         {{Z(3, 4), "56"}, {Z(3, 6), "56"}, {Z(9, 6), "56"}, {Z(9, 2), "56"}, {Z(7, 2), "56"}, {Z(7, 4), "568"}},
         "Z7S4-5 Z7S4-6", 46},
    });
    // Moved to column 1, the loop has one cell (Z9S1) on the anti-diagonal: not deadly there.
    EXPECT_FALSE(FindUniqueLoop(Kept(Narrowed({}), {{Z(3, 4), "56"}, {Z(3, 6), "56"}, {Z(9, 6), "56"}, {Z(9, 1), "56"},
                                                    {Z(7, 1), "56"}, {Z(7, 4), "568"}})));
}

}  // namespace
}  // namespace tessaro::logic
