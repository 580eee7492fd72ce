#pragma once

#include "engine/Board.h"

namespace tessaro {

// True when no symbol 1..9 stands twice in any of the 29 units (columns, rows, boxes, diagonals).
bool CheckBoard(BoardModel& model);
// The same test for the one box whose top left cell is (x0, y0).
bool CheckBox(BoardModel& model, int x0, int y0);
// The trial placement tested over the whole board: write d into the empty cell (x, y), run
// CheckBoard, write 0 back. Kept as the reference the faster test must agree with.
bool AdmissibleLiteral(BoardModel& model, int x, int y, int d);

// Answers the trial placement exactly as AdmissibleLiteral does (any conflict anywhere makes every
// digit inadmissible), from unit bitmasks rebuilt only when the board has changed since the last call.
class AdmissibilityIndex {
public:
    // (x, y) must be empty.
    bool Admissible(const Grid& board, int x, int y, int d);
    bool BoardValid(const Grid& board);

private:
    void Refresh(const Grid& board);

    Grid seen_{};
    bool fresh_ = false;
    bool valid_ = true;
    std::array<std::uint16_t, 10> rows_{};
    std::array<std::uint16_t, 10> columns_{};
    std::array<std::uint16_t, 9> boxes_{};
    std::uint16_t mainDiagonal_ = 0;
    std::uint16_t antiDiagonal_ = 0;
};

}  // namespace tessaro
