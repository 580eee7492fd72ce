#include "DisplayFixture.h"

#include <QSignalSpy>
#include <QTest>

#include "display/InputSink.h"

namespace tessaro::testing {
namespace {

using PickerTest = DisplayFixture;

QImage Region(const QImage& image, int x, int y, int w, int h) { return image.copy(x, y, w, h); }

TEST_F(PickerTest, PickerSpansNinetyPixelsAroundTheCell) {
    display.DrawStartScreen();
    const QImage before = Image().copy();
    display.DrawPicker(1, 1);
    EXPECT_TRUE(Is(13, 29, 0));
    EXPECT_TRUE(Is(102, 118, 0));
    EXPECT_TRUE(Is(42, 60, 0));  // dividing lines of 2 pixels: 42 and 43
    EXPECT_TRUE(Is(43, 60, 0));
    EXPECT_EQ(Pixel(103, 60), before.pixelColor(103, 60));
    EXPECT_EQ(Pixel(60, 119), before.pixelColor(60, 119));
    EXPECT_EQ(Pixel(12, 60), before.pixelColor(12, 60));
    EXPECT_EQ(Pixel(60, 28), before.pixelColor(60, 28));
    EXPECT_EQ(LastTextAt(19, 30), QStringLiteral("1"));
    EXPECT_EQ(LastTextAt(79, 90), QStringLiteral("9"));
    EXPECT_EQ(TextsAt(19, 30).front().fontCode, 6);
    for (int k = 0; k < 9; ++k) {
        const int x = 13 + 30 * (k % 3);
        const int y = 29 + 30 * (k / 3);
        EXPECT_GT(DarkPixels(x + 1, y + 1, x + 29, y + 29), 20) << k;
        EXPECT_TRUE(Is(x + 1, y + 28, 15)) << k;  // no item hovered yet
    }
    EXPECT_FALSE(state.pickerBusy);
    EXPECT_EQ(state.helpText, QStringLiteral("Rechte Taste löscht Feld!"));
    EXPECT_EQ(LastTextAt(616, 515), QStringLiteral("Rechte Taste löscht Feld!"));
}

TEST_F(PickerTest, PickerAtTheLastCellReachesTheButtonRow) {
    display.DrawStartScreen();
    display.DrawPicker(9, 9);
    EXPECT_TRUE(Is(493, 509, 0));
    EXPECT_TRUE(Is(582, 598, 0));
    EXPECT_TRUE(Is(560, 597, 15));
}

TEST_F(PickerTest, HoverHighlightsAndBackgroundIsSavedOnce) {
    display.DrawStartScreen();
    display.DrawPlayerCell(5, 5, 8);
    const QImage before = Image().copy();
    state.hoveredItem = 5;
    display.DrawPicker(5, 5);
    const int left = PickerLeft(5);
    const int top = PickerTop(5);
    EXPECT_EQ(Pixel(left + 31, top + 58), QColor(192, 192, 192));
    EXPECT_TRUE(Is(left + 1, top + 28, 15));
    // The hover moves; the first saved background stays.
    state.hoveredItem = 9;
    display.DrawPicker(5, 5);
    EXPECT_TRUE(Is(left + 31, top + 58, 15));
    EXPECT_EQ(Pixel(left + 61, top + 88), QColor(192, 192, 192));
    ASSERT_TRUE(state.backgroundSaved);
    display.RestorePickerBackground();
    EXPECT_EQ(Region(Image(), left - 2, top - 2, 94, 94), Region(before, left - 2, top - 2, 94, 94));
    display.FreePickerBackground();
    EXPECT_FALSE(state.backgroundSaved);
    EXPECT_TRUE(state.pickerBackground.isNull());
    const QImage restored = Image().copy();
    display.DrawPlayerCell(5, 5, 2);
    display.RestorePickerBackground();  // nothing saved: nothing drawn back
    EXPECT_NE(Region(Image(), left, top, 90, 90), Region(restored, left, top, 90, 90));
}

TEST_F(PickerTest, NoteModeAndLettersMode) {
    display.DrawStartScreen();
    state.noteMode = true;
    settings.showDigits = false;
    display.DrawPicker(2, 2);
    EXPECT_EQ(state.helpText, QStringLiteral("Bitte Kandidaten notieren!"));
    const int left = PickerLeft(2);
    const int top = PickerTop(2);
    EXPECT_EQ(LastTextAt(left + 3, top + 1), QStringLiteral("A"));
    EXPECT_EQ(LastTextAt(left + 60 + 10, top + 61), QStringLiteral("I"));
}

TEST_F(PickerTest, SaveUnderAtPixelRatioTwo) {
    area.AllocateImage(2.0);
    EXPECT_EQ(Image().width(), 1724);
    EXPECT_EQ(Image().height(), 1388);
    display.DrawStartScreen();
    // A line lands at doubled coordinates: the footer's top white line at y 652.
    EXPECT_TRUE(Image().pixelColor(800, 1304) == QColor(255, 255, 255));
    EXPECT_TRUE(Image().pixelColor(800, 1305) == QColor(255, 255, 255));
    EXPECT_TRUE(Image().pixelColor(800, 1303) == PaletteColour(12));
    const QImage before = Image().copy();
    display.DrawPicker(3, 3);
    EXPECT_TRUE(Image().pixelColor(2 * PickerLeft(3), 2 * PickerTop(3)) == QColor(0, 0, 0));
    display.RestorePickerBackground();
    const QRect around(2 * PickerLeft(3) - 4, 2 * PickerTop(3) - 4, 188, 188);
    EXPECT_EQ(Image().copy(around), before.copy(around));
}

TEST_F(PickerTest, ReallocationKeepsContent) {
    display.DrawStartScreen();
    const QColor blue = Pixel(208, 135);
    area.AllocateImage(2.0);
    EXPECT_EQ(Image().pixelColor(417, 270), blue);
    int repaints = 0;
    area.SetRepaintCallback([&] {
        ++repaints;
        display.DrawStartScreen();
    });
    area.AllocateImage(1.0);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(Image().width(), 862);
    EXPECT_EQ(Pixel(208, 135), blue);
}

struct RecordingSink : InputSink {
    std::vector<std::pair<int, bool>> released;
    std::vector<int> typed;
    std::vector<std::pair<Qt::MouseButton, QPoint>> pressed;
    std::vector<QPointF> moved;
    int closes = 0;
    void KeyReleased(int key, bool repeat) override { released.emplace_back(key, repeat); }
    void CharTyped(int code) override { typed.push_back(code); }
    void MousePressed(Qt::MouseButton button, QPoint pos) override { pressed.emplace_back(button, pos); }
    void MouseMoved(QPointF pos) override { moved.push_back(pos); }
    void CloseRequested() override { ++closes; }
};

TEST_F(PickerTest, ClientAreaForwardsInput) {
    RecordingSink sink;
    area.SetInputSink(&sink);
    area.show();
    QTest::keyClick(&area, Qt::Key_A);
    QTest::sendKeyEvent(QTest::Click, &area, Qt::Key_K, QStringLiteral("K"), Qt::ShiftModifier);
    QTest::keyClick(&area, Qt::Key_Escape);
    ASSERT_EQ(sink.typed.size(), 3u);
    EXPECT_EQ(sink.typed[0], 'a');
    EXPECT_EQ(sink.typed[1], 'K');
    EXPECT_EQ(sink.typed[2], 27);
    // Modifier keys come up as keys of their own.
    std::erase_if(sink.released, [](const auto& r) { return r.first == Qt::Key_Shift; });
    ASSERT_EQ(sink.released.size(), 3u);
    EXPECT_EQ(sink.released[0].first, Qt::Key_A);
    EXPECT_EQ(sink.released[1].first, Qt::Key_K);
    EXPECT_EQ(sink.released[2].first, Qt::Key_Escape);
    QTest::mouseMove(&area, QPoint(120, 80));
    QTest::mousePress(&area, Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
    ASSERT_FALSE(sink.moved.empty());
    EXPECT_EQ(sink.moved.back().toPoint(), QPoint(120, 80));
    ASSERT_EQ(sink.pressed.size(), 1u);
    EXPECT_EQ(sink.pressed[0].first, Qt::RightButton);
    EXPECT_EQ(sink.pressed[0].second, QPoint(300, 200));
    area.close();
    EXPECT_EQ(sink.closes, 1);
    area.SetInputSink(nullptr);
    EXPECT_EQ(area.size(), QSize(862, 694));
}

}  // namespace
}  // namespace tessaro::testing
