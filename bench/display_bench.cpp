// Drawing costs of the main window: whole-board redraws, the start screen, the whole screen at
// another size and the picker.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "display/BoardAccessible.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "engine/Engine.h"

namespace tessaro {
namespace {

// A solved Sudoku X board, row by row.
Grid SolvedBoard() {
    static constexpr int kRows[9][9] = {
        {1, 2, 3, 4, 5, 6, 7, 8, 9}, {4, 5, 6, 7, 8, 9, 1, 2, 3}, {7, 8, 9, 1, 2, 3, 4, 5, 6},
        {2, 1, 4, 3, 6, 5, 8, 9, 7}, {3, 6, 8, 9, 7, 2, 5, 1, 4}, {5, 9, 7, 8, 1, 4, 6, 3, 2},
        {9, 4, 1, 6, 3, 8, 2, 7, 5}, {8, 3, 2, 5, 4, 7, 9, 6, 1}, {6, 7, 5, 2, 9, 1, 3, 4, 8}};
    Grid board{};
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) board[At(x, y)] = static_cast<std::uint8_t>(kRows[y - 1][x - 1]);
    return board;
}

struct Scene {
    BoardModel model;
    Settings settings;
    Engine engine{model, settings};
    DisplayState state;
    ClientArea area;
    Display display{area, model, settings, engine, state};

    explicit Scene(qreal ratio) {
        area.AllocateImage(ratio);
        display.SetBeepHandler([] {});
        display.DrawStartScreen();
    }
    // A third of the cells given, the rest empty.
    void Puzzle() {
        const Grid solution = SolvedBoard();
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y)
                if ((x + 2 * y) % 3 == 0) model.given(x, y) = model.cell(x, y) = solution[At(x, y)];
    }
};

void BM_RedrawBoardFull(benchmark::State& st) {
    Scene scene(static_cast<qreal>(st.range(0)));
    scene.model.board = scene.model.givens = SolvedBoard();
    for (auto _ : st) scene.display.RedrawBoard();
}
BENCHMARK(BM_RedrawBoardFull)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_RedrawBoardShownCandidates(benchmark::State& st) {
    Scene scene(static_cast<qreal>(st.range(0)));
    scene.Puzzle();
    scene.settings.showCandidates = true;
    for (auto _ : st) scene.display.RedrawBoard();
}
BENCHMARK(BM_RedrawBoardShownCandidates)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Every empty cell with all nine marks: the most a redraw can write.
void BM_RedrawBoardAllMarks(benchmark::State& st) {
    Scene scene(static_cast<qreal>(st.range(0)));
    scene.Puzzle();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            for (int d = 1; d <= 9; ++d) scene.model.mark(x, y, d) = true;
    for (auto _ : st) scene.display.RedrawBoard();
}
BENCHMARK(BM_RedrawBoardAllMarks)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_DrawStartScreen(benchmark::State& st) {
    Scene scene(1.0);
    for (auto _ : st) scene.display.DrawStartScreen();
}
BENCHMARK(BM_DrawStartScreen)->Unit(benchmark::kMicrosecond);

// What an enlarged window costs once its size settles: the whole screen drawn again, at the scale
// in hundredths (the board a third given, with its marks).
void BM_RedrawScreenForSize(benchmark::State& st) {
    Scene scene(static_cast<qreal>(st.range(0)) / 100);
    scene.Puzzle();
    scene.settings.showCandidates = true;
    scene.display.RedrawBoard();
    for (auto _ : st) scene.display.RedrawScreen();
}
BENCHMARK(BM_RedrawScreenForSize)->Arg(100)->Arg(150)->Arg(250)->Unit(benchmark::kMillisecond);

void BM_PickerHover(benchmark::State& st) {
    Scene scene(1.0);
    int item = 0;
    for (auto _ : st) {
        scene.state.hoveredItem = item++ % 9 + 1;
        scene.display.DrawPicker(5, 5);
    }
}
BENCHMARK(BM_PickerHover)->Unit(benchmark::kMicrosecond);

// One entry taken back and brought back, each painted into the window's image.
void BM_UndoRedoEntry(benchmark::State& st) {
    Scene scene(static_cast<qreal>(st.range(0)));
    scene.Puzzle();
    scene.engine.ModelReplaced();
    scene.display.RedrawBoard();
    scene.engine.EnterSymbol(2, 1, 5);
    for (auto _ : st) {
        scene.engine.Undo();
        scene.engine.Redo();
    }
    st.counters["per_step_us"] = benchmark::Counter(2.0 * static_cast<double>(st.iterations()),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UndoRedoEntry)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A solve taken back and brought back: every cell it filled is repainted.
void BM_UndoRedoSolve(benchmark::State& st) {
    Scene scene(1.0);
    scene.Puzzle();
    scene.engine.ModelReplaced();
    scene.display.RedrawBoard();
    scene.engine.SolveWithRestart();
    for (auto _ : st) {
        scene.engine.Undo();
        scene.engine.Redo();
    }
}
BENCHMARK(BM_UndoRedoSolve)->Unit(benchmark::kMicrosecond);

// The keyboard cursor stepping along a row of cells full of marks, with the accessible focus
// following it and the window painted, as one arrow key does on screen.
void BM_CursorMove(benchmark::State& st) {
    Scene scene(static_cast<qreal>(st.range(0)));
    scene.Puzzle();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            for (int d = 1; d <= 9; ++d) scene.model.mark(x, y, d) = scene.model.cell(x, y) == 0;
    new BoardAccessibility(scene.area, scene.model, scene.settings, scene.state, [] { return QString(); });
    scene.area.show();
    scene.display.RedrawBoard();
    int step = 0;
    for (auto _ : st) {
        scene.display.ShowCursor(step++ % 9 + 1, 5);
        scene.area.repaint();
    }
}
BENCHMARK(BM_CursorMove)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessaro

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
