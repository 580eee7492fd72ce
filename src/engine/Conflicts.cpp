#include "engine/Conflicts.h"

namespace tessaro {

std::array<CellRef, 9> CellsOf(Unit unit) {
    std::array<CellRef, 9> cells{};
    for (int i = 0; i < 9; ++i) {
        switch (unit.kind) {
        case UnitKind::Row: cells[i] = {i + 1, unit.index}; break;
        case UnitKind::Column: cells[i] = {unit.index, i + 1}; break;
        case UnitKind::Box:
            cells[i] = {1 + 3 * ((unit.index - 1) % 3) + i % 3, 1 + 3 * ((unit.index - 1) / 3) + i / 3};
            break;
        case UnitKind::MainDiagonal: cells[i] = {i + 1, i + 1}; break;
        case UnitKind::AntiDiagonal: cells[i] = {i + 1, 9 - i}; break;
        }
    }
    return cells;
}

bool Contains(Unit unit, int x, int y) {
    switch (unit.kind) {
    case UnitKind::Row: return y == unit.index;
    case UnitKind::Column: return x == unit.index;
    case UnitKind::Box: return BoxOf(x, y) == unit.index;
    case UnitKind::MainDiagonal: return OnMainDiagonal(x, y);
    case UnitKind::AntiDiagonal: return OnAntiDiagonal(x, y);
    }
    return false;
}

const std::array<Unit, 29>& AllUnits() {
    static const std::array<Unit, 29> units = [] {
        std::array<Unit, 29> all{};
        for (int i = 1; i <= 9; ++i) {
            all[i - 1] = {UnitKind::Row, i};
            all[8 + i] = {UnitKind::Column, i};
            all[17 + i] = {UnitKind::Box, i};
        }
        all[27] = {UnitKind::MainDiagonal, 0};
        all[28] = {UnitKind::AntiDiagonal, 0};
        return all;
    }();
    return units;
}

ConflictSet FindConflicts(const Grid& board) {
    ConflictSet result;
    for (const Unit& unit : AllUnits()) {
        const std::array<CellRef, 9> cells = CellsOf(unit);
        unsigned seen = 0;
        unsigned repeated = 0;
        for (const CellRef& c : cells) {
            const int value = board[At(c.x, c.y)];
            if (value < 1 || value > 9) continue;
            repeated |= seen & (1u << value);
            seen |= 1u << value;
        }
        for (int symbol = 1; repeated >> symbol != 0; ++symbol) {
            if (!(repeated >> symbol & 1u)) continue;
            Conflict conflict{unit, symbol, {}};
            for (const CellRef& c : cells) {
                if (board[At(c.x, c.y)] != symbol) continue;
                conflict.cells.push_back(c);
                result.marked[At(c.x, c.y)] = true;
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
