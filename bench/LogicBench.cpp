// Solving paths of hard puzzles (rated 7.0 or more): generated minimal Sudoku X puzzles filtered by
// their rating. SolvePath/hard: every path once, counters median and worst in milliseconds.
// NextStep/hard: one step from each position on those paths, median and worst in milliseconds.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "engine/Random.h"
#include "logic/Solver.h"
#include "puzzles/PuzzleGenerator.h"

namespace tessaro::logic {
namespace {

constexpr int kHardPuzzles = 40;
constexpr int kHardRating = 70;

const std::vector<Grid>& HardPuzzles() {
    static const std::vector<Grid> puzzles = [] {
        SeedRandom(16);
        std::vector<Grid> hard;
        int made = 0;
        while (static_cast<int>(hard.size()) < kHardPuzzles) {
            const Grid puzzle = MakeMinimalPuzzle();
            ++made;
            if (SolvePath(puzzle).rating >= kHardRating) hard.push_back(puzzle);
        }
        std::fprintf(stderr, "%d minimal puzzles made for %d rated 7.0 or more\n", made, kHardPuzzles);
        return hard;
    }();
    return puzzles;
}

double Millis(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Report(benchmark::State& state, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["worst_ms"] = times.back();
    state.counters["count"] = static_cast<double>(times.size());
}

void SolvePathHard(benchmark::State& state) {
    const std::vector<Grid>& puzzles = HardPuzzles();
    std::vector<double> times;
    for (auto _ : state) {
        for (const Grid& puzzle : puzzles) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(SolvePath(puzzle));
            times.push_back(Millis(start));
        }
    }
    Report(state, times);
}
BENCHMARK(SolvePathHard)->Name("SolvePath/hard")->Iterations(1)->Unit(benchmark::kMillisecond);

void NextStepHard(benchmark::State& state) {
    std::vector<LogicState> positions;
    for (const Grid& puzzle : HardPuzzles()) {
        LogicState position = *LogicState::FromGrid(puzzle);
        for (const Step& step : SolvePath(puzzle).steps) {
            positions.push_back(position);
            Apply(position, step);
        }
    }
    std::vector<double> times;
    for (auto _ : state) {
        for (const LogicState& position : positions) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(NextStep(position));
            times.push_back(Millis(start));
        }
    }
    Report(state, times);
}
BENCHMARK(NextStepHard)->Name("NextStep/hard")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaro::logic

BENCHMARK_MAIN();
