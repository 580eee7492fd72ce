#include "display/ClockLabel.h"

#include <QPaintEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaro {
namespace {

struct PaintLog : QObject {
    std::vector<QRect> painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted.push_back(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

// Each new caption is painted once, a turning second only over its last glyphs, and what reaches
// the screen equals a full paint of the new caption.
TEST(ClockLabel, ANewCaptionIsPaintedOnceOverTheChangedGlyphsOnly) {
    ClockLabel label(QStringLiteral(" 99:99:99"));
    label.setFont(QFont(QStringLiteral("Arial"), 24));
    label.resize(160, 30);
    label.setAutoFillBackground(true);
    PaintLog log;
    label.installEventFilter(&log);
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    for (const auto& [before, after] : std::vector<std::pair<const char*, const char*>>{
             {" 99:99:99", " 00:00:00"}, {" 00:00:00", " 00:00:01"}, {" 00:00:09", " 00:00:10"},
             {" 00:59:59", " 01:00:00"}, {" 00:01:05", "00:01:05.4"}}) {
        SCOPED_TRACE(after);
        label.ShowText(QString::fromLatin1(before));
        QTest::qWait(20);
        log.painted.clear();
        label.ShowText(QString::fromLatin1(after));
        label.ShowText(QString::fromLatin1(after));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !log.painted.empty(); }));
        QTest::qWait(20);
        ASSERT_EQ(log.painted.size(), 1u);
        EXPECT_EQ(label.screen()->grabWindow(label.winId()).toImage(), label.grab().toImage());
        if (QByteArray(before).left(7) == QByteArray(after).left(7)) EXPECT_LT(log.painted[0].width(), 80);
    }
}

}  // namespace
}  // namespace tessaro
