#pragma once

#include "engine/Board.h"
#include "engine/Houses.h"

namespace tessaro {

// True when no symbol 1..9 stands twice in any of the 29 units (columns, rows, boxes, diagonals).
bool CheckBoard(const BoardModel& model);
bool CheckGrid(const Grid& board);
// The same test for the one box whose top left cell is (x0, y0).
bool CheckBox(const BoardModel& model, int x0, int y0);
// The trial placement tested over the whole board: d in the empty cell (x, y), then CheckBoard.
// Kept as the reference the faster test must agree with.
bool AdmissibleLiteral(const BoardModel& model, int x, int y, int d);

// Answers the trial placement exactly as AdmissibleLiteral does (any conflict anywhere makes every
// digit inadmissible), from unit bitmasks rebuilt only when the board has changed since the last call.
class AdmissibilityIndex {
public:
    // (x, y) must be empty.
    bool Admissible(const Grid& board, int x, int y, int d) {
        Sync(board);
        return Lookup(x, y, d);
    }
    bool BoardValid(const Grid& board) {
        Sync(board);
        return valid_;
    }
    // Rebuilds the masks when board differs from the board last seen.
    void Sync(const Grid& board);
    void Rebuild(const Grid& board);
    // No symbol repeats in any unit of the board last synced.
    bool Valid() const { return valid_; }
    // The answer for the board last synced; its owner keeps it in step through Set, so that a
    // solver asking thousands of questions pays neither a comparison nor a rebuild per question.
    bool Lookup(int x, int y, int d) const { return (Mask(x, y) >> d & 1u) != 0; }
    // The admissible digits of (x, y) as bits 1..9.
    unsigned Mask(int x, int y) const {
        if (!valid_) return 0;
        return ~geometry::UsedAt(used_, geometry::CellOf(x, y)) & 0x3FEu;
    }
    // board is the synced board with only cell (x, y) rewritten since.
    void Set(const Grid& board, int x, int y);
    // Empty cells of the synced board.
    int EmptyCells() const { return empty_; }

private:
    Grid seen_{};
    bool fresh_ = false;
    bool valid_ = true;
    int empty_ = 81;
    geometry::HouseMasks used_{};
};

}  // namespace tessaro
