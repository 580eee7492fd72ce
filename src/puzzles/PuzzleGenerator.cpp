#include "puzzles/PuzzleGenerator.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "puzzles/SudokuXSolver.h"
#include "engine/BoardObserver.h"
#include "engine/Engine.h"
#include "engine/Random.h"

namespace tessaro {
namespace {

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
using KeepTest = std::function<bool(const Grid& puzzle)>;

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
                 const KeepTest& keep) {
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

// A random neighbour of the puzzle: one clue of the solution added, one taken away, or both.
Grid Neighbour(const Grid& puzzle, const Grid& solution) {
    std::vector<int> clues;
    std::vector<int> empty;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) (puzzle[At(x, y)] ? clues : empty).push_back(At(x, y));
    }
    Grid next = puzzle;
    const int move = RandomBelow(3);
    if (move != 1 && !clues.empty()) next[clues[RandomBelow(static_cast<int>(clues.size()))]] = 0;
    if (move != 0 && !empty.empty()) {
        const int cell = empty[RandomBelow(static_cast<int>(empty.size()))];
        next[cell] = solution[cell];
    }
    return next;
}

// Walks from a puzzle of the level's rule toward one the judge accepts, through neighbours that
// keep the rule and come no farther from acceptance; nothing when kWalkSteps do not get there.
std::optional<Grid> WalkToAccepted(Grid puzzle, const Grid& solution, int level, const LevelJudge& judge) {
    int nearness = judge.nearness(level, puzzle);
    for (int step = 0; step < kWalkSteps && nearness >= 0; ++step) {
        if (nearness == LevelJudge::kAccepted) return puzzle;
        const Grid next = Neighbour(puzzle, solution);
        if (!MeetsLevel(next, level, judge)) continue;
        const int near = judge.nearness(level, next);
        if (near >= nearness) {
            puzzle = next;
            nearness = near;
        }
    }
    return nearness == LevelJudge::kAccepted ? std::optional<Grid>(puzzle) : std::nullopt;
}

// One full grid with clues taken away as the level asks; nothing when it misses the level.
std::optional<Grid> TryPuzzle(int level, const LevelJudge& judge) {
    const LevelRule& rule = kLevelRules.at(level);
    const auto judged = [&](bool (*test)(const Grid&)) {
        return [&judge, level, test](const Grid& puzzle) {
            return test(puzzle) && (!judge.keeps || judge.keeps(level, puzzle));
        };
    };
    const Grid solution = SudokuXSolver::RandomFullGrid();
    Grid puzzle = solution;
    if (rule.needsGuess) {
        // Take away all the engine can do without (or, beyond its guess, all the unique solution
        // can), symmetric pairs first, so that the last removals push the puzzle past what the
        // sweeps alone finish.
        const auto keep = judged(judge.beyondGuess ? SudokuXSolver::HasUniqueSolution : EngineSolves);
        RemoveClues(puzzle, SymmetricGroups(), 0, 0, keep);
        RemoveClues(puzzle, SingleCells(), 0, 0, keep);
    } else {
        // Easier levels stop at a clue count drawn inside their range; the hardest takes away
        // all it can.
        const int upper = std::min(rule.maxGivens, rule.minGivens + 4);
        const int target = rule.minGivens > 0 ? rule.minGivens + RandomBelow(upper - rule.minGivens + 1) : 0;
        RemoveClues(puzzle, SymmetricGroups(), rule.minGivens, target, judged(SweepsSolve));
        if (CountGivens(puzzle) > rule.maxGivens) {
            RemoveClues(puzzle, SingleCells(), rule.minGivens, rule.maxGivens, judged(SweepsSolve));
        }
    }
    if (!MeetsLevel(puzzle, level, judge)) return std::nullopt;
    if (judge.nearness) return WalkToAccepted(puzzle, solution, level, judge);
    if (judge.accepts && !judge.accepts(level, puzzle)) return std::nullopt;
    return puzzle;
}

// The seed of full grid `attempt` of a level (splitmix64 of both), so attempts are independent.
std::uint64_t AttemptSeed(std::uint64_t levelSeed, int attempt) {
    std::uint64_t z = levelSeed * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(attempt) + 1;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// The first `wanted` accepted puzzles of attempts 0, 1, 2 … (all accepted ones when kMaxAttempts
// run out first), worked on by one thread per core. Threads stop once the attempts finished
// without a gap hold enough, so the result does not depend on the threads' timing.
std::vector<Grid> AcceptedPuzzles(int level, std::uint64_t levelSeed, int wanted, const LevelJudge& judge) {
    std::mutex mutex;
    std::vector<Grid> accepted;                   // from the attempts finished without a gap
    int prefixEnd = 0;                            // the first attempt not yet in that prefix
    std::map<int, std::optional<Grid>> finished;  // attempts finished beyond it
    int nextAttempt = 0;
    const auto deadline = std::chrono::steady_clock::now() + kWalkedLevelTimeLimit;
    const auto work = [&] {
        for (;;) {
            int attempt = 0;
            {
                const std::lock_guard lock(mutex);
                if (static_cast<int>(accepted.size()) >= wanted || nextAttempt >= kMaxAttempts) return;
                if (judge.nearness && std::chrono::steady_clock::now() > deadline) return;
                attempt = nextAttempt++;
            }
            SeedRandom(AttemptSeed(levelSeed, attempt));
            std::optional<Grid> puzzle = TryPuzzle(level, judge);
            const std::lock_guard lock(mutex);
            finished[attempt] = std::move(puzzle);
            while (!finished.empty() && finished.begin()->first == prefixEnd) {
                if (finished.begin()->second && static_cast<int>(accepted.size()) < wanted) {
                    accepted.push_back(*finished.begin()->second);
                }
                finished.erase(finished.begin());
                ++prefixEnd;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < std::thread::hardware_concurrency(); ++i) helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers) helper.join();
    return accepted;
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
    NullObserver observer;
    Engine engine(model, settings);
    engine.SetObserver(&observer);
    const bool guessed = engine.SolveBoard();
    return {engine.StatusSolved(), guessed};
}

bool MeetsLevel(const Grid& clues, int level, const LevelJudge& judge) {
    const LevelRule& rule = kLevelRules.at(level);
    const int givens = CountGivens(clues);
    if (givens < rule.minGivens || givens > rule.maxGivens) return false;
    if (!SudokuXSolver::HasUniqueSolution(clues)) return false;
    const EngineGrade grade = GradeWithEngine(clues);
    return (grade.solved || (rule.needsGuess && judge.beyondGuess)) && grade.guessed == rule.needsGuess;
}

Grid MakePuzzle(int level, int* attempts, const LevelJudge& judge) {
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        if (std::optional<Grid> puzzle = TryPuzzle(level, judge)) {
            if (attempts) *attempts = attempt;
            return *puzzle;
        }
    }
    return Grid{};
}

Grid MakeMinimalPuzzle() {
    Grid puzzle = SudokuXSolver::RandomFullGrid();
    RemoveClues(puzzle, SingleCells(), 0, 0, SudokuXSolver::HasUniqueSolution);
    return puzzle;
}

std::optional<std::array<Grid, 4>> MakeLevel(int level, std::uint64_t seed, int extremCandidates,
                                             const LevelJudge& judge) {
    const bool sparsest = kLevelRules.at(level).needsGuess;
    std::vector<Grid> accepted = AcceptedPuzzles(level, seed, sparsest ? std::max(extremCandidates, 4) : 4, judge);
    if (accepted.size() < 4) return std::nullopt;
    if (sparsest) {
        std::stable_sort(accepted.begin(), accepted.end(),
                         [](const Grid& a, const Grid& b) { return CountGivens(a) < CountGivens(b); });
    }
    std::array<Grid, 4> puzzles{};
    std::copy_n(accepted.begin(), puzzles.size(), puzzles.begin());
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
                      const LevelWritten& written, int extremCandidates, const LevelJudge& judge) {
    for (int level = 0; level < 4; ++level) {
        const std::uint64_t levelSeed = seed * 4 + static_cast<std::uint64_t>(level);
        const std::optional<std::array<Grid, 4>> puzzles = MakeLevel(level, levelSeed, extremCandidates, judge);
        if (!puzzles) return false;
        for (const Grid& puzzle : *puzzles) {
            if (!MeetsLevel(puzzle, level, judge)) return false;
        }
        SeedRandom(levelSeed);  // the records' filler bytes
        if (!write(folder / std::string(kPuzzleFiles[level]), PuzzleFileBytes(*puzzles))) return false;
        if (written) written(level, *puzzles);
    }
    return true;
}

}  // namespace tessaro
