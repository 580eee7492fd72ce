// T, direct entry and the cursor as the player meets them: the key reaches the running game loop
// and the pending paint is done. HintAlongHardPaths presses T alone through whole hard puzzles
// (generated, rated 7.0 or more), timing every press: counters median and worst in milliseconds,
// wall clock and CPU. HintOnScreen repeats T on positions of the shipped Extrem puzzles.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <vector>

#include "display/ClientArea.h"
#include "display/Display.h"
#include "engine/Engine.h"
#include "engine/Random.h"
#include "interaction/Interaction.h"
#include "logic/Solver.h"
#include "puzzles/PuzzleGenerator.h"
#include "shell/Game.h"
#include "shell/MainWindow.h"
#include "support/ShippedPuzzles.h"

namespace tessaro {
namespace {

Game* game = nullptr;
MainWindow* window = nullptr;

std::filesystem::path DataDir() {
    return std::filesystem::exists("data/extrem.brd") ? std::filesystem::path("data")
                                                      : std::filesystem::path(TESSARO_SOURCE_DATA_DIR);
}

void Tap(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Interaction& interaction = window->interaction();
    if (!interaction.CursorKeyPressed(key, modifiers, false)) {
        interaction.KeyPressed(key, false);
        interaction.KeyReleased(key, false);
    }
    QCoreApplication::processEvents();
}

// The board of the puzzle with the first `share` of its path's placements entered.
Grid Position(const Grid& givens, double share) {
    const logic::SolvingPath path = logic::SolvePath(givens);
    Grid board = givens;
    const auto steps = static_cast<std::size_t>(share * static_cast<double>(path.steps.size()));
    for (std::size_t k = 0; k < steps; ++k)
        for (const logic::Candidate& c : path.steps[k].placements) board[At(c.cell % 9 + 1, c.cell / 9 + 1)] = c.digit;
    return board;
}

void SetBoard(const Grid& givens, const Grid& board) {
    game->engine.SetPuzzle(givens);
    for (int at = 0; at < 100; ++at)
        if (board[at] != givens[at]) game->engine.EnterSymbol(at % 10, at / 10, board[at]);
}

void BM_HintOnScreen(benchmark::State& state, Grid givens, double share) {
    SetBoard(givens, Position(givens, share));
    for (auto _ : state) {
        Tap(Qt::Key_T);
        state.PauseTiming();
        window->display().RedrawBoard();  // takes the hint away
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

double Millis(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double CpuMillis(std::clock_t start) { return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

void BM_HintAlongHardPaths(benchmark::State& state) {
    SeedRandom(16);
    std::vector<Grid> hard;
    while (hard.size() < 10) {
        const Grid puzzle = MakeMinimalPuzzle();
        if (logic::SolvePath(puzzle).rating >= 70) hard.push_back(puzzle);
    }
    std::vector<double> wall;
    std::vector<double> cpu;
    for (auto _ : state) {
        for (const Grid& puzzle : hard) {
            game->engine.SetPuzzle(puzzle);
            for (int press = 0; press < 1000 && !game->engine.StatusSolved(); ++press) {
                const auto start = std::chrono::steady_clock::now();
                const std::clock_t cpuStart = std::clock();
                Tap(Qt::Key_T);
                wall.push_back(Millis(start));
                cpu.push_back(CpuMillis(cpuStart));
            }
            if (!game->engine.StatusSolved()) state.SkipWithError("T alone did not solve a puzzle");
        }
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    state.counters["presses"] = static_cast<double>(wall.size());
    state.counters["median_ms"] = wall[wall.size() / 2];
    state.counters["worst_ms"] = wall.back();
    state.counters["cpu_median_ms"] = cpu[cpu.size() / 2];
    state.counters["cpu_worst_ms"] = cpu.back();
}
BENCHMARK(BM_HintAlongHardPaths)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_DirectEntry(benchmark::State& state) {
    game->engine.ClearBoard();
    Tap(Qt::Key_Down);
    int digit = 0;
    for (auto _ : state) Tap(Qt::Key_0 + (++digit % 2 == 0 ? 0 : 5));
}
BENCHMARK(BM_DirectEntry)->Unit(benchmark::kMicrosecond);

void BM_CursorStep(benchmark::State& state) {
    Tap(Qt::Key_Down);
    int step = 0;
    for (auto _ : state) Tap(++step % 2 ? Qt::Key_Right : Qt::Key_Left);
}
BENCHMARK(BM_CursorStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessaro

int main(int argc, char** argv) {
    using namespace tessaro;
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Game theGame;
    MainWindow theWindow(theGame);
    game = &theGame;
    window = &theWindow;
    theWindow.show();
    for (const auto& puzzle : sx::ShippedPuzzles(DataDir())) {
        if (puzzle.name.rfind("extrem", 0) != 0) continue;
        for (double share : {0.0, 0.3, 0.6}) {
            benchmark::RegisterBenchmark(("HintOnScreen/" + puzzle.name + "/" + std::to_string(int(share * 100))).c_str(),
                                         BM_HintOnScreen, puzzle.givens, share)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Inside the game loop, as the keys arrive in play.
    QTimer::singleShot(0, [&] {
        benchmark::RunSpecifiedBenchmarks();
        theWindow.interaction().RequestLeave();
        Tap(Qt::Key_Escape);
    });
    theWindow.interaction().GameModeLoop();
    benchmark::Shutdown();
    return 0;
}
