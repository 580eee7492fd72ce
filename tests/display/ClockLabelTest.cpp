#include "display/ClockLabel.h"

#include <QPaintEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaro {
namespace {

// Each new caption is painted once, over no more than the glyphs that changed, and what reaches
// the screen equals a full paint of the new caption.
TEST(ClockLabel, ANewCaptionIsPaintedOnceOverTheChangedGlyphsOnly) {
    ClockLabel label(QStringLiteral(" 99:99:99"));
    label.setFont(QFont(QStringLiteral("Arial"), 24));
    label.resize(160, 30);
    label.setAutoFillBackground(true);
    struct PaintLog : QObject {
        std::vector<QRect> painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) painted.push_back(static_cast<QPaintEvent*>(event)->rect());
            return false;
        }
    } log;
    label.installEventFilter(&log);
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    const auto onScreen = [&] { return label.screen()->grabWindow(label.winId()).toImage(); };
    const std::vector<std::pair<const char*, const char*>> turns{
        {" 99:99:99", " 00:00:00"}, {" 00:00:00", " 00:00:01"}, {" 00:00:09", " 00:00:10"},
        {" 00:59:59", " 01:00:00"}, {" 00:01:05", "00:01:05.4"}, {"00:01:05.4", " 99:99:99"}};
    for (const auto& [before, after] : turns) {
        SCOPED_TRACE(after);
        label.ShowText(QString::fromLatin1(before));
        QTest::qWait(20);
        log.painted.clear();
        label.ShowText(QString::fromLatin1(after));
        label.ShowText(QString::fromLatin1(after));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !log.painted.empty(); }));
        QTest::qWait(20);
        ASSERT_EQ(log.painted.size(), 1u);
        const QRect painted = log.painted.front();
        EXPECT_EQ(onScreen(), label.grab().toImage()) << "the partly painted label differs from a full paint";
        if (QLatin1String(before).left(7) == QLatin1String(after).left(7)) {
            EXPECT_LT(painted.width(), label.width() / 2) << "a turning second repaints the whole label";
        }
    }
}

}  // namespace
}  // namespace tessaro
