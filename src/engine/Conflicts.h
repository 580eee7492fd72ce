#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Board.h"

namespace tessaro {

enum class UnitKind : std::uint8_t { Row, Column, Box, MainDiagonal, AntiDiagonal };

// One of the 29 units. index is the row y or the column x (1..9), or the box 1..9 counted left to
// right and top to bottom; it is 0 for the diagonals.
struct Unit {
    UnitKind kind = UnitKind::Row;
    int index = 0;
    bool operator==(const Unit&) const = default;
};

struct CellRef {
    int x = 0;
    int y = 0;
    bool operator==(const CellRef&) const = default;
};

// The house of the unit in the one table of houses, and back.
int HouseOf(Unit unit);
Unit UnitOf(int house);
// The nine cells of a unit as the house table lists them (ascending cell numbers: rows and the
// main diagonal left to right, columns top to bottom, boxes row by row, the anti-diagonal from
// the top right).
std::array<CellRef, 9> CellsOf(Unit unit);
bool Contains(Unit unit, int x, int y);
// The 29 units in house order: rows 1..9, columns 1..9, boxes 1..9, main diagonal, anti-diagonal.
const std::array<Unit, 29>& AllUnits();

// A symbol that stands more than once in a unit, and where.
struct Conflict {
    Unit unit;
    int symbol = 0;
    std::vector<CellRef> cells;
};

struct ConflictSet {
    std::vector<Conflict> conflicts;
    // True at At(x, y) for every cell that takes part in a conflict.
    std::array<bool, 100> marked{};

    bool Any() const { return !conflicts.empty(); }
    bool Marked(int x, int y) const { return marked[At(x, y)]; }
};

// Every repeat of a symbol 1..9 in a unit of the board, units in the order of AllUnits and symbols
// ascending within a unit. Values outside 1..9 take part in no conflict.
ConflictSet FindConflicts(const Grid& board);

// The first conflict as one short German line for the help panel, or that there is none.
std::string ConflictText(const ConflictSet& conflicts, bool showDigits);

}  // namespace tessaro
