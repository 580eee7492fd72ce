// The window at another size than the default: the picture drawn again at the shown size, input
// mapped back.

#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

TEST(ScaledWindow, ClicksReachTheCellAndPickerItemUnderThePointer) {
    PlayRig rig;
    // Half the default height and a wider window: the image at scale 0.5, 50 pixels from the left.
    const int menuBar = rig.window.height() - rig.area().height();
    rig.window.resize(531, 347 + menuBar);
    QApplication::processEvents();
    ASSERT_EQ(rig.area().size(), QSize(531, 347));
    EXPECT_EQ(rig.window.clockLabel().geometry(), QRect(50 + 323, 296, 80, 15));
    const auto scaled = [](QPoint p) { return QPoint(50 + p.x() / 2, p.y() / 2); };

    StepDriver d(rig);
    d.Click(scaled(CellPoint(3, 7)));
    d.PickerClick(scaled(PickerItemPoint(3, 7, 5)));
    d.InLoop([&] {
        int filled = 0;
        for (int y = 1; y <= 9; ++y)
            for (int x = 1; x <= 9; ++x) filled += rig.model().cell(x, y) != 0;
        EXPECT_EQ(filled, 1);
        EXPECT_EQ(rig.model().cell(3, 7), 5);
    });
    d.Leave();
    d.Run(kCmdGameStart);
    rig.window.grab().save(QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/scaled_window.png"));
}

// Enlarged, the picture (buttons and the open picker included) is drawn again into an image of
// the shown size and shown pixel for pixel; back at the default size every pixel is as before.
TEST(ScaledWindow, EnlargedIsDrawnAgainAndTheDefaultStaysExact) {
    PlayRig rig;
    const int menuBar = rig.window.height() - rig.area().height();
    const auto drawnAt = [&](qreal ratio) { return [&rig, ratio] { return rig.area().image().devicePixelRatio() == ratio; }; };
    QImage before;
    StepDriver d(rig);
    d.Click(CellPoint(2, 2));
    d.InPicker([&] {
        before = rig.area().Composed();
        rig.window.resize(1293, 1041 + menuBar);
    });
    d.When(drawnAt(1.5), [&] {
        const QImage& image = rig.area().image();
        ASSERT_EQ(image.size(), QSize(1293, 1041));
        // Above the clock label, a widget of its own.
        const QRect above(0, 0, 1293, 880);
        const QImage screen = rig.area().grab(above).toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(screen == image.copy(above).convertToFormat(QImage::Format_RGB32)) << "shown as drawn";
        EXPECT_TRUE(image != before.scaled(image.size())) << "not a scaled bitmap";
        image.save(QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/enlarged_window.png"));
        rig.window.resize(862, 694 + menuBar);
    });
    d.When(drawnAt(1.0), [&] { EXPECT_TRUE(rig.area().Composed() == before); });
    d.PickerType('5');
    d.Leave();
    d.Run(kCmdGameStart);
}

}  // namespace
}  // namespace tessaro::play
