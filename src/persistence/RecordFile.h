#pragma once

#include <optional>
#include <string>

#include "engine/Board.h"

namespace tessaro {

class Engine;

// Record n of the file (relative to the working directory). A missing file, a record beyond the
// end of the file or a record with an invalid board or givens byte yields nothing.
std::optional<Position> ReadRecord(const std::string& path, int n);

// Hands record n of settings.currentFile to the engine (board, givens and candidates). Always ends
// the timed game first, so a loaded board never enters the hall of fame. A record that cannot be
// read leaves the board as it was. Returns whether it loaded.
bool LoadRecord(Engine& engine, int n);

// A fresh puzzle of a level (0..3): its puzzle file becomes the current file, a random record of
// it is loaded and shuffled. Ends the timed game; false (and the board as it was) when the
// record cannot be read.
bool StartPuzzle(Engine& engine, int level);

// Writes board, givens and candidates as slot n (0..3) of settings.currentFile. The file is
// replaced atomically and always holds four records afterwards; the other slots' whole records
// are kept. Returns false when nothing could be written; the old file is then left as it was.
bool SaveRecord(const BoardModel& model, const Settings& settings, int n);

}  // namespace tessaro
