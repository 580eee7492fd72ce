// Highlighting one symbol's places from the keyboard and the statistics panel.

#include "display/BoardAccessible.h"
#include "display/Geometry.h"
#include "display/SymbolHighlight.h"
#include "persistence/RecordFile.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

int Tinted(PlayRig& rig, const QColor& colour) {
    const Overlay::Marks& marks = rig.game.display.overlay.highlight;
    return static_cast<int>(std::count_if(marks.tints.begin(), marks.tints.end(),
                                          [&](const Overlay::CellTint& t) { return t.colour == colour; }));
}

QPoint StatisticsColumn(int symbol) { return {675 + 16 * (symbol - 1) + 8, 245}; }

// A digit key or a click on the symbol's statistics column starts it, the same again or 0 ends it;
// the marks follow entries and undo, in the loop and at the start screen, and the statistics
// panel tells assistive technology.
TEST(Highlight, KeysClicksAndTheBoardChanging) {
    PlayRig rig;
    rig.settings().currentFile = "mittel.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 2));
    const int fives = static_cast<int>(std::count(rig.model().board.begin(), rig.model().board.end(), 5));
    const QPoint free = FirstFreeCell(rig.model());
    StepDriver d(rig);
    d.Key(Qt::Key_5);
    d.InLoop([&] {
        EXPECT_EQ(rig.game.display.highlightedSymbol, 5);
        EXPECT_EQ(Tinted(rig, kHighlightHoldingTint), fives);
        EXPECT_GT(Tinted(rig, kHighlightShade), 0);
        rig.game.engine.EnterSymbol(free.x(), free.y(), 5);
        EXPECT_EQ(Tinted(rig, kHighlightHoldingTint), fives + 1);
        const BoardAccessibility* access = BoardAccessibility::Of(&rig.area());
        ASSERT_NE(access, nullptr);
        EXPECT_TRUE(access->PanelText(AccessiblePanel::Statistics).contains("hervorgehoben: 5"));
        rig.game.engine.Undo();
        EXPECT_EQ(Tinted(rig, kHighlightHoldingTint), fives);
    });
    d.Key(Qt::Key_5);
    d.InLoop([&] { EXPECT_TRUE(rig.game.display.overlay.highlight.Empty()); });
    d.Click(StatisticsColumn(3));
    d.InLoop([&] { EXPECT_EQ(rig.game.display.highlightedSymbol, 3); });
    d.Click(StatisticsColumn(3));
    d.InLoop([&] { EXPECT_EQ(rig.game.display.highlightedSymbol, 0); });
    d.Key(Qt::Key_7);
    d.Key(Qt::Key_0);
    d.InLoop([&] { EXPECT_EQ(rig.game.display.highlightedSymbol, 0); });
    d.Leave();
    d.Run(kCmdGameStart);
    QTest::keyClick(&rig.area(), Qt::Key_8);
    EXPECT_EQ(rig.game.display.highlightedSymbol, 8) << "the start screen shows a board too";
    QTest::mouseClick(&rig.area(), Qt::LeftButton, {}, StatisticsColumn(8));
    EXPECT_TRUE(rig.game.display.overlay.highlight.Empty());
}

}  // namespace
}  // namespace tessaro::play
