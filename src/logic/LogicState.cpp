#include "logic/LogicState.h"

namespace tessaro::logic {

std::optional<LogicState> LogicState::FromGrid(const Grid& board) {
    LogicState state;
    for (int cell = 0; cell < kCellCount; ++cell) state.cand[cell] = kAllDigits;
    for (int d = 1; d <= 9; ++d) state.cellsWith[d] = CellSet{~std::uint64_t{0}, (std::uint64_t{1} << 17) - 1};
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int v = board[GridIndex(cell)];
        if (v == 0) continue;
        if (v > 9 || !state.Has(cell, v)) return std::nullopt;  // out of range, or a peer holds it
        state.Place(cell, v);
    }
    return state;
}

Grid LogicState::ToGrid() const {
    Grid grid{};
    for (int cell = 0; cell < kCellCount; ++cell) grid[GridIndex(cell)] = value[cell];
    return grid;
}

void LogicState::Place(int cell, int digit) {
    value[cell] = static_cast<std::uint8_t>(digit);
    for (int d = 1; d <= 9; ++d) cellsWith[d].Remove(cell);
    cand[cell] = 0;
    const CellSet holders = kHouses.peers[cell] & cellsWith[digit];
    for (int peer : holders) cand[peer] &= static_cast<DigitMask>(~Bit(digit));
    cellsWith[digit] = cellsWith[digit].Without(holders);
}

void LogicState::Eliminate(int cell, int digit) {
    cand[cell] &= static_cast<DigitMask>(~Bit(digit));
    cellsWith[digit].Remove(cell);
}

bool LogicState::Solved() const {
    for (std::uint8_t v : value) {
        if (v == 0) return false;
    }
    return true;
}

bool LogicState::Contradicted() const {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (value[cell] == 0 && cand[cell] == 0) return true;
    }
    for (int h = 0; h < kHouseCount; ++h) {
        DigitMask present = 0;
        for (int cell : kHouses.cells[h]) present |= value[cell] != 0 ? Bit(value[cell]) : cand[cell];
        if (present != kAllDigits) return true;
    }
    return false;
}

int LogicState::EmptyCount() const {
    int n = 0;
    for (std::uint8_t v : value) n += v == 0;
    return n;
}

std::string CellName(int cell) {
    return "Z" + std::to_string(RowOf(cell) + 1) + "S" + std::to_string(ColumnOf(cell) + 1);
}

std::string HouseName(int house) {
    switch (KindOf(house)) {
    case HouseKind::Row: return "Zeile " + std::to_string(house + 1);
    case HouseKind::Column: return "Spalte " + std::to_string(house - 8);
    case HouseKind::Box: return "Block " + std::to_string(house - 17);
    case HouseKind::Diagonal: break;
    }
    return house == kMainDiagonal ? "Hauptdiagonale" : "Nebendiagonale";
}

std::string HouseAfterPreposition(int house) {
    return KindOf(house) == HouseKind::Diagonal ? "der " + HouseName(house) : HouseName(house);
}

}  // namespace tessaro::logic
