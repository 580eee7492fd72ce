// Symbol entry, note mode, the button row and pointer tracking, through input events.

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTextBrowser>
#include <QWindow>

#include "shell/HelpViewer.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

// Where DrawPlayerCell puts the symbol of the cell.
QPoint SymbolAt(int column, int row, bool digits) {
    return {(column - 1) * 60 + 30 + (digits ? 10 : 5), (row - 1) * 60 + 46 + 1};
}

int PickerTexts(const PlayRig& rig) {
    int n = 0;
    for (const TextCall& call : rig.texts) n += call.fontCode == 6;
    return n;
}

int Marks(const BoardModel& model, int x, int y) {
    int n = 0;
    for (int d = 1; d <= 9; ++d) n += model.mark(x, y, d);
    return n;
}

TEST(SymbolEntry, LettersModeTakesLowerCaseAToIOnly) {
    PlayRig rig;
    rig.Trigger(41);
    StepDriver d(rig);
    d.Click(CellPoint(4, 2));
    for (char ignored : {'C', '3', '0', 'j'}) {
        d.PickerType(ignored);
        d.Then([&rig, ignored] {
            EXPECT_TRUE(rig.interaction().PickerOpen()) << ignored;
            EXPECT_EQ(rig.model().cell(4, 2), 0) << ignored;
        });
    }
    d.PickerType('c');
    d.Then([&] {
        EXPECT_FALSE(rig.interaction().PickerOpen());
        EXPECT_EQ(rig.model().cell(4, 2), 3);
        const QPoint at = SymbolAt(4, 2, false);
        EXPECT_EQ(LastTextAt(rig, at.x(), at.y()), "C");
        EXPECT_EQ(rig.game.display.helpText, "Bitte ein Feld anklicken! ");
    });
    // "h" is a symbol here: its key must not also reach the loop as the help key.
    d.Click(CellPoint(5, 2));
    d.PickerType('h');
    d.Do([&] {
        EXPECT_EQ(rig.model().cell(5, 2), 8);
        EXPECT_TRUE(rig.game.help.window == nullptr || !rig.game.help.window->isVisible());
    });
    // In letters mode A is a symbol key, not a way out.
    d.Key(Qt::Key_A);
    d.Then([&] { EXPECT_TRUE(rig.interaction().AcceptingInput()); });
    // Esc empties the cell in letters mode too.
    d.Click(CellPoint(4, 2));
    d.InPicker([&] { QTest::keyClick(&rig.area(), Qt::Key_Escape); });
    d.Do([&] {
        EXPECT_EQ(rig.model().cell(4, 2), 0);
        EXPECT_TRUE(rig.game.interaction.leaveRequest);
    });
    d.Leave();
    d.Run(10);
    ExpectClosingSteps(rig);
}

TEST(SymbolEntry, DigitsModeEscAndZeroEmptyTheCellAndOneKeystrokeActsOnce) {
    PlayRig rig;
    StepDriver d(rig);
    d.Click(CellPoint(5, 5));
    d.InPicker([&] {
        EXPECT_EQ(rig.game.display.helpText, kHelpRightClears);
        EXPECT_FALSE(rig.game.display.noteMode);
        Type(&rig.area(), '5');
    });
    d.Then([&] {
        EXPECT_EQ(rig.model().cell(5, 5), 5);
        const QPoint at = SymbolAt(5, 5, true);
        EXPECT_EQ(LastTextAt(rig, at.x(), at.y()), "5");
    });
    d.Click(CellPoint(5, 5));
    d.PickerType('a');
    d.Then([&] {
        EXPECT_TRUE(rig.interaction().PickerOpen());
        EXPECT_EQ(rig.model().cell(5, 5), 5);
    });
    d.PickerType('0');
    d.Then([&] {
        EXPECT_FALSE(rig.interaction().PickerOpen());
        EXPECT_EQ(rig.model().cell(5, 5), 0);
        EXPECT_FALSE(rig.game.interaction.leaveRequest);
    });
    d.Click(CellPoint(5, 5));
    d.PickerType('7');
    // Esc: the press closes the picker, its release must not leave the loop as well.
    d.Click(CellPoint(5, 5));
    d.InPicker([&] { QTest::keyPress(&rig.area(), Qt::Key_Escape); });
    d.Do([&] {
        EXPECT_EQ(rig.model().cell(5, 5), 0);
        EXPECT_TRUE(rig.game.interaction.leaveRequest);
        QTest::keyRelease(&rig.area(), Qt::Key_Escape);
    });
    d.Then([&] {
        EXPECT_TRUE(rig.interaction().AcceptingInput()) << "the Esc release left the loop";
        // The next picker starts with the flag cleared.
    });
    d.Click(CellPoint(6, 5));
    d.InPicker([&] { EXPECT_FALSE(rig.game.interaction.leaveRequest); });
    d.PickerType('1');
    // N restarts: the entries go, the loop stays.
    d.Click(CellPoint(7, 5));
    d.PickerType('2');
    d.Key(Qt::Key_N);
    d.Do([&] { EXPECT_EQ(rig.model().cell(7, 5), 0) << "N still restarts"; });
    d.Leave();
    d.Run(10);
    ExpectClosingSteps(rig);
}

TEST(SymbolEntry, NoteModeAddsMarksAndRightButtonClears) {
    PlayRig rig;
    rig.game.engine.SetGiven(1, 1, 6);
    StepDriver d(rig);
    d.Click(CellPoint(2, 2), Qt::RightButton);
    d.InPicker([&] {
        EXPECT_TRUE(rig.game.display.noteMode);
        EXPECT_EQ(rig.game.display.helpText, kHelpNoteCandidates);
        Type(&rig.area(), '4');
    });
    d.Do([&] {
        EXPECT_TRUE(rig.model().mark(2, 2, 4));
        EXPECT_EQ(Marks(rig.model(), 2, 2), 1);
        EXPECT_EQ(rig.model().cell(2, 2), 0);
    });
    d.Click(CellPoint(2, 2), Qt::RightButton);
    d.PickerClick(PickerItemPoint(2, 2, 7));
    d.Click(CellPoint(2, 2), Qt::RightButton);
    d.PickerType('4');  // already marked: marks are never taken away one by one
    d.Do([&] {
        EXPECT_TRUE(rig.model().mark(2, 2, 4));
        EXPECT_TRUE(rig.model().mark(2, 2, 7));
        EXPECT_EQ(Marks(rig.model(), 2, 2), 2);
        EXPECT_EQ(rig.model().cell(2, 2), 0);
    });
    // A right click anywhere, even far from the picker, closes it and removes every mark.
    d.Click(CellPoint(2, 2), Qt::RightButton);
    d.PickerClick({500, 500}, Qt::RightButton);
    d.Do([&] {
        EXPECT_EQ(Marks(rig.model(), 2, 2), 0);
        EXPECT_EQ(rig.game.display.hoveredItem, 10);
        EXPECT_TRUE(rig.game.interaction.closedByRightButton);
        EXPECT_EQ(rig.model().cell(2, 2), 0);
    });
    // A right click on a player's symbol empties the cell at once, without the picker.
    d.Click(CellPoint(3, 3));
    d.PickerType('8');
    d.Do([&] { EXPECT_EQ(rig.model().cell(3, 3), 8); });
    d.Do([&] { Press(&rig.area(), CellPoint(3, 3), Qt::RightButton); });
    d.Then([&] {
        EXPECT_FALSE(rig.interaction().PickerOpen());
        EXPECT_EQ(rig.model().cell(3, 3), 0);
        EXPECT_EQ(rig.model().digitCount[8], 0);
        Release(&rig.area(), CellPoint(3, 3), Qt::RightButton);
    });
    // Given cells ignore both buttons.
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        d.Do([&rig, button] { Press(&rig.area(), CellPoint(1, 1), button); });
        d.Then([&rig, button] {
            EXPECT_FALSE(rig.interaction().PickerOpen());
            EXPECT_EQ(rig.model().cell(1, 1), 6);
            EXPECT_EQ(rig.model().given(1, 1), 6);
            Release(&rig.area(), CellPoint(1, 1), button);
        });
    }
    d.Leave();
    d.Run(10);
    ExpectClosingSteps(rig);
}

// ---- the button row ---------------------------------------------------------------------------

TEST(ButtonRow, ClicksGoThroughTheHitRanges) {
    PlayRig rig;
    rig.game.engine.SetGiven(9, 9, 4);
    const Grid before = rig.model().board;
    StepDriver d(rig);
    // The hit ranges themselves are checked on ButtonAt; here clicks go through it. Clicks that hit
    // nothing: right of the Abbruch range and between board and row.
    for (QPoint nothing : {QPoint(613, 610), QPoint(569, 590)}) {
        d.Click(nothing);
        d.Then([&rig, &before, nothing] {
            EXPECT_TRUE(rig.interaction().AcceptingInput()) << nothing.x() << ',' << nothing.y();
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << nothing.x() << ',' << nothing.y();
            EXPECT_EQ(rig.model().board, before);
        });
    }
    d.Click({107, 610});
    d.OnModal("frm1", [](QWidget* frm1) {
        EXPECT_EQ(frm1->windowTitle(), "Welches Brett laden?");
        static_cast<QDialog*>(frm1)->reject();
    });
    // The far right end of the Abbruch range leaves.
    d.Do([&] { Press(&rig.area(), {612, 610}); });
    d.Run(10);
    ExpectClosingSteps(rig);

    // And its left end.
    d.Do([&] { Press(&rig.area(), {476, 623}); });
    d.Run(10);
    ExpectClosingSteps(rig);
}

// The paints of the client area that cover one pixel: the colour each put on the screen there,
// whether a play loop was still running, and whether `nudged` was set by then.
struct PaintWatch : QObject {
    struct Frame {
        QColor colour;
        bool inMode;
        bool nudged;
    };
    PaintWatch(PlayRig& r, QPoint p) : rig(r), at(p) { rig.area().installEventFilter(this); }
    ~PaintWatch() override { rig.area().removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && static_cast<QPaintEvent*>(event)->region().contains(at)) {
            frames.push_back({rig.Pixel(at.x(), at.y()), rig.interaction().InMode(), nudged});
        }
        return false;
    }
    bool Shown(int colour, bool inMode, bool afterNudge = false) const {
        return std::any_of(frames.begin(), frames.end(), [&](const Frame& f) {
            return f.colour == PaletteColour(colour) && f.inMode == inMode && (f.nudged || !afterNudge);
        });
    }
    PlayRig& rig;
    QPoint at;
    bool nudged = false;
    std::vector<Frame> frames;
};

TEST(ButtonRow, AbbruchIsShownPressedThroughThePauseThenTheRowIsWiped) {
    PlayRig rig(1, true);  // the real pause
    PaintWatch watch(rig, {480, 598});  // on the top edge of the Abbruch frame
    const std::pair<int, std::function<void()>> ways[] = {
        {10, [&] { Press(&rig.area(), {500, 610}); }},
        {10, [&] { QTest::keyClick(&rig.area(), Qt::Key_Escape); }},
        {11, [&] { QTest::keyClick(&rig.area(), Qt::Key_A); }},  // own board
    };
    for (const auto& [command, leave] : ways) {
        SCOPED_TRACE(command);
        watch.frames.clear();
        watch.nudged = false;
        QElapsedTimer leaving;
        StepDriver d(rig);
        d.Do([&, leave = leave] {
            EXPECT_EQ(rig.Pixel(480, 598), PaletteColour(15));
            leaving.start();
            // Halfway through the pause: the window paints, and input does nothing.
            QTimer::singleShot(100, [&] {
                watch.nudged = true;
                rig.area().repaint();
                Press(&rig.area(), CellPoint(5, 5));
                Release(&rig.area(), CellPoint(5, 5));
                QTest::keyClick(&rig.area(), Qt::Key_M);
            });
            leave();
        });
        d.Run(command);
        EXPECT_GE(leaving.elapsed(), 190) << "the way out pauses";
        EXPECT_TRUE(watch.Shown(8, true, true)) << "no frame shows Abbruch pressed late in the pause";
        EXPECT_FALSE(rig.settings().showCandidates);
        ExpectClosingSteps(rig);
    }
    SaveShot(rig, "play-after-leave.png");
}

// Buttons that act without waiting: one frame shows them pressed before they rise again.
TEST(ButtonRow, PressedButtonsReachTheScreen) {
    PlayRig rig;
    for (const auto& [key, edge] : {std::pair{Qt::Key_N, QPoint(300, 598)}, std::pair{Qt::Key_D, QPoint(206, 598)}}) {
        PaintWatch watch(rig, edge);
        StepDriver d(rig);
        d.Key(key);
        d.InLoop([&, edge = edge] {
            EXPECT_TRUE(watch.Shown(8, true)) << key;
            EXPECT_EQ(rig.Pixel(edge.x(), edge.y()), PaletteColour(15)) << key;
        });
        d.Leave();
        d.Run(10);
    }
}

// ---- pointer tracking -------------------------------------------------------------------------

TEST(PointerTracking, HoverRedrawsThePickerOnlyWhenTheItemChanges) {
    PlayRig rig;
    const int left = PickerLeft(5);
    const int top = PickerTop(5);
    // A pixel inside box k away from its symbol.
    auto boxPixel = [&rig](int l, int t, int k) {
        return rig.Pixel(l + 30 * ((k - 1) % 3) + 26, t + 30 * ((k - 1) / 3) + 26);
    };
    const QColor grey = PaletteColour(7);
    const QColor white = PaletteColour(15);
    int drawn = 0;
    StepDriver d(rig);
    d.Click(CellPoint(5, 5));
    d.InPicker([&] {
        EXPECT_EQ(PickerTexts(rig), 9);
        EXPECT_EQ(rig.game.display.hoveredItem, 0);
        for (int k = 1; k <= 9; ++k) EXPECT_EQ(boxPixel(left, top, k), white) << k;
        Move(&rig.area(), QPointF(left + 3, top + 3));
        EXPECT_EQ(rig.game.display.hoveredItem, 1);
        EXPECT_EQ(PickerTexts(rig), 18);
        EXPECT_EQ(boxPixel(left, top, 1), grey);
        // Within the same item: nothing is drawn.
        Move(&rig.area(), QPointF(left + 20, top + 25));
        Move(&rig.area(), QPointF(left + 29.4, top + 29.4));
        EXPECT_EQ(PickerTexts(rig), 18);
        EXPECT_EQ(rig.game.interaction.pointerX, left + 29);
        // Rounded into the next item: one redraw with item 2 highlighted.
        Move(&rig.area(), QPointF(left + 29.6, top + 5));
        EXPECT_EQ(rig.game.display.hoveredItem, 2);
        EXPECT_EQ(PickerTexts(rig), 27);
        EXPECT_EQ(boxPixel(left, top, 2), grey);
        EXPECT_EQ(boxPixel(left, top, 1), white);
        // Outside the picker the item stays.
        Move(&rig.area(), QPointF(left + 95, top + 5));
        Move(&rig.area(), QPointF(left + 10, top - 1));
        EXPECT_EQ(rig.game.display.hoveredItem, 2);
        EXPECT_EQ(PickerTexts(rig), 27);
        EXPECT_EQ(rig.game.interaction.pointerY, top - 1);
        drawn = PickerTexts(rig);
    });
    // The click takes the item under the press, wherever the last move was.
    d.PickerClick(PickerItemPoint(5, 5, 6));
    d.Do([&] {
        EXPECT_EQ(rig.model().cell(5, 5), 6);
        EXPECT_EQ(rig.game.display.hoveredItem, 6);
        // Closed picker: moves only record the pointer.
        Move(&rig.area(), QPointF(100.4, 200.6));
        EXPECT_EQ(rig.game.interaction.pointerX, 100);
        EXPECT_EQ(rig.game.interaction.pointerY, 201);
        EXPECT_EQ(PickerTexts(rig), drawn);
    });
    // The next picker shows the item left over from the last one at once.
    d.Click(CellPoint(7, 3));
    d.InPicker([&] {
        EXPECT_EQ(boxPixel(PickerLeft(7), PickerTop(3), 6), grey);
        EXPECT_EQ(boxPixel(PickerLeft(7), PickerTop(3), 5), white);
        // No move since the picker opened: the press position decides.
        Press(&rig.area(), PickerItemPoint(7, 3, 8));
    });
    d.Then([&] {
        EXPECT_EQ(rig.model().cell(7, 3), 8);
        Release(&rig.area(), PickerItemPoint(7, 3, 8));
    });
    d.Leave();
    d.Run(10);
    ExpectClosingSteps(rig);
}

// Real button state: presses and moves through the window, so the picker waits for the release
// of the click that opened it.
TEST(PointerTracking, MovesWhileTheOpeningClickIsHeldUseTheNewPicker) {
    PlayRig rig;
    QWindow* handle = rig.window.windowHandle();
    ASSERT_NE(handle, nullptr);
    auto inWindow = [&rig](QPoint p) { return rig.area().mapTo(&rig.window, p); };
    QImage oldCell;
    int drawn = 0;
    StepDriver d(rig);
    // A first picker at cell (1, 1), closed by typing.
    d.Click(CellPoint(1, 1));
    d.PickerType('3');
    d.Do([&] {
        oldCell = rig.area().Capture(QRect(13, 29, 90, 90));
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, inWindow(CellPoint(2, 2)));
    });
    // Still held: the picker over (2, 2) is drawn and waits for the release.
    d.Then([&] {
        EXPECT_EQ(QGuiApplication::mouseButtons(), Qt::LeftButton);
        EXPECT_TRUE(rig.game.interaction.pickerOpen);
        drawn = PickerTexts(rig);
        // A point that lay inside the old picker, outside the new one.
        QTest::mouseMove(handle, inWindow({50, 60}));
    });
    d.Then([&] {
        EXPECT_EQ(PickerTexts(rig), drawn) << "a picker was drawn for a move outside the open one";
        // The part of the old picker's place that the new picker does not cover.
        EXPECT_TRUE(rig.area().Capture(QRect(13, 29, 60, 60)) == oldCell.copy(0, 0, 60, 60))
            << "cell (1, 1) was drawn over";
        // Onto item 9 of the new picker, still held.
        QTest::mouseMove(handle, inWindow(PickerItemPoint(2, 2, 9)));
    });
    d.Then([&] {
        EXPECT_EQ(rig.game.display.hoveredItem, 9);
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, inWindow(PickerItemPoint(2, 2, 9)));
    });
    d.PickerType('4');
    d.Do([&] {
        EXPECT_EQ(rig.model().cell(2, 2), 4);
        EXPECT_EQ(rig.model().cell(1, 1), 3);
        EXPECT_TRUE(rig.area().Capture(QRect(13, 29, 90, 90)) == oldCell) << "cell (1, 1) was drawn over";
    });
    d.Leave();
    d.Run(10);
    ExpectClosingSteps(rig);
}

}  // namespace
}  // namespace tessaro::play
