#pragma once

#include <array>
#include <string>

#include "engine/Houses.h"
#include "logic/CellSet.h"

namespace tessaro::logic {

// The engine's cell numbering and house table (9 * row + column; rows, columns, boxes, then the
// main and the anti-diagonal). Every technique treats a diagonal as a line.
using geometry::kAntiDiagonal;
using geometry::kCellCount;
using geometry::kHouseCount;
using geometry::kMainDiagonal;
using geometry::HouseKind;
using geometry::BoxOf;
using geometry::CellAt;
using geometry::ColumnOf;
using geometry::GridIndex;
using geometry::IsLine;
using geometry::KindOf;
using geometry::RowOf;

// The house table with the cell sets the finders intersect.
struct HouseTable {
    std::array<std::array<int, 9>, kHouseCount> cells{};  // each house's cells, ascending
    std::array<CellSet, kHouseCount> sets{};
    std::array<std::array<int, 5>, kCellCount> housesOf{};  // the 3..5 houses of a cell
    std::array<int, kCellCount> houseCount{};
    std::array<CellSet, kCellCount> peers{};  // cells sharing a house, the cell itself excluded
};

inline constexpr HouseTable kHouses = [] {
    HouseTable t{};
    t.cells = geometry::kHouseCells.cells;
    t.houseCount = geometry::kHouseCells.houseCount;
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (int k = 0; k < t.houseCount[cell]; ++k) t.housesOf[cell][k] = geometry::kHouseCells.housesOf[cell][k];
    }
    for (int h = 0; h < kHouseCount; ++h) {
        for (int cell : t.cells[h]) t.sets[h].Add(cell);
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
