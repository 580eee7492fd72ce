#include "engine/Rules.h"

namespace tessaro {
namespace {

// False when a symbol 1..9 occurs more than once in the unit.
template <typename CellOf>
bool UnitIsFree(const Grid& board, CellOf cellOf) {
    Counts tally{};
    for (int i = 1; i <= 9; ++i) {
        const auto [x, y] = cellOf(i);
        const std::uint8_t value = board[At(x, y)];
        if (value <= 9) ++tally[value];
    }
    for (int value = 1; value <= 9; ++value) {
        if (tally[value] > 1) return false;
    }
    return true;
}

struct XY {
    int x;
    int y;
};

auto BoxCell(int x0, int y0) {
    return [=](int i) { return XY{x0 + (i - 1) % 3, y0 + (i - 1) / 3}; };
}

}  // namespace

bool CheckBox(const BoardModel& model, int x0, int y0) {
    return UnitIsFree(model.board, BoxCell(x0, y0));
}

bool CheckBoard(const BoardModel& model) { return CheckGrid(model.board); }

bool CheckGrid(const Grid& board) {
    for (int x = 1; x <= 9; ++x) {
        if (!UnitIsFree(board, [x](int i) { return XY{x, i}; })) return false;
    }
    for (int y = 1; y <= 9; ++y) {
        if (!UnitIsFree(board, [y](int i) { return XY{i, y}; })) return false;
    }
    for (int x0 = 1; x0 <= 7; x0 += 3) {
        for (int y0 = 1; y0 <= 7; y0 += 3) {
            if (!UnitIsFree(board, BoxCell(x0, y0))) return false;
        }
    }
    if (!UnitIsFree(board, [](int i) { return XY{i, i}; })) return false;
    return UnitIsFree(board, [](int i) { return XY{i, 10 - i}; });
}

bool AdmissibleLiteral(const BoardModel& model, int x, int y, int d) {
    Grid trial = model.board;
    trial[At(x, y)] = static_cast<std::uint8_t>(d);
    return CheckGrid(trial);
}

void AdmissibilityIndex::Sync(const Grid& board) {
    if (fresh_ && board == seen_) return;
    Rebuild(board);
}

void AdmissibilityIndex::Rebuild(const Grid& board) {
    seen_ = board;
    fresh_ = true;
    valid_ = true;
    rows_.fill(0);
    columns_.fill(0);
    boxes_.fill(0);
    mainDiagonal_ = 0;
    antiDiagonal_ = 0;
    empty_ = 0;
    auto add = [this](std::uint16_t& mask, std::uint16_t bit) {
        if (mask & bit) valid_ = false;
        mask |= bit;
    };
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            const std::uint8_t value = board[At(x, y)];
            empty_ += value == 0;
            if (value == 0 || value > 9) continue;
            const auto bit = static_cast<std::uint16_t>(1u << value);
            add(rows_[y], bit);
            add(columns_[x], bit);
            add(boxes_[BoxIndex(x, y)], bit);
            if (x == y) add(mainDiagonal_, bit);
            if (x + y == 10) add(antiDiagonal_, bit);
        }
    }
}

void AdmissibilityIndex::Toggle(int x, int y, std::uint8_t value) {
    const auto bit = static_cast<std::uint16_t>(1u << value);
    rows_[y] ^= bit;
    columns_[x] ^= bit;
    boxes_[BoxIndex(x, y)] ^= bit;
    if (x == y) mainDiagonal_ ^= bit;
    if (x + y == 10) antiDiagonal_ ^= bit;
}

void AdmissibilityIndex::Set(const Grid& board, int x, int y) {
    const int at = At(x, y);
    const std::uint8_t before = seen_[at];
    const std::uint8_t after = board[at];
    if (before == after && fresh_) return;
    // On a valid board each bit stems from one cell, so a digit can be taken out again; a board
    // with a repeat, or a value outside 1..9, is simply rebuilt.
    if (!fresh_ || !valid_ || before > 9 || after > 9) {
        Rebuild(board);
        return;
    }
    if (before != 0) Toggle(x, y, before);
    empty_ += (after == 0) - (before == 0);
    seen_[at] = after;
    if (after != 0) {
        if (!Lookup(x, y, after)) {
            Rebuild(board);
            return;
        }
        Toggle(x, y, after);
    }
}

}  // namespace tessaro
