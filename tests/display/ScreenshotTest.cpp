#include "DisplayFixture.h"

#include <QDir>

namespace tessaro::testing {
namespace {

using ScreenshotTest = DisplayFixture;

// Writes the client area where a person can look at it; fails when it cannot be written.
void Save(const QImage& image, const char* name) {
    const QString dir = QStringLiteral(TESSARO_TEST_OUTPUT_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString path = dir + QLatin1Char('/') + QLatin1String(name);
    ASSERT_TRUE(image.save(path)) << path.toStdString();
}

TEST_F(ScreenshotTest, StartScreen) {
    display.DrawStartScreen();
    Save(Image(), "display_start.png");
}

TEST_F(ScreenshotTest, BoardWithGivensEntriesAndConflict) {
    display.DrawStartScreen();
    const Grid solution = Solution();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if ((x * 7 + y * 3) % 4 == 0) model.given(x, y) = model.cell(x, y) = solution[At(x, y)];
    model.cell(2, 1) = solution[At(2, 1)] != 0 && model.given(2, 1) == 0 ? solution[At(2, 1)] : 0;
    model.cell(5, 2) = model.given(5, 2) ? model.cell(5, 2) : solution[At(5, 2)];
    model.cell(7, 7) = model.given(7, 7) ? model.cell(7, 7) : model.cell(7, 7) ? 0 : solution[At(1, 1)];
    model.cell(4, 9) = 9;
    model.cell(6, 9) = 9;  // the conflict
    settings.difficulty = 2;
    display.UpdateDifficultyPanel();
    display.RedrawBoard();
    Save(Image(), "display_board.png");
}

TEST_F(ScreenshotTest, CandidatesInDigitsAndLetters) {
    display.DrawStartScreen();
    const Grid solution = Solution();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if ((x + 2 * y) % 3 == 0) model.given(x, y) = model.cell(x, y) = solution[At(x, y)];
    settings.showCandidates = true;
    display.UpdateDifficultyPanel();
    display.RedrawBoard();
    Save(Image(), "display_candidates_digits.png");
    settings.showDigits = false;
    display.DrawStatisticsPanel();
    display.RedrawBoard();
    Save(Image(), "display_candidates_letters.png");
}

TEST_F(ScreenshotTest, PickerWithHoveredItem) {
    display.DrawStartScreen();
    model.given(1, 1) = model.cell(1, 1) = 3;
    model.given(6, 4) = model.cell(6, 4) = 8;
    display.RedrawBoard();
    state.hoveredItem = 5;
    display.DrawPicker(5, 4);
    Save(Image(), "display_picker.png");
    display.RestorePickerBackground();
    display.FreePickerBackground();
    settings.showDigits = false;
    state.hoveredItem = 9;
    display.DrawPicker(9, 9);
    Save(Image(), "display_picker_letters.png");
}

}  // namespace
}  // namespace tessaro::testing
