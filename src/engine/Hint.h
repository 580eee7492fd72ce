#pragma once

#include <string>

#include "engine/Board.h"
#include "engine/Conflicts.h"

namespace tessaro {

enum class HintKind {
    // Every cell holds a symbol and no rule is broken.
    Solved,
    // The board breaks a rule; conflicts says where.
    Conflict,
    // cell is empty and no symbol may stand there: an earlier entry is wrong.
    DeadEnd,
    // cell admits only symbol.
    NakedSingle,
    // symbol may stand nowhere else in unit than in cell.
    HiddenSingle,
    // No single is left; cell is the first with exactly two admissible symbols (bits of candidates),
    // where the solver would guess.
    Guess,
    // No single and no cell with two symbols: the solver cannot go on either.
    NoStep,
};

struct Hint {
    HintKind kind = HintKind::NoStep;
    CellRef cell;
    int symbol = 0;
    Unit unit;
    // The admissible symbols of cell as bits 1..9 (DeadEnd: none, NakedSingle: one, Guess: two).
    unsigned candidates = 0;
    ConflictSet conflicts;
};

// The next step by the solver's rules, found in the order the solver's sweeps would place it: box
// by box (columns of boxes outer) naked singles then hidden singles of the box, then the rows and
// columns in turn, then the two diagonals. Only the board is read, never a solution, so the step
// is always one that logic on the board can justify.
Hint FindHint(const Grid& board);

// The first conflict as one short German line for the help panel, or that there is none.
std::string ConflictText(const ConflictSet& conflicts, bool showDigits);

// The hint as one short German line for the help panel, with digits or letters.
std::string HintText(const Hint& hint, bool showDigits);

}  // namespace tessaro
