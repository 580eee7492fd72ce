// Logic engine timings on generated minimal Sudoku X puzzles.
//   SolvePath/minimal: the whole path of each of 200 puzzles (uniqueness check included); the
//   counters give median, 90th percentile and worst per puzzle in milliseconds (wall clock and
//   thread time), how many the ladder solved and the highest rating.
//   NextStep/minimal: one step from every position on those paths; median, 90th percentile and
//   worst in microseconds.
//   BelowChains/minimal: the same positions asked only the rungs below the chains (what every
//   chain step pays first).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>
#include <string>
#include <utility>
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

// Wall clock and this thread's processor time, in microseconds; on a busy machine the wall clock
// also counts the time other processes had the processor.
struct Clock {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = ThreadMicros();

    static double ThreadMicros() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
    }
    void Record(std::vector<double>& walls, std::vector<double>& cpus) const {
        walls.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - wall).count());
        cpus.push_back(ThreadMicros() - cpu);
    }
};

void Report(benchmark::State& state, std::vector<double>& walls, std::vector<double>& cpus, double scale) {
    for (auto [times, prefix] : {std::pair{&walls, ""}, std::pair{&cpus, "cpu_"}}) {
        std::sort(times->begin(), times->end());
        state.counters[std::string(prefix) + "median"] = (*times)[times->size() / 2] / scale;
        state.counters[std::string(prefix) + "p90"] = (*times)[times->size() * 9 / 10] / scale;
        state.counters[std::string(prefix) + "worst"] = times->back() / scale;
    }
}

void SolvePathMinimal(benchmark::State& state) {
    std::vector<double> walls, cpus;
    int solved = 0;
    int hardest = 0;
    for (auto _ : state) {
        for (const Grid& puzzle : MinimalPuzzles()) {
            const Clock clock;
            const SolvingPath path = SolvePath(puzzle);
            clock.Record(walls, cpus);
            solved += path.verdict == Verdict::Solved;
            hardest = std::max(hardest, path.rating);
        }
    }
    Report(state, walls, cpus, 1000.0);
    state.counters["solved"] = static_cast<double>(solved) / state.iterations();
    state.counters["hardest"] = hardest / 10.0;
}

// Times NextStep with the rungs below maxDifficulty at every position of every path.
void StepsMinimal(benchmark::State& state, int maxDifficulty) {
    std::vector<double> walls, cpus;
    for (auto _ : state) {
        for (const Grid& puzzle : MinimalPuzzles()) {
            LogicState position = *LogicState::FromGrid(puzzle);
            while (true) {
                const Clock clock;
                benchmark::DoNotOptimize(NextStep(position, maxDifficulty));
                clock.Record(walls, cpus);
                const std::optional<Step> step = NextStep(position);
                if (!step) break;
                Apply(position, *step);
            }
        }
    }
    Report(state, walls, cpus, 1.0);
}

void NextStepMinimal(benchmark::State& state) { StepsMinimal(state, std::numeric_limits<int>::max()); }
void BelowChainsMinimal(benchmark::State& state) { StepsMinimal(state, Info(Technique::XCycle).difficulty); }

BENCHMARK(SolvePathMinimal)->Name("SolvePath/minimal")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(NextStepMinimal)->Name("NextStep/minimal")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BelowChainsMinimal)->Name("BelowChains/minimal")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tessaro::logic

BENCHMARK_MAIN();
