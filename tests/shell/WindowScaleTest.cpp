// The window at another size than the default: the client image scaled, input mapped back.

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

}  // namespace
}  // namespace tessaro::play
