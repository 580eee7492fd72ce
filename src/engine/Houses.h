#pragma once

#include <array>

#include "engine/Board.h"

// The one numbering of the 81 cells and the one table of the 29 houses that every rule test,
// solver, conflict search and logic finder uses. Grids the player's files and the drawing use keep
// cell (x, y) at At(x, y); GridIndex and CellOf convert.
namespace tessaro::geometry {

// Cells are numbered 9 * row + column (0-based); houses 0..8 are the rows, 9..17 the columns,
// 18..26 the boxes in reading order, 27 the main diagonal (row = column) and 28 the
// anti-diagonal (row + column = 8). A diagonal is a house like any other.
inline constexpr int kCellCount = 81;
inline constexpr int kHouseCount = 29;
inline constexpr int kMainDiagonal = 27;
inline constexpr int kAntiDiagonal = 28;
// Fills the unused places of a cell's house list, so that a mask per house with one spare entry
// can be read for five houses without a branch.
inline constexpr int kNoHouse = kHouseCount;

enum class HouseKind { Row, Column, Box, Diagonal };

constexpr int RowOf(int cell) { return cell / 9; }
constexpr int ColumnOf(int cell) { return cell % 9; }
constexpr int BoxOf(int cell) { return RowOf(cell) / 3 * 3 + ColumnOf(cell) / 3; }
constexpr int CellAt(int row, int column) { return 9 * row + column; }
// The cell (x, y) of the board, x the column and y the row, both 1..9.
constexpr int CellOf(int x, int y) { return CellAt(y - 1, x - 1); }
// Where the cell lies in a board grid.
constexpr int GridIndex(int cell) { return cell + RowOf(cell) + At(1, 1); }
constexpr HouseKind KindOf(int house) {
    return house < 9 ? HouseKind::Row : house < 18 ? HouseKind::Column : house < 27 ? HouseKind::Box
                                                                                      : HouseKind::Diagonal;
}
constexpr bool IsLine(int house) { return KindOf(house) != HouseKind::Box; }

struct HouseCells {
    std::array<std::array<int, 9>, kHouseCount> cells{};  // each house's cells, ascending
    std::array<std::array<int, 5>, kCellCount> housesOf{};  // the 3..5 houses of a cell, then kNoHouse
    std::array<int, kCellCount> houseCount{};
};

inline constexpr HouseCells kHouseCells = [] {
    HouseCells t{};
    std::array<int, kHouseCount> filled{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int r = RowOf(cell), c = ColumnOf(cell);
        auto add = [&](int house) {
            t.cells[house][filled[house]++] = cell;
            t.housesOf[cell][t.houseCount[cell]++] = house;
        };
        add(r);
        add(9 + c);
        add(18 + BoxOf(cell));
        if (r == c) add(kMainDiagonal);
        if (r + c == 8) add(kAntiDiagonal);
        for (int k = t.houseCount[cell]; k < 5; ++k) t.housesOf[cell][k] = kNoHouse;
    }
    return t;
}();

// The symbols 1..9 of each house as bits 1..9, and two spare entries: kNoHouse, which every read
// finds 0, and the one after it, where writes for a cell's unused places go.
using HouseMasks = std::array<unsigned short, kHouseCount + 2>;

// The symbols already standing in any house of the cell.
inline unsigned UsedAt(const HouseMasks& masks, int cell) {
    const std::array<int, 5>& h = kHouseCells.housesOf[cell];
    return masks[h[0]] | masks[h[1]] | masks[h[2]] | masks[h[3]] | masks[h[4]];
}

// Applies op to the mask of every house of the cell (and to the write-only spare for the rest).
template <typename Op>
void ForHousesOf(HouseMasks& masks, int cell, Op op) {
    for (int house : kHouseCells.housesOf[cell]) op(masks[house + (house == kNoHouse)]);
}

// Adds or takes away one symbol's bit in every house of the cell.
inline void ToggleAt(HouseMasks& masks, int cell, int symbol) {
    const auto bit = static_cast<unsigned short>(1u << symbol);
    ForHousesOf(masks, cell, [bit](unsigned short& mask) { mask ^= bit; });
}

}  // namespace tessaro::geometry
