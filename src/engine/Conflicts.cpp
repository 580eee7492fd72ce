#include "engine/Conflicts.h"

#include "engine/Houses.h"

namespace tessaro {

int HouseOf(Unit unit) {
    switch (unit.kind) {
    case UnitKind::Row: return unit.index - 1;
    case UnitKind::Column: return 8 + unit.index;
    case UnitKind::Box: return 17 + unit.index;
    case UnitKind::MainDiagonal: return geometry::kMainDiagonal;
    case UnitKind::AntiDiagonal: break;
    }
    return geometry::kAntiDiagonal;
}

Unit UnitOf(int house) {
    switch (geometry::KindOf(house)) {
    case geometry::HouseKind::Row: return {UnitKind::Row, house + 1};
    case geometry::HouseKind::Column: return {UnitKind::Column, house - 8};
    case geometry::HouseKind::Box: return {UnitKind::Box, house - 17};
    case geometry::HouseKind::Diagonal: break;
    }
    return {house == geometry::kMainDiagonal ? UnitKind::MainDiagonal : UnitKind::AntiDiagonal, 0};
}

std::array<CellRef, 9> CellsOf(Unit unit) {
    std::array<CellRef, 9> cells{};
    const std::array<int, 9>& house = geometry::kHouseCells.cells[HouseOf(unit)];
    for (int i = 0; i < 9; ++i) cells[i] = {geometry::ColumnOf(house[i]) + 1, geometry::RowOf(house[i]) + 1};
    return cells;
}

bool Contains(Unit unit, int x, int y) {
    const int cell = geometry::CellOf(x, y);
    const int house = HouseOf(unit);
    for (int k = 0; k < geometry::kHouseCells.houseCount[cell]; ++k) {
        if (geometry::kHouseCells.housesOf[cell][k] == house) return true;
    }
    return false;
}

const std::array<Unit, 29>& AllUnits() {
    static const std::array<Unit, 29> units = [] {
        std::array<Unit, 29> all{};
        for (int house = 0; house < geometry::kHouseCount; ++house) all[house] = UnitOf(house);
        return all;
    }();
    return units;
}

ConflictSet FindConflicts(const Grid& board) {
    ConflictSet result;
    for (int house = 0; house < geometry::kHouseCount; ++house) {
        const std::array<int, 9>& cells = geometry::kHouseCells.cells[house];
        unsigned seen = 0;
        unsigned repeated = 0;
        for (int cell : cells) {
            const int value = board[geometry::GridIndex(cell)];
            if (value < 1 || value > 9) continue;
            repeated |= seen & (1u << value);
            seen |= 1u << value;
        }
        for (int symbol = 1; repeated >> symbol != 0; ++symbol) {
            if (!(repeated >> symbol & 1u)) continue;
            Conflict conflict{UnitOf(house), symbol, {}};
            for (int cell : cells) {
                const int at = geometry::GridIndex(cell);
                if (board[at] != symbol) continue;
                conflict.cells.push_back({at % 10, at / 10});
                result.marked[at] = true;
            }
            result.conflicts.push_back(std::move(conflict));
        }
    }
    return result;
}

namespace {

std::string UnitName(Unit unit) {
    switch (unit.kind) {
    case UnitKind::Row: return "Zeile " + std::to_string(unit.index);
    case UnitKind::Column: return "Spalte " + std::to_string(unit.index);
    case UnitKind::Box: return "Kästchen " + std::to_string(unit.index);
    case UnitKind::MainDiagonal: return "Diagonale ↘";
    case UnitKind::AntiDiagonal: return "Diagonale ↗";
    }
    return {};
}

}  // namespace

std::string ConflictText(const ConflictSet& conflicts, bool showDigits) {
    if (!conflicts.Any()) return "Kein Symbol steht doppelt";
    const Conflict& first = conflicts.conflicts.front();
    return UnitName(first.unit) + ": " + SymbolText(first.symbol, showDigits) + " doppelt";
}

}  // namespace tessaro
