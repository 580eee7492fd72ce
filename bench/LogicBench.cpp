// Solving paths of hard puzzles (rated 7.0 or more): generated minimal Sudoku X puzzles filtered by
// their rating. SolvePath/hard: every path once, counters median and worst in milliseconds.
// NextStep/hard: one step from each position on those paths, median and worst in milliseconds.
// Each is timed on the wall clock and in this thread's processor time (the _cpu counters): on a
// busy machine the wall clock also counts the time other processes had the processor. The _cpu
// counters leave out the spare core that shares a forcing chain's nets; _all_cpu counts it too.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
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

double CpuMillis(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Times {
    std::vector<double> wall, cpu, allCpu;
    template <class F>
    void Measure(F&& f) {
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = CpuMillis(CLOCK_THREAD_CPUTIME_ID), startAll = CpuMillis(CLOCK_PROCESS_CPUTIME_ID);
        f();
        cpu.push_back(CpuMillis(CLOCK_THREAD_CPUTIME_ID) - startCpu);
        allCpu.push_back(CpuMillis(CLOCK_PROCESS_CPUTIME_ID) - startAll);
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
};

void Report(benchmark::State& state, Times times) {
    for (auto* list : {&times.wall, &times.cpu, &times.allCpu}) std::sort(list->begin(), list->end());
    state.counters["median_ms"] = times.wall[times.wall.size() / 2];
    state.counters["worst_ms"] = times.wall.back();
    state.counters["median_cpu_ms"] = times.cpu[times.cpu.size() / 2];
    state.counters["worst_cpu_ms"] = times.cpu.back();
    state.counters["median_all_cpu_ms"] = times.allCpu[times.allCpu.size() / 2];
    state.counters["count"] = static_cast<double>(times.wall.size());
}

void SolvePathHard(benchmark::State& state) {
    const std::vector<Grid>& puzzles = HardPuzzles();
    Times times;
    for (auto _ : state) {
        for (const Grid& puzzle : puzzles) times.Measure([&] { benchmark::DoNotOptimize(SolvePath(puzzle)); });
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
    Times times;
    for (auto _ : state) {
        for (const LogicState& position : positions) times.Measure([&] { benchmark::DoNotOptimize(NextStep(position)); });
    }
    Report(state, times);
}
BENCHMARK(NextStepHard)->Name("NextStep/hard")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaro::logic

BENCHMARK_MAIN();
