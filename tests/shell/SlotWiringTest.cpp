// The board slots as the menu commands and the play loop's L, S keys and buttons reach them.

#include <QPushButton>
#include <QRadioButton>

#include "forms/SlotDialog.h"
#include "persistence/RecordFile.h"
#include "support/LoadInto.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

const QString kLoadTitle = QStringLiteral("Welches Brett laden?");
const QString kSaveTitle = QStringLiteral("Sichern unter ...");

// The slot whose option button is on when the dialog opens.
int Preselected(SlotDialog* dialog) {
    for (int slot = 0; slot < 4; ++slot) {
        if (dialog->option(slot)->isChecked()) return slot;
    }
    return -1;
}

// Types a slot number on the focused option button, as the player does.
void TypeSlot(SlotDialog* dialog, char key) {
    QWidget* target = dialog->focusWidget();
    if (target == nullptr) target = dialog->option(Preselected(dialog));
    QTest::keyClick(target, key);
}

BoardModel ReadSlot(int slot) {
    BoardModel model;
    Settings settings;
    settings.currentFile = std::string(kBoardFile);
    EXPECT_TRUE(LoadInto(model, settings, slot)) << slot;
    return model;
}

// A puzzle with a player entry and a few marks of the player's own.
void PrepareBoard(PlayRig& rig) {
    rig.settings().currentFile = "mittel.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 1));
    const QPoint free = FirstFreeCell(rig.model());
    rig.model().cell(free.x(), free.y()) = 5;
    rig.model().mark(9, 9, 3) = rig.model().given(9, 9) == 0;
    for (int x = 1; x <= 9; ++x) {
        if (rig.model().given(x, 5) == 0 && rig.model().cell(x, 5) == 0) rig.model().mark(x, 5, 7) = true;
    }
    rig.game.engine.ModelReplaced();
}

void Scramble(BoardModel& model) {
    model.board.fill(0);
    model.givens.fill(0);
    model.clearCandidates();
    model.cell(2, 2) = 1;
}

TEST(SlotCommands, SaveUnderThenLoadRestoresBoardGivensAndMarks) {
    PlayRig rig(7);
    PrepareBoard(rig);
    const BoardModel before = rig.model();

    StepDriver save(rig);
    save.OnModal<SlotDialog>([&](SlotDialog* d) {
        EXPECT_EQ(d->pos(), rig.window.frameGeometry().topLeft() + QPoint(595, 235));
        EXPECT_EQ(d->windowTitle(), kSaveTitle);
        EXPECT_EQ(Preselected(d), 0);
        TypeSlot(d, '2');
    });
    save.InLoop([&] { EXPECT_EQ(QFileInfo(rig.workDir.Path(QStringLiteral("brett.brd"))).size(), 8800); });
    save.Leave();
    save.Run(21);

    EXPECT_EQ(rig.workDir.Bytes(QStringLiteral("brett.brd")).size(), 8800);
    EXPECT_EQ(rig.game.boardSlots.selectedSlot, 1);
    const BoardModel stored = ReadSlot(1);
    EXPECT_EQ(stored.board, before.board);
    EXPECT_EQ(stored.givens, before.givens);
    EXPECT_EQ(stored.candidates, before.candidates);

    Scramble(rig.model());
    StepDriver load(rig);
    load.OnModal<SlotDialog>([](SlotDialog* d) {
        EXPECT_EQ(d->windowTitle(), kLoadTitle);
        EXPECT_EQ(Preselected(d), 1);  // the slot used last
        TypeSlot(d, '2');
    });
    load.InLoop([&] {
        EXPECT_EQ(rig.model().board, before.board);
        EXPECT_EQ(rig.model().givens, before.givens);
        EXPECT_EQ(rig.model().candidates, before.candidates);
        EXPECT_EQ(rig.settings().currentFile, "brett.brd");
    });
    load.Leave();
    load.Run(20);
    EXPECT_EQ(rig.model().board, before.board);
}

TEST(SlotKeys, KeysAndButtonsOpenTheDialogsAndTheLoopGoesOn) {
    PlayRig rig(7);
    PrepareBoard(rig);
    const BoardModel before = rig.model();
    QStringList titles;
    std::vector<int> preselected;
    auto answer = [&](char key) {
        return [&, key](SlotDialog* d) {
            titles << d->windowTitle();
            preselected.push_back(Preselected(d));
            TypeSlot(d, key);
        };
    };

    StepDriver steps(rig);
    steps.Key(Qt::Key_S);
    steps.OnModal<SlotDialog>(answer('3'));
    steps.InLoop([&] {
        EXPECT_EQ(ReadSlot(2).board, before.board);
        Scramble(rig.model());
    });
    steps.Key(Qt::Key_L);
    steps.OnModal<SlotDialog>(answer('3'));
    steps.InLoop([&] {
        EXPECT_EQ(rig.model().board, before.board);
        EXPECT_EQ(rig.model().candidates, before.candidates);
        rig.model().cell(2, 2) = rig.model().given(2, 2) ? rig.model().cell(2, 2) : 0;
    });
    steps.Click(QPoint(108, 610));  // " _Sichern ", its left edge
    steps.OnModal<SlotDialog>(answer('4'));
    steps.InLoop([&] {
        EXPECT_EQ(ReadSlot(3).givens, before.givens);
        Scramble(rig.model());
    });
    steps.Click(QPoint(107, 610));  // " _Laden ", its right edge
    steps.OnModal<SlotDialog>(answer('4'));
    steps.InLoop([&] {
        EXPECT_EQ(rig.model().givens, before.givens);
        EXPECT_TRUE(rig.interaction().AcceptingInput());
    });
    steps.Leave();
    steps.Run(10);

    EXPECT_EQ(titles, QStringList({kSaveTitle, kLoadTitle, kSaveTitle, kLoadTitle}));
    EXPECT_EQ(preselected, std::vector<int>({0, 2, 2, 3}));
    EXPECT_EQ(rig.game.boardSlots.selectedSlot, 3);
}

TEST(SlotKeys, LoadingEndsATimedGameAndCancelChangesNothing) {
    PlayRig rig(7);
    BoardModel game;
    QByteArray savedFile;
    StepDriver steps(rig);
    steps.InLoop([&] {
        EXPECT_EQ(rig.clock(), " 00:00:00");
        game = rig.model();
    });
    steps.Key(Qt::Key_L);
    steps.OnModal<SlotDialog>([](SlotDialog* d) { QTest::mouseClick(d->findChild<QPushButton*>("cmd2"), Qt::LeftButton); });
    steps.InLoop([&] {
        EXPECT_EQ(rig.model().board, game.board);
        EXPECT_EQ(rig.model().givens, game.givens);
        EXPECT_TRUE(rig.settings().timedGame);
        EXPECT_NE(rig.clock(), kIdle);
        EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("brett.brd")));
        EXPECT_EQ(rig.game.boardSlots.selectedSlot, 0);
    });
    steps.Key(Qt::Key_S);
    steps.OnModal<SlotDialog>([](SlotDialog* d) { TypeSlot(d, '1'); });
    steps.InLoop([&] {
        EXPECT_TRUE(rig.settings().timedGame);  // saving keeps the clock
        savedFile = rig.workDir.Bytes(QStringLiteral("brett.brd"));
        EXPECT_EQ(savedFile.size(), 8800);
    });
    // A cancelled save writes nothing either.
    steps.Key(Qt::Key_S);
    steps.OnModal<SlotDialog>([](SlotDialog* d) { d->close(); });
    steps.InLoop([&] { EXPECT_EQ(rig.workDir.Bytes(QStringLiteral("brett.brd")), savedFile); });
    steps.Key(Qt::Key_L);
    steps.OnModal<SlotDialog>([](SlotDialog* d) { TypeSlot(d, '1'); });
    steps.InLoop([&] {
        EXPECT_FALSE(rig.settings().timedGame);
        EXPECT_EQ(rig.clock(), kIdle);
        EXPECT_EQ(rig.model().board, game.board);
    });
    steps.When([&] { return rig.interaction().AcceptingInput(); }, [&] {
        EXPECT_EQ(rig.clock(), kIdle);  // no tick of the ended game comes late
        EXPECT_FALSE(rig.game.clock.WorkerActive());
    }, 1200);
    steps.Leave();
    steps.Run(8);
    EXPECT_EQ(rig.clock(), kIdle);
}

}  // namespace
}  // namespace tessaro::play
