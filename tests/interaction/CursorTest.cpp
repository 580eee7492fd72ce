// The keyboard cursor of the play loops, seen on the screen and by assistive technology.

#include <QAccessibleEvent>

#include <tuple>

#include "display/BoardAccessible.h"
#include "persistence/RecordFile.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

const QColor kFrame = PaletteColour(kColourBlue);

void Press(PlayRig& rig, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&rig.area(), key, modifiers);
}

// mittel.brd no. 1 with (1, 1) free and a player's 4 in (2, 9) (a given 4 on the own board).
void PrepareBoard(PlayRig& rig, bool ownBoard) {
    rig.settings().currentFile = "mittel.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 1));
    rig.game.engine.SetGiven(1, 1, 0);
    rig.game.engine.SetGiven(2, 9, 0);
    rig.game.engine.EnterSymbol(2, 9, 4);
    if (ownBoard) rig.game.engine.SetGiven(2, 9, 4);
    rig.game.engine.ForgetMoves();
    rig.window.display().UpdateDifficultyPanel();
    rig.window.display().RedrawBoard();
}

// The cursor's cell (0, 0 for none): the only framed cell, and the accessible focus.
void ExpectCursor(PlayRig& rig, QPoint at) {
    const BoardAccessibility* access = BoardAccessibility::Of(&rig.area());
    EXPECT_EQ(QPoint(access->FocusX(), access->FocusY()), at);
    for (int row = 1; row <= 9; ++row)
        for (int x = 1; x <= 9; ++x)
            EXPECT_EQ(rig.Pixel(CellLeft(x) + 3, CellTop(row) + 30) == kFrame, QPoint(x, row) == at) << x << ", " << row;
}

// Arrows clamp at the border, Home/End reach the row's ends and with Ctrl the corners; only an
// arrow shows the cursor (on the cell last clicked), and it is gone when the loop ends.
TEST(Cursor, MovesWithinTheBoardAndLeavesWithTheLoop) {
    PlayRig rig;
    PrepareBoard(rig, false);
    struct Move {
        Qt::Key key;
        bool control;
        QPoint expected;
    };
    const std::vector<Move> moves{
        {Qt::Key_Home, false, {0, 0}}, {Qt::Key_Return, false, {0, 0}}, {Qt::Key_Up, false, {1, 1}},
        {Qt::Key_Up, false, {1, 1}},   {Qt::Key_Left, false, {1, 1}},   {Qt::Key_Right, false, {2, 1}},
        {Qt::Key_Down, false, {2, 2}}, {Qt::Key_End, false, {9, 2}},    {Qt::Key_Right, false, {9, 2}},
        {Qt::Key_End, true, {9, 9}},   {Qt::Key_Down, false, {9, 9}},   {Qt::Key_Home, false, {1, 9}},
        {Qt::Key_Home, true, {1, 1}},
    };
    StepDriver d(rig);
    for (const Move& move : moves) {
        d.InLoop([&rig, move] {
            Press(rig, move.key, move.control ? Qt::ControlModifier : Qt::NoModifier);
            SCOPED_TRACE(move.key);
            ExpectCursor(rig, move.expected);
        });
    }
    d.Leave();
    d.Run(kCmdGameStart);
    ExpectCursor(rig, {0, 0});

    StepDriver own(rig);
    own.Click(CellPoint(4, 6), Qt::RightButton);
    own.InLoop([&] {
        ExpectCursor(rig, {0, 0});
        Press(rig, Qt::Key_Down);
        ExpectCursor(rig, {4, 6});
    });
    own.Leave();
    own.Run(kCmdOwnBoard);
    ExpectCursor(rig, {0, 0});
}

// Enter, Space, Shift+Enter, Delete and Backspace on the cursor's cell change the board and the
// screen exactly as the click does, in both loops; the frame stays on the changed cell, and the
// change is told to assistive technology.
TEST(Cursor, KeysActAsTheClicksOnTheCursorCell) {
    struct Case {
        bool ownBoard;
        QPoint cell;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Qt::MouseButton button;  // of the click that does the same
        char typed;              // into the picker, if one opens
    };
    const std::vector<Case> cases{
        {false, {1, 1}, Qt::Key_Return, Qt::NoModifier, Qt::LeftButton, '5'},
        {false, {2, 9}, Qt::Key_Space, Qt::NoModifier, Qt::LeftButton, '0'},
        {false, {1, 1}, Qt::Key_Return, Qt::ShiftModifier, Qt::RightButton, '3'},
        {false, {2, 9}, Qt::Key_Return, Qt::ShiftModifier, Qt::RightButton, 0},
        {false, {2, 9}, Qt::Key_Delete, Qt::NoModifier, Qt::RightButton, 0},
        {true, {1, 1}, Qt::Key_Enter, Qt::NoModifier, Qt::LeftButton, '7'},
        {true, {2, 9}, Qt::Key_Backspace, Qt::NoModifier, Qt::RightButton, 0},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        std::tuple<Grid, Grid, CandidateGrid> boards[2];
        QImage images[2];
        for (int byKeys = 0; byKeys < 2; ++byKeys) {
            PlayRig rig;
            PrepareBoard(rig, c.ownBoard);
            const auto start = std::tuple(rig.model().board, rig.model().givens, rig.model().candidates);
            BoardAccessibility* access = BoardAccessibility::Of(&rig.area());
            int told = 0;
            access->SetEventSink([&](QAccessibleEvent* event) {
                told += event->type() == QAccessible::NameChanged && event->accessibleInterface() == access->Cell(c.cell.x(), c.cell.y());
            });
            StepDriver d(rig);
            if (byKeys) {
                rig.game.interaction.clickedColumn = c.cell.x();
                rig.game.interaction.clickedRow = c.cell.y();
                d.InLoop([&] { Press(rig, Qt::Key_Left); });
                d.InLoop([&] { Press(rig, c.key, c.modifiers); });
            } else {
                d.Click(CellPoint(c.cell.x(), c.cell.y()), c.button);
            }
            if (c.typed != 0) d.PickerType(c.typed);
            if (byKeys) d.InLoop([&] { ExpectCursor(rig, c.cell); });
            d.Leave();
            d.Run(c.ownBoard ? kCmdOwnBoard : kCmdGameStart);
            access->SetEventSink(nullptr);
            boards[byKeys] = std::tuple(rig.model().board, rig.model().givens, rig.model().candidates);
            images[byKeys] = rig.area().Composed().copy();
            EXPECT_NE(boards[byKeys], start) << "the gesture changes the board";
            EXPECT_GT(told, 0) << "the cell's new name is told";
        }
        EXPECT_TRUE(boards[1] == boards[0]);
        EXPECT_TRUE(images[1] == images[0]) << "same screen";
    }
}

// In digits mode a typed digit enters in the cursor's cell as the picker would (the board drawn
// the same), one undo entry each, and 0 empties it; a given stays, on the own board it changes. In
// letters mode the digits do nothing. A second Shift+Enter on a noted cell clears its notes, as a
// second right click does.
TEST(Cursor, DigitsEnterDirectlyAndShiftEnterTwiceClearsNotes) {
    QImage byPicker;
    for (int byDigit = 0; byDigit < 2; ++byDigit) {
        PlayRig rig;
        PrepareBoard(rig, false);
        StepDriver d(rig);
        d.InLoop([&] { Press(rig, Qt::Key_Up); Press(rig, byDigit ? Qt::Key_7 : Qt::Key_Return); });
        if (!byDigit) d.PickerType('7');
        d.InLoop([&] {
            EXPECT_EQ(rig.model().cell(1, 1), 7);
            const QImage shown = rig.area().Composed().copy(kBoardLeft, kBoardTop, 9 * kCellSize, 9 * kCellSize);
            if (byDigit) {
                EXPECT_EQ(shown, byPicker) << "the board drawn as after the picker";
            }
            byPicker = shown;
        });
        d.Leave();
        d.Run(kCmdGameStart);
    }
    for (bool ownBoard : {false, true}) {
        PlayRig rig;
        PrepareBoard(rig, ownBoard);
        rig.game.engine.SetMark(1, 1, 3);
        StepDriver d(rig);
        d.InLoop([&] {
            Press(rig, Qt::Key_Up);
            Press(rig, Qt::Key_5);
            Press(rig, Qt::Key_0);
            EXPECT_EQ(rig.model().cell(1, 1), 0);
            QTest::keyClick(&rig.area(), Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(rig.model().cell(1, 1), 5);
            EXPECT_EQ(rig.model().given(1, 1), ownBoard ? 5 : 0);
            QTest::keyClick(&rig.area(), Qt::Key_Z, Qt::ControlModifier);
            int x = 2;
            while (rig.model().given(x, 1) == 0) ++x;
            const int given = rig.model().given(x, 1);
            for (int step = 1; step < x; ++step) Press(rig, Qt::Key_Right);
            Press(rig, given == 1 ? Qt::Key_2 : Qt::Key_1);
            EXPECT_EQ(rig.model().given(x, 1) != given, ownBoard) << "a given changes on the own board only";
            rig.settings().showDigits = false;
            Press(rig, Qt::Key_Home);
            Press(rig, Qt::Key_5);
            EXPECT_EQ(rig.model().cell(1, 1), 0) << "letters mode: no direct entry";
            if (!ownBoard) Press(rig, Qt::Key_Return, Qt::ShiftModifier);
        });
        if (!ownBoard) d.InPicker([&] { Press(rig, Qt::Key_Return, Qt::ShiftModifier); });
        d.InLoop([&] { EXPECT_EQ(rig.model().mark(1, 1, 3), ownBoard); });
        d.Leave();
        d.Run(ownBoard ? kCmdOwnBoard : kCmdGameStart);
    }
}

}  // namespace
}  // namespace tessaro::play
