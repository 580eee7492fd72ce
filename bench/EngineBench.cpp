// Engine timings, each on the fast admissibility path and on the literal whole-board trial.
// Run from the project root or anywhere: the shipped puzzle files are looked for in ./data and in
// the source tree's data folder.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/Rules.h"
#include "support/SudokuX.h"

namespace tessaro {
namespace {

constexpr int kRecordSize = 2200;
constexpr int kGivensOffset = 100;

struct Puzzle {
    std::string name;
    Grid givens{};
};

// A puzzle the sweeps alone finish, with about 30 givens.
Puzzle SinglesPuzzle() {
    std::mt19937 rng(1);
    const sx::Cells full = sx::RandomFullGrid(rng);
    Puzzle puzzle{"generated/singles"};
    BoardModel model;
    sx::Load(model, sx::SinglesPuzzle(full, 30, rng));
    puzzle.givens = model.givens;
    return puzzle;
}

// A unique puzzle with about 24 givens that the sweeps leave open and one guess finishes.
Puzzle GuessPuzzle() {
    for (unsigned seed = 1;; ++seed) {
        std::mt19937 rng(seed);
        const sx::Cells full = sx::RandomFullGrid(rng);
        const sx::Cells givens = sx::UniquePuzzle(full, 24, rng);
        BoardModel model;
        Settings settings;
        sx::Load(model, givens);
        Engine engine(model, settings);
        engine.SolveBoard();
        if (settings.difficulty == kExtrem && engine.StatusSolved()) {
            sx::Load(model, givens);
            return {"generated/guess", model.givens};
        }
    }
}

std::vector<Puzzle> ShippedPuzzles() {
    std::vector<Puzzle> puzzles;
    namespace fs = std::filesystem;
    fs::path dir = "data";
    if (!fs::exists(dir / "leicht.brd")) dir = TESSARO_SOURCE_DATA_DIR;
    for (std::string_view file : kPuzzleFiles) {
        std::ifstream in(dir / file, std::ios::binary);
        std::vector<char> record(kRecordSize);
        for (int n = 0; in.read(record.data(), kRecordSize); ++n) {
            Puzzle puzzle{std::string(file) + "/" + std::to_string(n)};
            bool sound = true;
            for (int i = 0; i < 100; ++i) {
                const auto value = static_cast<std::uint8_t>(record[kGivensOffset + i]);
                sound = sound && value <= 9;
                puzzle.givens[i] = value;
            }
            if (sound) puzzles.push_back(puzzle);
        }
    }
    return puzzles;
}

void SolveFromGivens(benchmark::State& state, const Puzzle& puzzle, bool literal) {
    BoardModel model;
    Settings settings;
    Engine engine(model, settings);
    engine.UseLiteralAdmissible(literal);
    for (auto _ : state) {
        model.board = puzzle.givens;
        model.givens = puzzle.givens;
        engine.ModelReplaced();
        settings.difficulty = 0;
        engine.SolveBoard();
        benchmark::DoNotOptimize(model.board);
    }
    state.counters["solved"] = engine.StatusSolved() ? 1 : 0;
    state.counters["guessed"] = settings.difficulty == kExtrem ? 1 : 0;
}

// About half the cells of a valid board filled.
Grid HalfFilled() {
    std::mt19937 rng(3);
    BoardModel model;
    sx::Load(model, sx::KeepRandom(sx::RandomFullGrid(rng), 40, rng));
    return model.board;
}

int FilledCell(const Grid& board) {
    int i = At(1, 1);
    while (board[i] == 0) ++i;
    return i;
}

void ComputeCandidatesHalfFilled(benchmark::State& state, bool literal) {
    BoardModel model;
    Settings settings;
    settings.showCandidates = true;
    model.board = HalfFilled();
    Engine engine(model, settings);
    engine.UseLiteralAdmissible(literal);
    const int toggled = FilledCell(model.board);
    const std::uint8_t value = model.board[toggled];
    for (auto _ : state) {
        // A cell changes between two computations.
        model.board[toggled] = model.board[toggled] == 0 ? value : 0;
        engine.ModelReplaced();
        engine.ComputeCandidates();
        benchmark::DoNotOptimize(model.candidates);
    }
}

void CheckHalfFilled(benchmark::State& state, bool literal) {
    BoardModel model;
    model.board = HalfFilled();
    AdmissibilityIndex index;
    const int toggled = FilledCell(model.board);
    const std::uint8_t value = model.board[toggled];
    for (auto _ : state) {
        // A different board each time, so nothing is answered from a previous look.
        model.board[toggled] = model.board[toggled] == 0 ? value : 0;
        const bool valid = literal ? CheckBoard(model) : index.BoardValid(model.board);
        benchmark::DoNotOptimize(valid);
    }
}

// The undo history of a long game: one entry per entered or cleared symbol.
void HistoryOfTenThousandChanges(benchmark::State& state) {
    for (auto _ : state) {
        BoardModel model;
        Settings settings;
        Engine engine(model, settings);
        for (int i = 0; i < 10000; ++i) {
            const int x = 1 + i % 9;
            const int y = 1 + i / 9 % 9;
            engine.EnterSymbol(x, y, model.cell(x, y) == 0 ? 1 + i % 9 : 0);
        }
        state.counters["bytes"] = static_cast<double>(engine.Moves().Bytes());
        state.counters["entries"] = static_cast<double>(engine.Moves().Entries());
    }
}

}  // namespace
}  // namespace tessaro

int main(int argc, char** argv) {
    using namespace tessaro;
    std::vector<Puzzle> puzzles{SinglesPuzzle(), GuessPuzzle()};
    for (const Puzzle& p : ShippedPuzzles()) puzzles.push_back(p);
    for (const Puzzle& p : puzzles) {
        for (bool literal : {false, true}) {
            benchmark::RegisterBenchmark(("SolveBoard/" + p.name + (literal ? "/literal" : "/fast")).c_str(),
                                         [p, literal](benchmark::State& s) { SolveFromGivens(s, p, literal); })
                ->Unit(benchmark::kMicrosecond);
        }
    }
    for (bool literal : {false, true}) {
        const std::string mode = literal ? "/literal" : "/fast";
        benchmark::RegisterBenchmark(("ComputeCandidates/half" + mode).c_str(),
                                     [literal](benchmark::State& s) { ComputeCandidatesHalfFilled(s, literal); })
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("CheckBoard/half" + mode).c_str(),
                                     [literal](benchmark::State& s) { CheckHalfFilled(s, literal); });
    }
    benchmark::RegisterBenchmark("History/10000changes", HistoryOfTenThousandChanges)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
