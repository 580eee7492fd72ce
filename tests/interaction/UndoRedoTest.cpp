// Ctrl+Z and Ctrl+Y in the play loops, seen on the screen.

#include "persistence/RecordFile.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

void Chord(PlayRig& rig, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(&rig.area(), key, modifiers);
}

int DifferentPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

struct Change {
    const char* name;
    bool ownBoard;
    std::function<void(PlayRig&, StepDriver&)> make;
};

// Each kind of change, taken back and brought back: after the undo the screen is the one before
// the change (after M: the candidates hidden and the note back), after the redo the one after it,
// and a second redo changes nothing.
TEST(UndoRedo, EveryKindOfChangeRestoresTheScreen) {
    const std::vector<Change> changes{
        {"symbol", false, [](PlayRig&, StepDriver& d) { d.Click(CellPoint(1, 1)).PickerType('5'); }},
        {"clear", false, [](PlayRig&, StepDriver& d) { d.Click(CellPoint(2, 9), Qt::RightButton); }},
        {"mark", false,
         [](PlayRig&, StepDriver& d) { d.Click(CellPoint(1, 1), Qt::RightButton).PickerType('3'); }},
        {"solve", false, [](PlayRig&, StepDriver& d) { d.Key(Qt::Key_K).Key(Qt::Key_O); }},
        {"restart", false, [](PlayRig&, StepDriver& d) { d.Key(Qt::Key_N); }},
        {"candidate display", false, [](PlayRig&, StepDriver& d) { d.Key(Qt::Key_M); }},
        {"shuffle", true, [](PlayRig&, StepDriver& d) { d.Key(Qt::Key_X); }},
        {"given", true, [](PlayRig&, StepDriver& d) { d.Click(CellPoint(1, 1)).PickerType('7'); }},
        {"given cleared", true, [](PlayRig&, StepDriver& d) { d.Click(CellPoint(2, 9), Qt::RightButton); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        PlayRig rig;
        rig.settings().currentFile = "mittel.brd";
        ASSERT_TRUE(LoadRecord(rig.game.engine, 1));
        // A player entry to clear, a given to take away, and (1, 1) free with a note.
        rig.game.engine.SetGiven(1, 1, 0);
        rig.game.engine.SetMark(1, 1, 5);
        rig.game.engine.SetGiven(2, 9, 0);
        rig.game.engine.EnterSymbol(2, 9, 4);
        rig.game.engine.ForgetMoves();
        if (change.ownBoard) rig.game.engine.SetGiven(2, 9, 4);
        rig.window.display().UpdateDifficultyPanel();
        rig.window.display().RedrawBoard();
        QImage before;
        QImage after;
        StepDriver d(rig);
        d.InLoop([&] { before = rig.area().image().copy(); });
        change.make(rig, d);
        d.InLoop([&] {
            after = rig.area().image().copy();
            EXPECT_NE(after, before) << "the change shows";
            Chord(rig, Qt::Key_Z);
        });
        d.InLoop([&] {
            EXPECT_EQ(DifferentPixels(rig.area().image(), before), 0) << "after the undo";
            Chord(rig, Qt::Key_Y);
        });
        d.InLoop([&] {
            EXPECT_EQ(DifferentPixels(rig.area().image(), after), 0) << "after the redo";
            Chord(rig, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        });
        d.InLoop([&] { EXPECT_EQ(DifferentPixels(rig.area().image(), after), 0) << "nothing left to redo"; });
        d.Leave();
        d.Run(change.ownBoard ? kCmdOwnBoard : kCmdGameStart);
    }
}

// A timed game runs on through undo and redo, and Z, Y without Ctrl do nothing.
TEST(UndoRedo, ATimedGameKeepsRunning) {
    PlayRig rig;
    StepDriver d(rig);
    const Grid* board = &rig.model().board;
    Grid entered{};
    QPoint cell;
    d.InLoop([&] {
        EXPECT_TRUE(rig.settings().timedGame);
        cell = FirstFreeCell(rig.model());
        Press(&rig.area(), CellPoint(cell.x(), cell.y()));
    });
    d.Then([&] { Release(&rig.area(), CellPoint(cell.x(), cell.y())); });
    d.PickerType('1');
    d.InLoop([&] {
        entered = *board;
        KeyUp(&rig.area(), Qt::Key_Z);
        KeyUp(&rig.area(), Qt::Key_Y);
        EXPECT_EQ(*board, entered);
        Chord(rig, Qt::Key_Z);
        EXPECT_NE(*board, entered);
        Chord(rig, Qt::Key_Y);
        EXPECT_EQ(*board, entered);
        EXPECT_TRUE(rig.settings().timedGame);
        EXPECT_TRUE(rig.game.clock.WorkerActive());
    });
    d.Leave();
    d.Run(kCmdNewGame);
}

}  // namespace
}  // namespace tessaro::play
