#pragma once

namespace tessaro {

// Where the board, the symbol picker and the button row lie in the client area.
inline constexpr int kBoardLeft = 29;
inline constexpr int kBoardTop = 45;
inline constexpr int kCellSize = 60;
// The picker's corner lies this far up and left of its cell's corner.
inline constexpr int kPickerInset = 16;
inline constexpr int kPickerItemSize = 30;
inline constexpr int kPickerSize = 3 * kPickerItemSize;
// Buttons are drawn from kButtonTop; a press counts on rows kButtonHitTop..kButtonHitBottom.
inline constexpr int kButtonTop = 598;
inline constexpr int kButtonHitTop = 597;
inline constexpr int kButtonHitBottom = 623;

constexpr int CellLeft(int column) { return kBoardLeft + kCellSize * (column - 1); }
constexpr int CellTop(int row) { return kBoardTop + kCellSize * (row - 1); }

struct CellPosition {
    int column = 0;  // 0: not on the board
    int row = 0;
};

// The cell under (x, y), or {0, 0} off the board.
constexpr CellPosition CellAt(int x, int y) {
    if (x < kBoardLeft || x >= kBoardLeft + 9 * kCellSize || y < kBoardTop || y >= kBoardTop + 9 * kCellSize) {
        return {};
    }
    return {(x - kBoardLeft) / kCellSize + 1, (y - kBoardTop) / kCellSize + 1};
}

constexpr int PickerLeft(int column) { return CellLeft(column) - kPickerInset; }
constexpr int PickerTop(int row) { return CellTop(row) - kPickerInset; }

// The picker item 1..9 under (x, y) for a picker whose corner is (left, top); 0 outside it.
constexpr int PickerItemAt(int left, int top, int x, int y) {
    if (x < left || x >= left + kPickerSize || y < top || y >= top + kPickerSize) return 0;
    return 3 * ((y - top) / kPickerItemSize) + (x - left) / kPickerItemSize + 1;
}

// The symbol 1..9 whose column of the statistics panel (symbol above, count below) holds (x, y);
// 0 elsewhere.
constexpr int StatisticsSymbolAt(int x, int y) {
    constexpr int kLeft = 675;
    constexpr int kColumnWidth = 16;
    if (x < kLeft || x >= kLeft + 9 * kColumnWidth || y < 228 || y > 267) return 0;
    return (x - kLeft) / kColumnWidth + 1;
}

}  // namespace tessaro
