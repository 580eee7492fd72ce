#pragma once

#include <optional>

namespace tessaro {

// The options that run in the terminal without a window or display (--help, --version,
// --loesungsweg, --bewerten, --neue-raetsel with its own options): their exit status, or nothing
// when the arguments start the game.
std::optional<int> RunTerminalCommand(int argc, char** argv);

}  // namespace tessaro
