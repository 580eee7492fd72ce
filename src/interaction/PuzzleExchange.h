#pragma once

#include <QString>

#include <string_view>

namespace tessaro {

class Engine;
struct DisplayState;

// The puzzle named on the command line (a line or a text file, see PuzzleFromArgument) becomes
// the board's givens at start-up, as an own board typed in, with nothing to undo. Otherwise the
// board stays and the German message for the player comes back; empty on success. The difficulty
// panel names the level of the puzzle's rating, as after a paste.
QString TakeStartPuzzle(Engine& engine, DisplayState& look, std::string_view argument);

}  // namespace tessaro
