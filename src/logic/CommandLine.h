#pragma once

#include <cstdio>
#include <istream>
#include <string_view>

namespace tessaro::logic {

// `tessaro --loesungsweg PUZZLE` (a line or a text file, read as the game reads its argument):
// one line per step, "<Technik>: <Erklärung> => <Wirkungen>", then "Bewertung: <x.y> (<Technik>)".
// Returns 0, or 2 after a German message on err when the puzzle is refused or the path stuck.
int PrintSolvingPath(std::string_view argument, std::FILE* out, std::FILE* err);

// `tessaro --bewerten [FILE|-]`: "<81 Zeichen> <x.y> <Technik>" on out for each line holding a
// puzzle, in input order; blank lines are skipped, any other line is named with its number on err.
// All cores rate; progress goes to err when it is a terminal. Returns 0, 1 when a line was
// refused, 2 when the file cannot be read. "-" or an empty argument reads standard input.
int RatePuzzleFile(std::string_view argument, std::FILE* out, std::FILE* err);
int RatePuzzleLines(std::istream& in, std::FILE* out, std::FILE* err);

}  // namespace tessaro::logic
