#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

#include "display/Canvas.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "display/Primitives.h"
#include "engine/Engine.h"

namespace tessaro::testing {

// One game's worth of state with a display drawing into an offscreen client area.
struct DisplayFixture : ::testing::Test {
    BoardModel model;
    Settings settings;
    Engine engine{model, settings};
    DisplayState state;
    ClientArea area;
    Display display{area, model, settings, engine, state};
    std::vector<TextCall> texts;
    int beeps = 0;

    DisplayFixture() {
        area.canvas().SetTextRecorder(&texts);
        display.SetBeepHandler([this] { ++beeps; });
    }

    const QImage& Image() const { return area.image(); }
    QColor Pixel(int x, int y) const { return Image().pixelColor(x, y); }
    bool Is(int x, int y, int colourIndex) const { return Pixel(x, y).rgb() == PaletteColour(colourIndex).rgb(); }
    int DarkPixels(int x1, int y1, int x2, int y2) const {
        int count = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                if (qGray(Image().pixel(x, y)) < 100) ++count;
        return count;
    }
    // The text calls at a position, last one first.
    std::vector<TextCall> TextsAt(int x, int y) const {
        std::vector<TextCall> found;
        for (auto it = texts.rbegin(); it != texts.rend(); ++it)
            if (it->x == x && it->y == y) found.push_back(*it);
        return found;
    }
    QString LastTextAt(int x, int y) const {
        const auto found = TextsAt(x, y);
        return found.empty() ? QString() : found.front().text;
    }

    // A solved Sudoku X board, found by plain backtracking.
    static bool Fill(Grid& board, int index = 0) {
        if (index == 81) return true;
        const int x = index % 9 + 1;
        const int y = index / 9 + 1;
        for (int d = 1; d <= 9; ++d) {
            bool ok = true;
            for (int i = 1; i <= 9 && ok; ++i) {
                if (board[At(i, y)] == d || board[At(x, i)] == d) ok = false;
            }
            const int bx = (x - 1) / 3 * 3 + 1;
            const int by = (y - 1) / 3 * 3 + 1;
            for (int i = 0; i < 9 && ok; ++i)
                if (board[At(bx + i % 3, by + i / 3)] == d) ok = false;
            for (int i = 1; i <= 9 && ok; ++i) {
                if (x == y && board[At(i, i)] == d) ok = false;
                if (x + y == 10 && board[At(i, 10 - i)] == d) ok = false;
            }
            if (!ok) continue;
            board[At(x, y)] = static_cast<std::uint8_t>(d);
            if (Fill(board, index + 1)) return true;
            board[At(x, y)] = 0;
        }
        return false;
    }
    static Grid Solution() {
        Grid board{};
        Fill(board);
        return board;
    }
};

}  // namespace tessaro::testing
