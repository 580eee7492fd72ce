#include "engine/Rules.h"

#include <utility>

namespace tessaro {
namespace {

// The bit of a symbol 1..9; 0 for an empty cell or a value outside 1..9.
unsigned SymbolBit(unsigned value) { return value - 1 < 9 ? 1u << value : 0u; }

// False when a symbol 1..9 occurs more than once in the house.
bool HouseIsFree(const Grid& board, int house) {
    unsigned seen = 0;
    unsigned repeated = 0;
    for (int cell : geometry::kHouseCells.cells[house]) {
        const unsigned bit = SymbolBit(board[geometry::GridIndex(cell)]);
        repeated |= seen & bit;
        seen |= bit;
    }
    return repeated == 0;
}

// One cell's symbol added to the masks of its houses. The house numbers are constants here, so
// a rebuild over all cells costs what a hand-written loop over rows and columns would.
template <int C>
void AddCell(const Grid& board, geometry::HouseMasks& used, unsigned& repeated, int& empty) {
    constexpr const std::array<int, 5>& h = geometry::kHouseCells.housesOf[C];
    constexpr int count = geometry::kHouseCells.houseCount[C];
    const std::uint8_t value = board[geometry::GridIndex(C)];
    const auto bit = static_cast<unsigned short>(SymbolBit(value));
    empty += value == 0;
    repeated |= (used[h[0]] | used[h[1]] | used[h[2]] | used[h[3]] | used[h[4]]) & bit;
    used[h[0]] |= bit;
    used[h[1]] |= bit;
    used[h[2]] |= bit;
    if constexpr (count > 3) used[h[3]] |= bit;
    if constexpr (count > 4) used[h[4]] |= bit;
}

template <std::size_t... C>
void AddCells(const Grid& board, geometry::HouseMasks& used, unsigned& repeated, int& empty,
              std::index_sequence<C...>) {
    (AddCell<static_cast<int>(C)>(board, used, repeated, empty), ...);
}

}  // namespace

bool CheckBox(const BoardModel& model, int x0, int y0) {
    return HouseIsFree(model.board, 18 + geometry::BoxOf(geometry::CellOf(x0, y0)));
}

bool CheckBoard(const BoardModel& model) { return CheckGrid(model.board); }

bool CheckGrid(const Grid& board) {
    for (int house = 0; house < geometry::kHouseCount; ++house) {
        if (!HouseIsFree(board, house)) return false;
    }
    return true;
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
    used_.fill(0);
    unsigned repeated = 0;
    empty_ = 0;
    AddCells(board, used_, repeated, empty_, std::make_index_sequence<geometry::kCellCount>());
    valid_ = repeated == 0;
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
    const int cell = geometry::CellOf(x, y);
    if (before != 0) geometry::ToggleAt(used_, cell, before);
    empty_ += (after == 0) - (before == 0);
    seen_[at] = after;
    if (after != 0) {
        if (!Lookup(x, y, after)) {
            Rebuild(board);
            return;
        }
        geometry::ToggleAt(used_, cell, after);
    }
}

}  // namespace tessaro
