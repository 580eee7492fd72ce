#pragma once

#include "logic/RatedLevels.h"

namespace tessaro {

// "tessaro --neue-raetsel": writes four new puzzles per level into leicht.brd .. extrem.brd of the
// per-user data folder, never into the installed copies, with a progress line on the terminal.
// The levels are rated (logic::RatedLevelJudge); the choice sets the Extrem puzzles' band and
// technique. Needs a QCoreApplication named like the game; returns the exit status.
int RenewPlayerPuzzles(const logic::ExtremChoice& choice = {});

}  // namespace tessaro
