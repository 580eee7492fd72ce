#include "DisplayFixture.h"

#include <QPaintEvent>
#include <QScreen>
#include <QTest>

#include "display/ClockLabel.h"

namespace tessaro::testing {
namespace {

using SidePanelTest = DisplayFixture;

// White from the first column to the last one (exclusive) on every row of the band.
bool WhiteBand(const QImage& image, int x1, int x2, int y1, int y2) {
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (image.pixel(x, y) != 0xFFFFFFFF) return false;
    return true;
}

TEST_F(SidePanelTest, PanelsHaveFramesHeadingsAndWhiteInnerAreas) {
    display.DrawStartScreen();
    struct Panel {
        int x, y, w, h, dx;
        const char* heading;
    };
    for (const Panel p : {Panel{603, 200, 234, 78, 84, "STATISTIK:"}, Panel{603, 292, 234, 78, 60, "STATUSMELDUNG:"},
                          Panel{603, 384, 234, 78, 38, "SCHWIERIGKEITSGRAD:"},
                          Panel{603, 476, 234, 72, 64, "HILFEFENSTER:"}, Panel{623, 562, 192, 72, 45, "ZEITMESSUNG:"}}) {
        SCOPED_TRACE(p.heading);
        const int midX = p.x + p.w / 2;
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(Is(midX, p.y + i, 15));
            EXPECT_TRUE(Is(p.x + i, p.y + 10, 15));
            EXPECT_TRUE(Is(midX, p.y + p.h - i, 8));
            EXPECT_TRUE(Is(p.x + p.w - i, p.y + 10, 8));
        }
        EXPECT_TRUE(Is(midX, p.y + 3, 12));
        // The inner area: black outline at (x+6, y+22) .. (x+w-8, y+h-8), white inside, the
        // sunken frame's white lines right and below it.
        EXPECT_TRUE(Is(p.x + 6, p.y + 40, 0));
        EXPECT_TRUE(Is(p.x + p.w - 8, p.y + 40, 0));
        EXPECT_TRUE(Is(p.x + p.w - 7, p.y + 40, 15));
        EXPECT_TRUE(Is(p.x + p.w - 6, p.y + 40, 15));
        EXPECT_TRUE(Is(p.x + p.w - 5, p.y + 40, 12));
        EXPECT_TRUE(Is(p.x + 7, p.y + p.h - 9, 15));
        EXPECT_TRUE(Is(p.x + 7, p.y + p.h - 8, 0));
        EXPECT_EQ(LastTextAt(p.x + p.dx - 1, p.y + 5), QString::fromUtf8(p.heading));
        EXPECT_GT(DarkPixels(p.x + p.dx - 1, p.y + 4, p.x + p.w - 4, p.y + 20), 20);
    }
}

TEST_F(SidePanelTest, StartValuesOfTheStatisticsAndDifficulty) {
    display.DrawStartScreen();
    EXPECT_EQ(LastTextAt(619, 232), QStringLiteral("Zahlen"));
    EXPECT_EQ(LastTextAt(619, 252), QStringLiteral("Anzahl"));
    for (int k = 1; k <= 9; ++k) {
        const int x = 675 + 16 * (k - 1);
        EXPECT_EQ(LastTextAt(x, 232), QStringLiteral(" %1").arg(k));
        EXPECT_EQ(LastTextAt(x, 252), QStringLiteral(" 0 "));
        EXPECT_GT(DarkPixels(x + 7, 232, x + 16, 248), 3) << k;
    }
    // Separator lines.
    EXPECT_TRUE(Is(700, 246, 0));
    EXPECT_TRUE(Is(674, 230, 0));
    EXPECT_EQ(model.digitCount[0], 81);
    EXPECT_EQ(LastTextAt(626, 326), QStringLiteral("Keine Fehler! "));
    EXPECT_GT(DarkPixels(626, 326, 800, 352), 50);
    EXPECT_EQ(TextsAt(626, 326).front().fontCode, 20);
    EXPECT_EQ(LastTextAt(631, 414), QStringLiteral("Vorgegebene Zahlen:  0"));
    EXPECT_EQ(LastTextAt(791, 414), QStringLiteral(" 0 "));
    EXPECT_EQ(LastTextAt(656, 426), QStringLiteral("  Leicht   "));
    EXPECT_EQ(LastTextAt(616, 515), QStringLiteral("Bitte Menupunkt auswählen!"));
    EXPECT_GT(DarkPixels(616, 515, 820, 531), 60);
    EXPECT_EQ(beeps, 0);
}

TEST_F(SidePanelTest, CountsVerdictsAndBeep) {
    display.DrawStartScreen();
    // Ten 1s: the count goes to two digits, the board is wrong and beeps.
    const Grid solution = Solution();
    model.board = solution;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (solution[At(x, y)] == 2 && x == 1) model.cell(x, y) = 1;
    engine.ModelReplaced();
    texts.clear();
    display.UpdateDigitCounts();
    EXPECT_EQ(LastTextAt(675, 252), QStringLiteral(" 10 "));
    EXPECT_EQ(LastTextAt(691, 252), QStringLiteral(" 8 "));
    EXPECT_EQ(LastTextAt(626, 326), QStringLiteral("Falsche Zahl! "));
    EXPECT_EQ(beeps, 1);
    // Solved.
    model.board = solution;
    engine.ModelReplaced();
    display.UpdateDigitCounts();
    EXPECT_EQ(LastTextAt(626, 326), QStringLiteral("Brett gelöst!!!"));
    EXPECT_TRUE(state.allNine);
    EXPECT_EQ(beeps, 1);
    // Nine of each but two cells of a row exchanged: complete, wrong.
    std::swap(model.cell(1, 1), model.cell(2, 1));
    engine.ModelReplaced();
    display.UpdateDigitCounts();
    EXPECT_EQ(LastTextAt(626, 326), QStringLiteral("Falsche Zahl! "));
    EXPECT_TRUE(state.allNine);
    EXPECT_EQ(beeps, 2);
}

TEST_F(SidePanelTest, ShorterValuesLeaveNoRemnants) {
    display.DrawStartScreen();
    model.board = Solution();
    display.UpdateDigitCounts();
    model.board.fill(0);
    display.UpdateDigitCounts();
    area.canvas().SelectFont(20);
    const int end = 626 + area.canvas().TextWidth(QStringLiteral("Keine Fehler!"));
    EXPECT_TRUE(WhiteBand(Image(), end + 1, 829, 326, 352));
    EXPECT_GT(DarkPixels(626, 326, end, 352), 50);
    for (int from = 0; from < 4; ++from)
        for (int to = 0; to < 4; ++to) {
            settings.difficulty = from;
            display.UpdateDifficultyPanel();
            settings.difficulty = to;
            display.UpdateDifficultyPanel();
            area.canvas().SelectFont(20);
            const QString name = QString::fromUtf8(kDifficultyNames[static_cast<std::size_t>(to)].data());
            QString visible = name;
            while (visible.endsWith(QLatin1Char(' '))) visible.chop(1);
            const int nameEnd = 656 + area.canvas().TextWidth(visible);
            EXPECT_TRUE(WhiteBand(Image(), nameEnd + 1, 829, 426, 452)) << from << "->" << to;
        }
    display.SetHelpText(QStringLiteral("Bitte Menupunkt auswählen!"));
    display.SetHelpText(QStringLiteral("Bitte ein Feld anklicken!"));
    EXPECT_TRUE(WhiteBand(Image(), 616 + 25 * 8, 829, 515, 530));
}

TEST_F(SidePanelTest, GivensAndDifficultyName) {
    display.DrawStartScreen();
    for (int x = 1; x <= 9; ++x) model.given(x, 1) = static_cast<std::uint8_t>(x);
    model.given(5, 5) = 3;
    settings.difficulty = 3;
    texts.clear();
    display.UpdateDifficultyPanel();
    EXPECT_EQ(state.givensCount, 10);
    EXPECT_EQ(LastTextAt(791, 414), QStringLiteral(" 10 "));
    EXPECT_EQ(LastTextAt(656, 426), QStringLiteral(" Extrem   "));
    display.DrawDifficultyPanel();
    EXPECT_EQ(LastTextAt(631, 414), QStringLiteral("Vorgegebene Zahlen:  10"));
}

TEST_F(SidePanelTest, LettersModeHeads) {
    settings.showDigits = false;
    display.DrawStatisticsPanel();
    EXPECT_EQ(LastTextAt(619, 232), QStringLiteral("Ziffer"));
    for (int k = 1; k <= 9; ++k) {
        const int x = 675 + 16 * (k - 1) + 8;
        EXPECT_EQ(LastTextAt(x, 232), QString(QChar(64 + k))) << k;
    }
}

TEST_F(SidePanelTest, LargeFontModeShifts) {
    area.canvas().SimulateLargeStockFonts(true);
    area.canvas().SelectFont(8);
    ASSERT_TRUE(display.LargeFontMode());
    settings.showDigits = false;
    display.DrawStatisticsPanel();
    display.DrawDifficultyPanel();
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(LastTextAt(675 + 16 * (k - 1) + 4, 232), QString(QChar(64 + k))) << k;
    EXPECT_EQ(LastTextAt(675 + 16 * 8 + 8, 232), QStringLiteral("I"));
    EXPECT_EQ(LastTextAt(631, 411), QStringLiteral("Vorgegebene Zahlen:  0"));
    EXPECT_EQ(LastTextAt(791, 411), QStringLiteral(" 0 "));
    // Embossed font-14 texts move right; other codes do not.
    texts.clear();
    DrawEmbossedText(area.canvas(), 14, 0, 100, 620, QStringLiteral("x"));
    DrawEmbossedText(area.canvas(), 16, 0, 100, 620, QStringLiteral("y"));
    EXPECT_EQ(texts[0].x, 111);
    EXPECT_EQ(texts[2].x, 100);
}

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
}  // namespace tessaro::testing
