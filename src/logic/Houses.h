#pragma once

#include <array>
#include <string>

#include "logic/CellSet.h"

namespace tessaro::logic {

// Cells are numbered 9 * row + column (0-based); houses 0..8 are the rows, 9..17 the columns,
// 18..26 the boxes in reading order, 27 the main diagonal (row = column) and 28 the
// anti-diagonal (row + column = 8). Every technique treats a diagonal as a line.
inline constexpr int kCellCount = 81;
inline constexpr int kHouseCount = 29;
inline constexpr int kMainDiagonal = 27;
inline constexpr int kAntiDiagonal = 28;

enum class HouseKind { Row, Column, Box, Diagonal };

constexpr int RowOf(int cell) { return cell / 9; }
constexpr int ColumnOf(int cell) { return cell % 9; }
constexpr int BoxOf(int cell) { return RowOf(cell) / 3 * 3 + ColumnOf(cell) / 3; }
constexpr int CellAt(int row, int column) { return 9 * row + column; }
constexpr HouseKind KindOf(int house) {
    return house < 9 ? HouseKind::Row : house < 18 ? HouseKind::Column : house < 27 ? HouseKind::Box
                                                                                      : HouseKind::Diagonal;
}
constexpr bool IsLine(int house) { return KindOf(house) != HouseKind::Box; }

struct HouseTable {
    std::array<std::array<int, 9>, kHouseCount> cells{};  // each house's cells, ascending
    std::array<CellSet, kHouseCount> sets{};
    std::array<std::array<int, 5>, kCellCount> housesOf{};  // the 3..5 houses of a cell
    std::array<int, kCellCount> houseCount{};
    std::array<CellSet, kCellCount> peers{};  // cells sharing a house, the cell itself excluded
};

inline constexpr HouseTable kHouses = [] {
    HouseTable t{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int r = RowOf(cell), c = ColumnOf(cell);
        auto add = [&](int house) {
            t.sets[house].Add(cell);
            t.housesOf[cell][t.houseCount[cell]++] = house;
        };
        add(r);
        add(9 + c);
        add(18 + BoxOf(cell));
        if (r == c) add(kMainDiagonal);
        if (r + c == 8) add(kAntiDiagonal);
    }
    for (int h = 0; h < kHouseCount; ++h) {
        int i = 0;
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (t.sets[h].Has(cell)) t.cells[h][i++] = cell;
        }
    }
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (int k = 0; k < t.houseCount[cell]; ++k) t.peers[cell] |= t.sets[t.housesOf[cell][k]];
        t.peers[cell].Remove(cell);
    }
    return t;
}();

constexpr bool Sees(int a, int b) { return kHouses.peers[a].Has(b); }

// "Z3S5": row 3, column 5 (1-based), the form every text uses.
std::string CellName(int cell);
// "Zeile 3", "Spalte 5", "Block 2", "Hauptdiagonale", "Nebendiagonale".
std::string HouseName(int house);
// The name as it follows "in" or "von": "Zeile 3", "der Hauptdiagonale".
std::string HouseAfterPreposition(int house);

}  // namespace tessaro::logic
