// Puzzle exchange and renewal timings.
//   Validate/minimal: a pasted line read and checked (rules and uniqueness) for each of 1,000
//   generated minimal Sudoku X puzzles with 12..20 givens; the counters give the median and the
//   worst single check in microseconds.
//   Renew/all: the four puzzle files written afresh into a scratch folder.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "puzzles/Exchange.h"
#include "puzzles/PuzzleGenerator.h"
#include "puzzles/SudokuXSolver.h"
#include "engine/Random.h"

namespace tessaro {
namespace {

constexpr int kPuzzles = 1000;

std::vector<std::string> MinimalPuzzleLines() {
    SeedRandom(7);
    std::vector<std::string> lines;
    int made = 0;
    while (static_cast<int>(lines.size()) < kPuzzles) {
        BoardModel model;
        model.givens = MakeMinimalPuzzle();
        ++made;
        const int givens = CountGivens(model.givens);
        if (givens >= 12 && givens <= 20) lines.push_back(GivensLine(model));
    }
    std::fprintf(stderr, "%d minimal puzzles made for %d with 12..20 givens\n", made, kPuzzles);
    return lines;
}

double ThreadMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

// Each check is timed on the wall clock and in this thread's processor time; on a busy machine
// the wall clock also counts the time other processes had the processor.
void ValidateMinimal(benchmark::State& state) {
    static const std::vector<std::string> lines = MinimalPuzzleLines();
    std::vector<double> wall;
    std::vector<double> cpu;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            const auto start = std::chrono::steady_clock::now();
            const double startCpu = ThreadMicros();
            const PuzzleReading reading = ReadPuzzle(line);
            cpu.push_back(ThreadMicros() - startCpu);
            wall.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
            benchmark::DoNotOptimize(reading);
            if (!reading.ok()) state.SkipWithError(reading.error.c_str());
        }
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    state.counters["median_us"] = wall[wall.size() / 2];
    state.counters["worst_us"] = wall.back();
    state.counters["cpu_median_us"] = cpu[cpu.size() / 2];
    state.counters["cpu_worst_us"] = cpu.back();
}

void RenewAll(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessaro-renew-bench";
    std::filesystem::create_directories(folder);
    std::uint64_t seed = 1;
    for (auto _ : state) {
        if (!RenewPuzzleFiles(folder, seed++)) state.SkipWithError("renewal failed");
    }
    std::filesystem::remove_all(folder);
}

BENCHMARK(ValidateMinimal)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RenewAll)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tessaro

BENCHMARK_MAIN();
