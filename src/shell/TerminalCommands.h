#pragma once

#include <optional>

namespace tessaro {

// The options that run in the terminal without a window or display (--help, --version,
// --loesungsweg, --bewerten, --neue-raetsel with its own options, and the refusal of any other
// "--" option): their exit status, or nothing when the arguments start the game.
std::optional<int> RunTerminalCommand(int argc, char** argv);
// A first argument that starts with "-" and is no option (called again once Qt has taken its own
// one-dash options): a German message and exit status 2. A puzzle file whose name starts with "-"
// follows "--".
std::optional<int> RefuseUnknownOption(int argc, char** argv);
// The puzzle argument that starts the game, or nullptr.
const char* StartPuzzleArgument(int argc, char** argv);

}  // namespace tessaro
