// Logic engine timings on generated minimal Sudoku X puzzles.
//   SolvePath/minimal: the whole path of each of 200 puzzles (uniqueness check included); the
//   counters give median and worst per puzzle in milliseconds, and how many the ladder solved.
//   NextStep/minimal: one step from every position on those paths; median and worst in
//   microseconds.

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

constexpr int kPuzzles = 200;

const std::vector<Grid>& MinimalPuzzles() {
    static const std::vector<Grid> puzzles = [] {
        SeedRandom(7);
        std::vector<Grid> made;
        for (int i = 0; i < kPuzzles; ++i) made.push_back(MakeMinimalPuzzle());
        return made;
    }();
    return puzzles;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

void Report(benchmark::State& state, std::vector<double>& times, double scale) {
    std::sort(times.begin(), times.end());
    state.counters["median"] = times[times.size() / 2] / scale;
    state.counters["p90"] = times[times.size() * 9 / 10] / scale;
    state.counters["worst"] = times.back() / scale;
}

void SolvePathMinimal(benchmark::State& state) {
    std::vector<double> times;
    int solved = 0;
    int hardest = 0;
    for (auto _ : state) {
        for (const Grid& puzzle : MinimalPuzzles()) {
            const auto start = std::chrono::steady_clock::now();
            const SolvingPath path = SolvePath(puzzle);
            times.push_back(Since(start));
            solved += path.verdict == Verdict::Solved;
            hardest = std::max(hardest, path.rating);
        }
    }
    Report(state, times, 1000.0);
    state.counters["solved"] = static_cast<double>(solved) / state.iterations();
    state.counters["hardest"] = hardest / 10.0;
}

void NextStepMinimal(benchmark::State& state) {
    std::vector<double> times;
    for (auto _ : state) {
        for (const Grid& puzzle : MinimalPuzzles()) {
            LogicState position = *LogicState::FromGrid(puzzle);
            while (true) {
                const auto start = std::chrono::steady_clock::now();
                const std::optional<Step> step = NextStep(position);
                times.push_back(Since(start));
                if (!step) break;
                Apply(position, *step);
            }
        }
    }
    Report(state, times, 1.0);
}

BENCHMARK(SolvePathMinimal)->Name("SolvePath/minimal")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(NextStepMinimal)->Name("NextStep/minimal")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tessaro::logic

BENCHMARK_MAIN();
