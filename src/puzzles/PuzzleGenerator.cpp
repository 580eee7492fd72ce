#include "puzzles/PuzzleGenerator.h"


#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "puzzles/SudokuXSolver.h"
#include "engine/BoardObserver.h"
#include "engine/Engine.h"
#include "engine/Random.h"

namespace tessaro {
namespace {

// A level whose rule cannot be met after this many full grids is a generator fault.
constexpr int kMaxAttempts = 5000;

struct CellGroup {
    std::array<int, 2> cells{};
    int size = 0;
};

template <typename T>
void Shuffle(std::vector<T>& items) {
    for (int i = static_cast<int>(items.size()) - 1; i > 0; --i) {
        std::swap(items[i], items[RandomBelow(i + 1)]);
    }
}

// Cell (x, y) and its partner under the half turn, (10 - x, 10 - y); the centre stands alone.
std::vector<CellGroup> SymmetricGroups() {
    std::vector<CellGroup> groups;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            const int cell = At(x, y);
            const int partner = At(10 - x, 10 - y);
            if (cell < partner) groups.push_back({{cell, partner}, 2});
            if (cell == partner) groups.push_back({{cell, cell}, 1});
        }
    }
    Shuffle(groups);
    return groups;
}

std::vector<CellGroup> SingleCells() {
    std::vector<CellGroup> groups;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) groups.push_back({{At(x, y), At(x, y)}, 1});
    }
    Shuffle(groups);
    return groups;
}

// The puzzle is acceptable while clues are still being taken away.
using KeepTest = bool (*)(const Grid& puzzle);

bool SweepsSolve(const Grid& puzzle) {
    if (!SudokuXSolver::HasUniqueSolution(puzzle)) return false;
    const EngineGrade grade = GradeWithEngine(puzzle);
    return grade.solved && !grade.guessed;
}

bool EngineSolves(const Grid& puzzle) {
    return SudokuXSolver::HasUniqueSolution(puzzle) && GradeWithEngine(puzzle).solved;
}

// Takes away the clues of each group in turn, keeping a removal only when keep still holds, until
// at most target clues remain; never goes below minGivens.
void RemoveClues(Grid& puzzle, const std::vector<CellGroup>& groups, int minGivens, int target,
                 KeepTest keep) {
    int givens = CountGivens(puzzle);
    for (const CellGroup& group : groups) {
        if (givens <= target) return;
        if (puzzle[group.cells[0]] == 0 || puzzle[group.cells[1]] == 0) continue;
        if (givens - group.size < minGivens) continue;
        const Grid before = puzzle;
        for (int i = 0; i < group.size; ++i) puzzle[group.cells[i]] = 0;
        if (keep(puzzle)) {
            givens -= group.size;
        } else {
            puzzle = before;
        }
    }
}

}  // namespace

EngineGrade GradeWithEngine(const Grid& clues) {
    BoardModel model;
    Settings settings;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            model.cell(x, y) = clues[At(x, y)];
            model.given(x, y) = clues[At(x, y)];
        }
    }
    settings.difficulty = 0;
    NullObserver observer;
    Engine engine(model, settings);
    engine.SetObserver(&observer);
    engine.SolveBoard();
    return {engine.StatusSolved(), settings.difficulty == kExtrem};
}

bool MeetsLevel(const Grid& clues, int level) {
    const LevelRule& rule = kLevelRules.at(level);
    const int givens = CountGivens(clues);
    if (givens < rule.minGivens || givens > rule.maxGivens) return false;
    if (!SudokuXSolver::HasUniqueSolution(clues)) return false;
    const EngineGrade grade = GradeWithEngine(clues);
    return grade.solved && grade.guessed == rule.needsGuess;
}

Grid MakePuzzle(int level, int* attempts) {
    const LevelRule& rule = kLevelRules.at(level);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        Grid puzzle = SudokuXSolver::RandomFullGrid();
        if (rule.needsGuess) {
            // Take away all the engine can do without, symmetric pairs first, so that the last
            // removals push the puzzle past what the sweeps alone finish.
            RemoveClues(puzzle, SymmetricGroups(), 0, 0, EngineSolves);
            RemoveClues(puzzle, SingleCells(), 0, 0, EngineSolves);
        } else {
            // Easier levels stop at a clue count drawn inside their range; the hardest takes away
            // all it can.
            const int upper = std::min(rule.maxGivens, rule.minGivens + 4);
            const int target =
                rule.minGivens > 0 ? rule.minGivens + RandomBelow(upper - rule.minGivens + 1) : 0;
            RemoveClues(puzzle, SymmetricGroups(), rule.minGivens, target, SweepsSolve);
            if (CountGivens(puzzle) > rule.maxGivens) {
                RemoveClues(puzzle, SingleCells(), rule.minGivens, rule.maxGivens, SweepsSolve);
            }
        }
        if (MeetsLevel(puzzle, level)) {
            if (attempts) *attempts = attempt;
            return puzzle;
        }
    }
    return Grid{};
}

Grid MakeMinimalPuzzle() {
    Grid puzzle = SudokuXSolver::RandomFullGrid();
    RemoveClues(puzzle, SingleCells(), 0, 0, SudokuXSolver::HasUniqueSolution);
    return puzzle;
}

std::array<Grid, 4> MakeLevel(int level, int extremCandidates) {
    std::array<Grid, 4> puzzles{};
    if (!kLevelRules.at(level).needsGuess) {
        for (Grid& puzzle : puzzles) puzzle = MakePuzzle(level);
        return puzzles;
    }
    std::vector<Grid> candidates;
    for (int i = 0; i < std::max<int>(extremCandidates, puzzles.size()); ++i) candidates.push_back(MakePuzzle(level));
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Grid& a, const Grid& b) { return CountGivens(a) < CountGivens(b); });
    std::copy_n(candidates.begin(), puzzles.size(), puzzles.begin());
    return puzzles;
}

PuzzleRecord MakeRecord(const Grid& clues) {
    PuzzleRecord record{};
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            record[At(x, y)] = clues[At(x, y)];
            record[100 + At(x, y)] = clues[At(x, y)];
        }
    }
    for (int i = 1200; i < kPuzzleRecordSize; ++i) record[i] = static_cast<std::uint8_t>(1 + RandomBelow(9));
    return record;
}

std::string PuzzleFileBytes(const std::array<Grid, 4>& puzzles) {
    std::string bytes;
    for (const Grid& puzzle : puzzles) {
        const PuzzleRecord record = MakeRecord(puzzle);
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    return bytes;
}

bool WritePuzzleFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool RenewPuzzleFiles(const std::filesystem::path& folder, std::uint64_t seed, const PuzzleFileWriter& write,
                      const LevelWritten& written, int extremCandidates) {
    for (int level = 0; level < 4; ++level) {
        SeedRandom(seed * 4 + static_cast<std::uint64_t>(level));
        const std::array<Grid, 4> puzzles = MakeLevel(level, extremCandidates);
        for (const Grid& puzzle : puzzles) {
            if (!MeetsLevel(puzzle, level)) return false;
        }
        if (!write(folder / std::string(kPuzzleFiles[level]), PuzzleFileBytes(puzzles))) return false;
        if (written) written(level, puzzles);
    }
    return true;
}

}  // namespace tessaro
