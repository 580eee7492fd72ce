#pragma once

namespace tessaro {

// "tessaro --neue-raetsel": writes four new puzzles per level into leicht.brd .. extrem.brd of the
// per-user data folder, never into the installed copies, with a progress line on the terminal.
// Needs a QCoreApplication named like the game; returns the exit status.
int RenewPlayerPuzzles();

}  // namespace tessaro
