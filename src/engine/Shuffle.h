#pragma once

#include "engine/Board.h"

namespace tessaro {

// Disguises board and givens together by 100..199 random passes of unit-preserving
// transformations; the number and order of random draws are fixed.
void ShuffleBoard(BoardModel& model);
void SwapRows(BoardModel& model, int a, int b);
void SwapColumns(BoardModel& model, int a, int b);
// A quarter turn counter-clockwise: the top left corner moves to the bottom left.
void RotateBoard(BoardModel& model);
void RelabelDigits(BoardModel& model);

}  // namespace tessaro
