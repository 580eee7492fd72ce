#pragma once

#include "engine/Board.h"

namespace tessaro {

// Loads record n of settings.currentFile (relative to the working directory) into board, givens
// and candidates. Always ends the timed game first, so a loaded board never enters the hall of
// fame. A missing file, a record beyond the end of the file or a record with an invalid board or
// givens byte loads nothing and leaves the board model unchanged. Returns whether it loaded.
bool LoadRecord(BoardModel& model, Settings& settings, int n);

// Writes board, givens and candidates as slot n (0..3) of settings.currentFile. The file is
// replaced atomically and always holds four records afterwards; the other slots' whole records
// are kept. Returns false when nothing could be written; the old file is then left as it was.
bool SaveRecord(const BoardModel& model, const Settings& settings, int n);

}  // namespace tessaro
