#pragma once

#include <string>
#include <string_view>

#include "engine/Board.h"

namespace tessaro {

// A puzzle read from text: its givens (cells 1..9 x 1..9 of the game's layout), or a short German
// reason, fit for a message box, why the text holds no usable puzzle. Givens stay empty unless the
// text has 81 proper cells.
struct PuzzleReading {
    Grid givens{};
    std::string error;

    bool ok() const { return error.empty(); }
};

// The 81 cells of the common exchange text in reading order: digits 1..9 are givens, "." and "0"
// empty cells; blanks, line breaks and the separators "|", "-" and "+" are skipped. Any other
// character or another number of cells is an error. Says nothing about the rules.
PuzzleReading ParsePuzzleText(std::string_view text);

// Why givens are no proper puzzle, empty when they are one: a symbol twice in a row, column, box or
// diagonal (the first such unit named), no solution, or more than one solution.
std::string PuzzleProblem(const Grid& givens);

// ParsePuzzleText, then PuzzleProblem: what the game accepts from the clipboard.
PuzzleReading ReadPuzzle(std::string_view text);

// The board as one line of 81 characters in reading order: the givens as digits, every other cell
// as "." (what the game copies for others to solve).
std::string GivensLine(const BoardModel& model);
// The same for givens alone (game layout).
std::string GivensLine(const Grid& givens);
// The same with the player's entries written in as well.
std::string BoardLine(const BoardModel& model);

// The puzzle named on the command line: the argument itself when it is a puzzle text, otherwise
// the name of a text file holding one puzzle per line, of which the first proper one is taken (a
// file holding a single puzzle spread over several lines is read as well). Only regular files of
// modest size are read, so a device or a pipe never blocks the start.
PuzzleReading PuzzleFromArgument(std::string_view argument);

}  // namespace tessaro
