#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

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

// Further tests of a level beside its rule, supplied from above (the rated levels of the logic
// library); an empty one lets every puzzle pass.
struct LevelJudge {
    // While clues are taken away: the puzzle may lose this clue and stay fit for the level.
    std::function<bool(int level, const Grid& clues)> keeps;
    // The finished puzzle belongs to the level.
    std::function<bool(int level, const Grid& clues)> accepts;
    // How near a puzzle of the level's rule comes to being accepted, higher is nearer, kAccepted
    // when it is, negative when it is not worth a walk. When given, a candidate that misses is
    // walked toward acceptance: clues are added from the solution, taken away or moved, and a
    // change is kept unless it leads away.
    std::function<int(int level, const Grid& clues)> nearness;
    // A level that needs the guess may take puzzles the one guess does not finish: for steps that
    // no puzzle it finishes ever needs. Its guess phase must still run.
    bool beyondGuess = false;
    static constexpr int kAccepted = 1 << 30;
};

// True when the clues have exactly one solution and fit the rule of the level (loosened as the
// judge allows).
bool MeetsLevel(const Grid& clues, int level, const LevelJudge& judge = {});

// How many neighbours a walk toward acceptance tries before it gives the candidate up.
inline constexpr int kWalkSteps = 300;

// A level whose candidates are walked gives up after this long instead of after kMaxAttempts
// grids, which would take far longer; the puzzles it finds in time depend on the seed alone.
inline constexpr std::chrono::seconds kWalkedLevelTimeLimit{180};

// One Sudoku X puzzle of the level, drawn with RandomBelow; attempts (if given) receives how many
// full grids were tried. Empty when kMaxAttempts grids give none.
Grid MakePuzzle(int level, int* attempts = nullptr, const LevelJudge& judge = {});

// A minimal puzzle: a random full grid without every clue, taken in random order, that the unique
// solution can do without; no clue of it can go.
Grid MakeMinimalPuzzle();

// A level gives up after this many full grids.
inline constexpr int kMaxAttempts = 5000;

// Extrem puzzles of the shipped files are the sparsest of this many accepted candidates.
inline constexpr int kExtremCandidates = 200;

// The four puzzles of one file, or nothing when kMaxAttempts grids (or a walked level's time
// limit) give fewer. Full grid i is drawn from its own seed derived from seed, so both cores share
// the work and the result depends on the seed only. Extrem keeps the four with the fewest givens out of extremCandidates accepted
// ones (out of all accepted when the attempts run out first).
std::optional<std::array<Grid, 4>> MakeLevel(int level, std::uint64_t seed,
                                             int extremCandidates = kExtremCandidates,
                                             const LevelJudge& judge = {});

inline constexpr int kPuzzleRecordSize = 2200;
using PuzzleRecord = std::array<std::uint8_t, kPuzzleRecordSize>;

// A playable record: the clues as board and givens, no candidate marks, filler bytes 1..9.
PuzzleRecord MakeRecord(const Grid& clues);

// The four records of a puzzle file.
std::string PuzzleFileBytes(const std::array<Grid, 4>& puzzles);

// Writes one puzzle file; false on failure. The game writes through its locked, atomic saves.
using PuzzleFileWriter = std::function<bool(const std::filesystem::path& path, const std::string& bytes)>;

// The plain writer of the generator tool: the whole file at path, false on failure.
bool WritePuzzleFile(const std::filesystem::path& path, const std::string& bytes);

// Told each level (0 Leicht .. 3 Extrem) whose file has just been written, with its puzzles.
using LevelWritten = std::function<void(int level, const std::array<Grid, 4>& puzzles)>;

// Writes four new puzzles per level as leicht.brd .. extrem.brd into folder, level by level, each
// from its own seed derived from seed, so the same seed gives the same files and a change to one
// level's rule leaves the others alone. False when a level finds no puzzle or its file cannot be
// written; the levels before it are written, the rest are left as they were.
bool RenewPuzzleFiles(const std::filesystem::path& folder, std::uint64_t seed,
                      const PuzzleFileWriter& write = WritePuzzleFile, const LevelWritten& written = {},
                      int extremCandidates = kExtremCandidates, const LevelJudge& judge = {});

}  // namespace tessaro
