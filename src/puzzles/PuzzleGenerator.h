#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "engine/Board.h"

namespace tessaro {

// How the game's own solver fares on a puzzle.
struct EngineGrade {
    bool solved = false;   // SolveBoard ended with "Brett gelöst!!!"
    bool guessed = false;  // the sweeps alone did not finish it, so the guess phase ran
};

// Loads the clues into a fresh board model (board and givens) and runs Engine::SolveBoard.
EngineGrade GradeWithEngine(const Grid& clues);

// What a puzzle of each difficulty (0 Leicht .. 3 Extrem) must satisfy besides a unique solution.
struct LevelRule {
    int minGivens;
    int maxGivens;
    bool needsGuess;  // false: the sweeps solve it; true: only the guess phase does
};
inline constexpr std::array<LevelRule, 4> kLevelRules{{
    {36, 81, false},
    {30, 35, false},
    {0, 29, false},
    {0, 26, true},
}};

// True when the clues have exactly one solution and fit the rule of the level.
bool MeetsLevel(const Grid& clues, int level);

// One Sudoku X puzzle of the level, drawn with RandomBelow; attempts (if given) receives how many
// full grids were tried.
Grid MakePuzzle(int level, int* attempts = nullptr);

// The four puzzles of one file. Extrem keeps the four with the fewest givens out of a fixed
// number of candidates, so the result depends on the random sequence only.
std::array<Grid, 4> MakeLevel(int level);

inline constexpr int kRecordSize = 2200;
inline constexpr int kRecordsPerFile = 4;
using Record = std::array<std::uint8_t, kRecordSize>;

// A playable record: the clues as board and givens, no candidate marks, filler bytes 1..9.
Record MakeRecord(const Grid& clues);

// Writes the four records to path through a temporary file in the same folder; false on failure.
bool WritePuzzleFile(const std::filesystem::path& path, const std::array<Grid, 4>& puzzles);

}  // namespace tessaro
