// The conflict search on the boards a player can meet: the shipped puzzles, half-solved
// positions, the empty and the full board, and a board full of repeats.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "engine/Conflicts.h"
#include "support/ShippedPuzzles.h"
#include "support/SudokuX.h"

namespace tessaro {
namespace {

std::filesystem::path DataDir() {
    return std::filesystem::exists("data/leicht.brd") ? std::filesystem::path("data")
                                                      : std::filesystem::path(TESSARO_SOURCE_DATA_DIR);
}

void Register(const std::string& name, const Grid& board) {
    benchmark::RegisterBenchmark(("FindConflicts/" + name).c_str(), [board](benchmark::State& state) {
        for (auto _ : state) benchmark::DoNotOptimize(FindConflicts(board));
    })->Unit(benchmark::kMicrosecond);
}

}  // namespace
}  // namespace tessaro

int main(int argc, char** argv) {
    using namespace tessaro;
    std::mt19937 rng(5);
    const sx::Cells full = sx::RandomFullGrid(rng);
    for (const auto& puzzle : sx::ShippedPuzzles(DataDir())) {
        Register(puzzle.name, puzzle.givens);
        sx::Cells solution{};
        sx::CountSolutions(sx::GridCells(puzzle.givens), 1, &solution);
        sx::Cells half = sx::GridCells(puzzle.givens);
        for (int i = 0; i < 81; i += 2) half[i] = solution[i];
        Register(puzzle.name + "/half", sx::ToGrid(half));
    }
    Register("empty", Grid{});
    Register("full", sx::ToGrid(full));
    // Every row the same: 9 x 9 repeats in columns, boxes and diagonals.
    Grid repeats{};
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) repeats[At(x, y)] = static_cast<std::uint8_t>(x);
    Register("repeats", repeats);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
