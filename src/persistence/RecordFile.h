#pragma once

#include <string>

#include "engine/Board.h"
#include "persistence/GameFile.h"

namespace tessaro {

class Engine;

// Record n of the file (relative to the working directory) into record. A missing or unreadable
// file, a record beyond the end of the file or a record with an invalid board or givens byte
// yields a failure that says why, and record stays as it was.
FileResult ReadRecord(const std::string& path, int n, Position& record);

// Hands record n of settings.currentFile to the engine (board, givens and candidates). Always ends
// the timed game first, so a loaded board never enters the hall of fame. A record that cannot be
// read leaves the board as it was; the result then says why.
FileResult LoadRecord(Engine& engine, int n);

// A fresh puzzle of a level (0..3): its puzzle file becomes the current file, a random record of
// it is loaded and shuffled. Ends the timed game; a failure (and the board as it was) when the
// record cannot be read.
FileResult StartPuzzle(Engine& engine, int level);

// Writes board, givens and candidates as slot n (0..3) of settings.currentFile, keeping the other
// slots as another game sharing the folder may just have saved them. The file always holds four
// records afterwards. On failure the old file is left as it was and the result says why.
FileResult SaveRecord(const BoardModel& model, const Settings& settings, int n);

}  // namespace tessaro
