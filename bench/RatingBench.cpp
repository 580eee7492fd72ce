// The rating commands and the rated levels, on both cores.
//   RatePuzzleLines/200hard: what `tessaro --bewerten` does with 200 generated minimal puzzles rated
//   7.0 or more (output to /dev/null); wall and processor seconds.
//   Renew/rated: the four puzzle files renewed with the rated levels, as `tessaro --neue-raetsel`
//   does; wall and processor seconds per renewal, and on stderr the ratings written per level.
//   Shares/extrem-candidates: how 100 Extrem candidates of the unrated rule (the engine must guess)
//   spread over the ratings, on stderr.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "engine/Random.h"
#include "logic/CommandLine.h"
#include "logic/RatedLevels.h"
#include "logic/Solver.h"
#include "puzzles/Exchange.h"
#include "puzzles/PuzzleGenerator.h"

namespace tessaro::logic {
namespace {

constexpr int kHardPuzzles = 200;
constexpr int kHardRating = 70;

std::string HardPuzzleLines() {
    SeedRandom(12);
    std::string lines;
    int made = 0;
    for (int hard = 0; hard < kHardPuzzles; ++made) {
        const Grid puzzle = MakeMinimalPuzzle();
        if (SolvePath(puzzle).rating < kHardRating) continue;
        lines += GivensLine(puzzle) + '\n';
        ++hard;
    }
    std::fprintf(stderr, "%d minimal puzzles made for %d rated 7.0 or more\n", made, kHardPuzzles);
    return lines;
}

struct Clocks {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();  // all threads of the process
    double WallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double CpuSeconds() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

void RateHard(benchmark::State& state) {
    static const std::string lines = HardPuzzleLines();
    std::FILE* sink = std::fopen("/dev/null", "w");
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        std::istringstream in(lines);
        const Clocks clocks;
        if (RatePuzzleLines(in, sink, stderr) != 0) state.SkipWithError("a puzzle was refused");
        wall += clocks.WallSeconds();
        cpu += clocks.CpuSeconds();
    }
    std::fclose(sink);
    state.counters["wall_s"] = wall / state.iterations();
    state.counters["cpu_s"] = cpu / state.iterations();
}
BENCHMARK(RateHard)->Name("RatePuzzleLines/200hard")->Iterations(3)->Unit(benchmark::kMillisecond);

void RenewRated(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessaro-rated-bench";
    std::filesystem::create_directories(folder);
    std::map<int, std::map<int, int>> written;  // level -> rating -> puzzles
    const auto count = [&written](int level, const std::array<Grid, 4>& puzzles) {
        for (const Grid& puzzle : puzzles) ++written[level][SolvePath(puzzle).rating];
    };
    double wall = 0;
    double cpu = 0;
    std::uint64_t seed = 1;
    for (auto _ : state) {
        const Clocks clocks;
        if (!RenewPuzzleFiles(folder, seed++, WritePuzzleFile, count, kExtremCandidates, RatedLevelJudge({}))) {
            state.SkipWithError("renewal failed");
        }
        wall += clocks.WallSeconds();
        cpu += clocks.CpuSeconds();  // includes counting the ratings, which is small
    }
    std::filesystem::remove_all(folder);
    state.counters["wall_s"] = wall / state.iterations();
    state.counters["cpu_s"] = cpu / state.iterations();
    for (const auto& [level, ratings] : written) {
        std::fprintf(stderr, "%s:", std::string(kPuzzleFiles[level]).c_str());
        for (const auto& [rating, puzzles] : ratings) std::fprintf(stderr, " %s×%d", RatingText(rating).c_str(), puzzles);
        std::fprintf(stderr, "\n");
    }
}
BENCHMARK(RenewRated)->Name("Renew/rated")->Iterations(3)->Unit(benchmark::kMillisecond);

void ExtremCandidateShares(benchmark::State& state) {
    std::map<int, int> shares;
    for (auto _ : state) {
        SeedRandom(5);
        for (int i = 0; i < 100; ++i) {
            const SolvingPath path = SolvePath(MakePuzzle(3));
            ++shares[path.verdict == Verdict::Solved ? path.rating : 0];
        }
    }
    std::fprintf(stderr, "Extrem candidates by rating (0.0 = not solved):");
    for (const auto& [rating, count] : shares) std::fprintf(stderr, " %s×%d", RatingText(rating).c_str(), count);
    std::fprintf(stderr, "\n");
}
BENCHMARK(ExtremCandidateShares)->Name("Shares/extrem-candidates")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaro::logic

BENCHMARK_MAIN();
