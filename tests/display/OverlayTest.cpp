// The aids' overlay: painted over the image, never into it, and never over an open picker.

#include "DisplayFixture.h"

namespace tessaro::testing {
namespace {

struct OverlayTest : DisplayFixture {};

TEST_F(OverlayTest, ShowsOverTheImageAndLeavesTheOpenPickerAlone) {
    display.DrawBoardPanel();
    display.RedrawBoard();
    const QImage before = Image().copy();
    Overlay& overlay = display.overlay();
    overlay.hint.tints.push_back({1, 1, QColor(255, 160, 0, 70)});
    overlay.hint.tints.push_back({1, 1, QColor(255, 160, 0, 70)});
    overlay.hint.frames.push_back({5, 5, PaletteColour(kColourDarkGreen)});
    display.ShowCursor(9, 9);
    EXPECT_TRUE(Image() == before) << "nothing is written into the image";
    QImage shown = area.Composed();
    // Tinted once although named twice: white under 70/255 orange.
    EXPECT_EQ(shown.pixelColor(CellLeft(1) + 30, CellTop(1) + 30), QColor(255, 229, 185));
    EXPECT_EQ(shown.pixelColor(CellLeft(5) + 4, CellTop(5) + 30), PaletteColour(kColourDarkGreen));
    EXPECT_EQ(shown.pixelColor(CellLeft(9) + 2, CellTop(9) + 30), PaletteColour(kColourBlue));

    display.DrawPicker(9, 9);
    shown = area.Composed();
    EXPECT_EQ(shown.pixelColor(CellLeft(9) + 2, CellTop(9) + 30), Image().pixelColor(CellLeft(9) + 2, CellTop(9) + 30));
    display.RestorePickerBackground();
    display.FreePickerBackground();
    EXPECT_EQ(area.Composed().pixelColor(CellLeft(9) + 2, CellTop(9) + 30), PaletteColour(kColourBlue));

    // Any change of the board ends the hint's marks; the cursor stays.
    engine.EnterSymbol(2, 2, 4);
    EXPECT_TRUE(overlay.hint.Empty());
    EXPECT_EQ(overlay.cursorColumn, 9);
}

}  // namespace
}  // namespace tessaro::testing
