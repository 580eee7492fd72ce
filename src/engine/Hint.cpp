#include "engine/Hint.h"

#include <bit>

namespace tessaro {
namespace {

constexpr unsigned kAllSymbols = 0x3FEu;

// Symbols already standing in each unit, slots as in AllUnits.
struct UnitMasks {
    std::array<unsigned, 29> used{};

    explicit UnitMasks(const Grid& board) {
        for (int y = 1; y <= 9; ++y) {
            for (int x = 1; x <= 9; ++x) {
                const int value = board[At(x, y)];
                if (value < 1 || value > 9) continue;
                const unsigned bit = 1u << value;
                used[y - 1] |= bit;
                used[8 + x] |= bit;
                used[17 + BoxOf(x, y)] |= bit;
                if (OnMainDiagonal(x, y)) used[27] |= bit;
                if (OnAntiDiagonal(x, y)) used[28] |= bit;
            }
        }
    }

    // The symbols that may stand in the empty cell (x, y).
    unsigned Admissible(int x, int y) const {
        unsigned taken = used[y - 1] | used[8 + x] | used[17 + BoxOf(x, y)];
        if (OnMainDiagonal(x, y)) taken |= used[27];
        if (OnAntiDiagonal(x, y)) taken |= used[28];
        return ~taken & kAllSymbols;
    }
};

Hint CellHint(HintKind kind, int x, int y, unsigned candidates) {
    Hint hint;
    hint.kind = kind;
    hint.cell = {x, y};
    hint.candidates = candidates;
    if (std::popcount(candidates) == 1) hint.symbol = std::countr_zero(candidates);
    return hint;
}

bool NakedSingleInBox(const Grid& board, const UnitMasks& masks, int x0, int y0, Hint& hint) {
    for (int x = x0; x <= x0 + 2; ++x) {
        for (int y = y0; y <= y0 + 2; ++y) {
            if (board[At(x, y)] != 0) continue;
            const unsigned mask = masks.Admissible(x, y);
            if (std::popcount(mask) != 1) continue;
            hint = CellHint(HintKind::NakedSingle, x, y, mask);
            return true;
        }
    }
    return false;
}

// The smallest symbol with exactly one admissible empty cell in the unit.
bool HiddenSingleIn(const Grid& board, const UnitMasks& masks, Unit unit, Hint& hint) {
    const std::array<CellRef, 9> cells = CellsOf(unit);
    std::array<unsigned, 9> admissible{};
    unsigned once = 0;
    unsigned more = 0;
    for (int i = 0; i < 9; ++i) {
        const CellRef c = cells[i];
        admissible[i] = board[At(c.x, c.y)] == 0 ? masks.Admissible(c.x, c.y) : 0u;
        more |= once & admissible[i];
        once |= admissible[i];
    }
    const unsigned singles = once & ~more;
    if (singles == 0) return false;
    const int symbol = std::countr_zero(singles);
    int i = 0;
    while (!(admissible[i] >> symbol & 1u)) ++i;
    hint = CellHint(HintKind::HiddenSingle, cells[i].x, cells[i].y, admissible[i]);
    hint.symbol = symbol;
    hint.unit = unit;
    return true;
}

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

std::string CellName(CellRef cell) {
    return "Feld Z" + std::to_string(cell.y) + " S" + std::to_string(cell.x);
}

}  // namespace

Hint FindHint(const Grid& board) {
    Hint hint;
    hint.conflicts = FindConflicts(board);
    if (hint.conflicts.Any()) {
        hint.kind = HintKind::Conflict;
        return hint;
    }
    const UnitMasks masks(board);
    bool full = true;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            if (board[At(x, y)] != 0) continue;
            full = false;
            if (masks.Admissible(x, y) == 0) return CellHint(HintKind::DeadEnd, x, y, 0);
        }
    }
    if (full) {
        hint.kind = HintKind::Solved;
        return hint;
    }
    for (int x0 = 1; x0 <= 7; x0 += 3) {
        for (int y0 = 1; y0 <= 7; y0 += 3) {
            if (NakedSingleInBox(board, masks, x0, y0, hint)) return hint;
            if (HiddenSingleIn(board, masks, {UnitKind::Box, BoxOf(x0, y0)}, hint)) return hint;
        }
    }
    for (int i = 1; i <= 9; ++i) {
        if (HiddenSingleIn(board, masks, {UnitKind::Row, i}, hint)) return hint;
        if (HiddenSingleIn(board, masks, {UnitKind::Column, i}, hint)) return hint;
    }
    if (HiddenSingleIn(board, masks, {UnitKind::MainDiagonal, 0}, hint)) return hint;
    if (HiddenSingleIn(board, masks, {UnitKind::AntiDiagonal, 0}, hint)) return hint;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            if (board[At(x, y)] != 0) continue;
            const unsigned mask = masks.Admissible(x, y);
            if (std::popcount(mask) == 2) return CellHint(HintKind::Guess, x, y, mask);
        }
    }
    hint.kind = HintKind::NoStep;
    return hint;
}

std::string ConflictText(const ConflictSet& conflicts, bool showDigits) {
    if (!conflicts.Any()) return "Kein Symbol steht doppelt";
    const Conflict& first = conflicts.conflicts.front();
    return UnitName(first.unit) + ": " + SymbolText(first.symbol, showDigits) + " doppelt";
}

std::string HintText(const Hint& hint, bool showDigits) {
    const auto symbol = [&](int value) { return SymbolText(value, showDigits); };
    switch (hint.kind) {
    case HintKind::Solved: return "Das Brett ist gelöst";
    case HintKind::Conflict: return ConflictText(hint.conflicts, showDigits);
    case HintKind::DeadEnd: return CellName(hint.cell) + ": nichts passt";
    case HintKind::NakedSingle: return CellName(hint.cell) + ": nur " + symbol(hint.symbol) + " passt";
    case HintKind::HiddenSingle: return UnitName(hint.unit) + ": " + symbol(hint.symbol) + " nur hier";
    case HintKind::Guess: {
        const int low = std::countr_zero(hint.candidates);
        const int high = 31 - std::countl_zero(hint.candidates);
        return "Raten nötig: hier " + symbol(low) + " oder " + symbol(high);
    }
    case HintKind::NoStep: return "Kein Tipp möglich";
    }
    return {};
}

}  // namespace tessaro
