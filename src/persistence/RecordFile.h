#pragma once

#include "engine/Board.h"
#include "persistence/GameFile.h"

namespace tessaro {

// Loads record n of settings.currentFile (relative to the working directory) into board, givens
// and candidates. Always ends the timed game first, so a loaded board never enters the hall of
// fame. A missing or unreadable file, a record beyond the end of the file or a record with an
// invalid board or givens byte loads nothing and leaves the board model unchanged; the result
// then says why.
FileResult LoadRecord(BoardModel& model, Settings& settings, int n);

// Writes board, givens and candidates as slot n (0..3) of settings.currentFile, keeping the other
// slots as another game sharing the folder may just have saved them. The file always holds four
// records afterwards. On failure the old file is left as it was and the result says why.
FileResult SaveRecord(const BoardModel& model, const Settings& settings, int n);

}  // namespace tessaro
