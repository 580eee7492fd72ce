// The keyboard cursor of the play loops, seen on the screen and by assistive technology.

#include <QAccessibleEvent>

#include "display/BoardAccessible.h"
#include "persistence/RecordFile.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

const QColor kFrame(255, 0, 255);  // colour 13

// A pixel of the frame's left side, halfway down the cell.
bool FrameAt(PlayRig& rig, int column, int row) { return rig.Pixel(CellLeft(column) + 3, CellTop(row) + 30) == kFrame; }

int FramedCells(PlayRig& rig) {
    int n = 0;
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) n += FrameAt(rig, column, row);
    return n;
}

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

struct Where {
    int column;
    int row;
};

// The cursor's cell, where the frame is drawn and where the accessible focus stands.
void ExpectCursor(PlayRig& rig, Where at) {
    const DisplayState& look = rig.game.display;
    EXPECT_EQ(look.cursorColumn, at.column);
    EXPECT_EQ(look.cursorRow, at.row);
    const BoardAccessibility* access = BoardAccessibility::Of(&rig.area());
    EXPECT_EQ(access->FocusX(), at.column);
    EXPECT_EQ(access->FocusY(), at.row);
    EXPECT_EQ(FramedCells(rig), at.column == 0 ? 0 : 1);
    if (at.column != 0) {
        EXPECT_TRUE(FrameAt(rig, at.column, at.row));
    }
}

// Arrows clamp at the border, Home/End reach the row's ends and with Ctrl the corners; only an
// arrow shows the cursor (on the cell last clicked), and it is gone when the loop ends.
TEST(Cursor, MovesWithinTheBoardAndLeavesWithTheLoop) {
    PlayRig rig;
    PrepareBoard(rig, false);
    QImage before;
    StepDriver d(rig);
    struct Move {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Where expected;
    };
    const std::vector<Move> moves{
        {Qt::Key_Home, Qt::NoModifier, {0, 0}},  {Qt::Key_Return, Qt::NoModifier, {0, 0}},
        {Qt::Key_Up, Qt::NoModifier, {1, 1}},    {Qt::Key_Up, Qt::NoModifier, {1, 1}},
        {Qt::Key_Left, Qt::NoModifier, {1, 1}},  {Qt::Key_Right, Qt::NoModifier, {2, 1}},
        {Qt::Key_Down, Qt::NoModifier, {2, 2}},  {Qt::Key_End, Qt::NoModifier, {9, 2}},
        {Qt::Key_Right, Qt::NoModifier, {9, 2}}, {Qt::Key_End, Qt::ControlModifier, {9, 9}},
        {Qt::Key_Down, Qt::NoModifier, {9, 9}},  {Qt::Key_Home, Qt::NoModifier, {1, 9}},
        {Qt::Key_End, Qt::ControlModifier, {9, 9}}, {Qt::Key_Home, Qt::ControlModifier, {1, 1}},
    };
    d.InLoop([&] { before = rig.area().image().copy(); });
    for (const Move& move : moves) {
        d.InLoop([&rig, move] {
            Press(rig, move.key, move.modifiers);
            SCOPED_TRACE(move.key);
            ExpectCursor(rig, move.expected);
        });
    }
    d.Leave();
    d.Run(kCmdGameStart);
    ExpectCursor(rig, {0, 0});

    // The next loop: the first arrow shows the cursor on the cell last clicked.
    StepDriver own(rig);
    own.Click(CellPoint(4, 6), Qt::RightButton);
    own.InLoop([&] {
        EXPECT_EQ(FramedCells(rig), 0);
        Press(rig, Qt::Key_Down);
        ExpectCursor(rig, {4, 6});
    });
    own.Leave();
    own.Run(kCmdOwnBoard);
    ExpectCursor(rig, {0, 0});
}

struct Gesture {
    const char* name;
    bool ownBoard;
    Where cell;
    std::function<void(PlayRig&, StepDriver&)> keys;
    std::function<void(PlayRig&, StepDriver&)> click;
};

// Enter, Space, Shift+Enter, Delete and Backspace on the cursor's cell change the board and the
// screen exactly as the click does, in both loops.
TEST(Cursor, KeysActAsTheClicksOnTheCursorCell) {
    auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [k, m](PlayRig& rig, StepDriver& d) { d.InLoop([&rig, k, m] { Press(rig, k, m); }); };
    };
    auto then = [](auto first, char typed) {
        return [first, typed](PlayRig& rig, StepDriver& d) {
            first(rig, d);
            d.PickerType(typed);
        };
    };
    auto click = [](Where at, Qt::MouseButton button, char typed = 0) {
        return [at, button, typed](PlayRig&, StepDriver& d) {
            d.Click(CellPoint(at.column, at.row), button);
            if (typed != 0) d.PickerType(typed);
        };
    };
    const std::vector<Gesture> gestures{
        {"Enter 5", false, {1, 1}, then(key(Qt::Key_Return), '5'), click({1, 1}, Qt::LeftButton, '5')},
        {"Space 0", false, {2, 9}, then(key(Qt::Key_Space), '0'), click({2, 9}, Qt::LeftButton, '0')},
        {"Shift+Enter 3", false, {1, 1}, then(key(Qt::Key_Return, Qt::ShiftModifier), '3'),
         click({1, 1}, Qt::RightButton, '3')},
        {"Shift+Enter clears", false, {2, 9}, key(Qt::Key_Return, Qt::ShiftModifier), click({2, 9}, Qt::RightButton)},
        {"Delete", false, {2, 9}, key(Qt::Key_Delete), click({2, 9}, Qt::RightButton)},
        {"own board Enter 7", true, {1, 1}, then(key(Qt::Key_Enter), '7'), click({1, 1}, Qt::LeftButton, '7')},
        {"own board Backspace", true, {2, 9}, key(Qt::Key_Backspace), click({2, 9}, Qt::RightButton)},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.name);
        BoardModel models[2];
        QImage images[2];
        for (int byKeys = 0; byKeys < 2; ++byKeys) {
            PlayRig rig;
            PrepareBoard(rig, gesture.ownBoard);
            const BoardModel start = rig.model();
            StepDriver d(rig);
            if (byKeys) {
                rig.game.interaction.clickedColumn = gesture.cell.column;
                rig.game.interaction.clickedRow = gesture.cell.row;
                d.InLoop([&] { Press(rig, Qt::Key_Left); });
                gesture.keys(rig, d);
                d.InLoop([&] { EXPECT_TRUE(FrameAt(rig, gesture.cell.column, gesture.cell.row)) << "frame on top"; });
            } else {
                gesture.click(rig, d);
            }
            d.Leave();
            d.Run(gesture.ownBoard ? kCmdOwnBoard : kCmdGameStart);
            models[byKeys] = rig.model();
            images[byKeys] = rig.area().image().copy();
            EXPECT_FALSE(models[byKeys].board == start.board && models[byKeys].givens == start.givens &&
                         models[byKeys].candidates == start.candidates)
                << "the gesture changes the board";
        }
        EXPECT_EQ(models[1].board, models[0].board);
        EXPECT_EQ(models[1].givens, models[0].givens);
        EXPECT_EQ(models[1].candidates, models[0].candidates);
        EXPECT_TRUE(images[1] == images[0]) << "same screen";
    }
}

// An entry made from the keyboard is told to assistive technology: the cell's new name and the
// changed statistics.
TEST(Cursor, AnEntryIsAnnounced) {
    PlayRig rig;
    PrepareBoard(rig, false);
    BoardAccessibility* access = BoardAccessibility::Of(&rig.area());
    std::vector<std::pair<QAccessible::Event, QAccessibleInterface*>> events;
    access->SetEventSink([&](QAccessibleEvent* event) { events.emplace_back(event->type(), event->accessibleInterface()); });
    StepDriver d(rig);
    d.InLoop([&] {
        Press(rig, Qt::Key_Right);
        events.clear();
        Press(rig, Qt::Key_Return);
    });
    d.PickerType('5');
    d.InLoop([&] {
        EXPECT_EQ(access->CellName(1, 1), "Zeile 1, Spalte 1, Diagonale: 5");
        auto told = [&](QAccessible::Event type, QAccessibleInterface* what) {
            return std::count(events.begin(), events.end(), std::make_pair(type, what)) > 0;
        };
        EXPECT_TRUE(told(QAccessible::NameChanged, access->Cell(1, 1)));
        EXPECT_TRUE(told(QAccessible::ValueChanged, access->Panel(AccessiblePanel::Statistics)));
    });
    d.Leave();
    d.Run(kCmdGameStart);
    access->SetEventSink(nullptr);
}

}  // namespace
}  // namespace tessaro::play
