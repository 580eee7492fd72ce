#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

#include "display/Canvas.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "display/Primitives.h"
#include "engine/Engine.h"
#include "support/SudokuX.h"

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

    // A solved Sudoku X board, from the independent solver.
    static Grid Solution() {
        sx::Cells solution{};
        EXPECT_EQ(sx::CountSolutions(sx::Cells{}, 1, &solution), 1);
        return sx::ToGrid(solution);
    }
};

}  // namespace tessaro::testing
