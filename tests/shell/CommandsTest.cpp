// Menu commands through their actions: the dispatcher's closing steps and the exit question.

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>

#include "persistence/RecordFile.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

void LoadPuzzle(PlayRig& rig, const char* file = "leicht.brd", int record = 0) {
    rig.settings().currentFile = file;
    ASSERT_TRUE(LoadRecord(rig.game.engine, record));
}

// Leaves traces that the closing steps must remove.
void Dirty(PlayRig& rig) {
    Canvas& canvas = rig.window.display().canvas();
    canvas.SetFillStyle(kFillSolid);
    canvas.SetForeColour(0);
    canvas.SetFillColour(0);
    canvas.FilledBox(40, 600, 560, 622);
    rig.game.interaction.leaveRequest = true;
    rig.game.display.helpText = "x";
    for (int id : kCheckedCommands) rig.window.MenuAction(id)->setChecked(id == kCmdExtrem || id == kCmdLetters);
    rig.texts.clear();
}

QAbstractButton* ButtonText(QWidget* box, const QString& text) {
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
        if (button->text() == text) return button;
    }
    ADD_FAILURE() << "no button " << text;
    return nullptr;
}

// Answers the exit question; checks its look first.
void AnswerExit(StepDriver& d, const QString& answer) {
    d.OnModal("", [answer](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Spiel beenden?");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(), "&NEIN");
        if (answer == "Enter") {
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            QTest::mouseClick(ButtonText(box, answer), Qt::LeftButton);
        }
    });
}

TEST(MenuCommands, EveryCommandEndsWithTheClosingSteps) {
    PlayRig rig;
    LoadPuzzle(rig);
    StepDriver d(rig);
    // Commands without a play loop.
    for (int id : {30, 31, 32, 33, 41, 40, 44, 44, 24, 22, 26, 77, 0, -5}) {
        SCOPED_TRACE(id);
        Dirty(rig);
        if (rig.window.MenuAction(id)) {
            rig.Trigger(id);
        } else {
            rig.window.Win_0_MenuEvent(id);  // not on the menu: nothing but the closing steps
        }
        EXPECT_EQ(rig.game.lastCommand, id);
        ExpectClosingSteps(rig);
        const bool asksForCell = id == 24 || id == 22;
        EXPECT_EQ(DrewText(rig, kHelpClickCell), asksForCell);
    }
    // Commands with a play loop, left through Esc, A or the Abbruch button.
    for (int id : {8, 10, 11, 25, 20, 21}) {
        SCOPED_TRACE(id);
        Dirty(rig);
        if (id == 20 || id == 21) {
            d.OnModal("frm1", [](QWidget* frm1) { static_cast<QDialog*>(frm1)->reject(); });
        }
        d.Do([&rig, id] {
            EXPECT_EQ(rig.game.display.helpText, kHelpClickCell);
            EXPECT_FALSE(rig.window.menuBar()->isEnabled());
            EXPECT_FALSE(rig.game.interaction.leaveRequest);
            EXPECT_EQ(rig.settings().timedGame, id == 8);
            EXPECT_EQ(rig.settings().ownBoard, id == 11);
        });
        if (id == 10) {
            d.Do([&rig] { Press(&rig.area(), {500, 610}); });
        } else if (id == 11) {
            d.Key(Qt::Key_A);
        } else {
            d.Leave();
        }
        d.Run(id);
        ExpectClosingSteps(rig);
        EXPECT_FALSE(rig.settings().ownBoard);
        EXPECT_EQ(rig.window.clockLabel().text(), " 99:99:99");
    }
    // The modal forms and the help.
    Dirty(rig);
    d.OnModal("Inf", [](QWidget* inf) { QTest::mouseClick(Child<QPushButton>(inf, "cmd15"), Qt::LeftButton); });
    d.Run(1);
    ExpectClosingSteps(rig);
    Dirty(rig);
    d.OnModal("ruhm", [](QWidget* ruhm) { QTest::mouseClick(Child<QPushButton>(ruhm, "cmd3"), Qt::LeftButton); });
    d.Run(50);
    ExpectClosingSteps(rig);
    Dirty(rig);
    rig.Trigger(60);
    ASSERT_NE(rig.game.help.window, nullptr);
    EXPECT_TRUE(rig.game.help.window->isVisible());
    ExpectClosingSteps(rig);
}

TEST(MenuCommands, SettingsCommandsChangeOnlyTheirSetting) {
    PlayRig rig;
    LoadPuzzle(rig, "schwer.brd", 1);
    const BoardModel before = rig.model();
    rig.Trigger(31);
    EXPECT_EQ(rig.settings().difficulty, 1);
    EXPECT_EQ(LastTextAt(rig, 656, 426), "  Mittel   ");
    EXPECT_EQ(rig.model().board, before.board);
    EXPECT_EQ(rig.model().givens, before.givens);
    ExpectClosingSteps(rig);

    // Letters and digits: exactly one of the two is checked, and the board is drawn anew.
    rig.texts.clear();
    rig.Trigger(41);
    ExpectClosingSteps(rig);
    EXPECT_TRUE(DrewText(rig, "A"));
    EXPECT_FALSE(DrewText(rig, "1"));
    rig.texts.clear();
    rig.Trigger(40);
    ExpectClosingSteps(rig);
    EXPECT_TRUE(DrewText(rig, "1"));

    // Candidates twice: the flag comes back and no mark is left.
    rig.model().mark(1, 1, 5) = true;
    rig.model().mark(9, 9, 0) = true;
    rig.Trigger(44);
    EXPECT_TRUE(rig.settings().showCandidates);
    ExpectClosingSteps(rig);
    bool anyMark = false;
    for (bool mark : rig.model().candidates) anyMark = anyMark || mark;
    EXPECT_TRUE(anyMark) << "shown candidates are computed";
    rig.Trigger(44);
    EXPECT_FALSE(rig.settings().showCandidates);
    ExpectClosingSteps(rig);
    for (bool mark : rig.model().candidates) ASSERT_FALSE(mark);
    EXPECT_EQ(rig.model().board, before.board);
}

// ---- the exit question ------------------------------------------------------------------------

// A missing or damaged puzzle file starts no game: a message names it, the board stays, no clock.
TEST(NewGame, UnreadablePuzzleFileStartsNoGame) {
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged ? "damaged" : "missing");
        PlayRig rig;
        LoadPuzzle(rig, "mittel.brd", 2);
        const Grid before = rig.model().board;
        QFile file(rig.workDir.Path(QStringLiteral("leicht.brd")));
        if (damaged) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8800, '\xff'));
            file.close();
        } else {
            ASSERT_TRUE(file.remove());
        }
        StepDriver d(rig);
        QString text;
        d.OnModal("puzzleFileError", [&](QWidget* box) {
            text = static_cast<QMessageBox*>(box)->text();
            EXPECT_FALSE(rig.settings().timedGame);
            box->close();
        });
        d.Run(kCmdNewGame);
        EXPECT_TRUE(text.contains(QStringLiteral("\"leicht.brd\""))) << text.toStdString();
        EXPECT_EQ(rig.model().board, before);
        EXPECT_FALSE(rig.game.clock.WorkerActive());
        EXPECT_EQ(rig.clock(), kIdle);
        EXPECT_FALSE(rig.interaction().InMode());
    }
}

TEST(ExitQuestion, DecliningKeepsEverythingAndYesExits) {
    PlayRig rig;
    LoadPuzzle(rig);
    rig.Trigger(32);
    rig.Trigger(41);
    const BoardModel before = rig.model();
    const QString label = rig.window.clockLabel().text();
    StepDriver d(rig);
    for (const char* answer : {"&NEIN", "Enter"}) {
        SCOPED_TRACE(answer);
        Dirty(rig);
        AnswerExit(d, answer);
        d.Run(99);
        EXPECT_EQ(rig.exitCalls, 0);
        EXPECT_EQ(rig.model().board, before.board);
        EXPECT_EQ(rig.model().givens, before.givens);
        EXPECT_EQ(rig.settings().difficulty, 2);
        EXPECT_FALSE(rig.settings().showDigits);
        EXPECT_EQ(rig.window.clockLabel().text(), label);
        ExpectClosingSteps(rig);
    }
    AnswerExit(d, "&JA");
    d.Run(99);
    EXPECT_EQ(rig.exitCalls, 1);

    // Closing the window asks too; declined, the window stays and the leave request is set.
    AnswerExit(d, "&NEIN");
    d.Run([&] { rig.window.close(); });
    EXPECT_TRUE(rig.window.isVisible());
    EXPECT_TRUE(rig.game.interaction.leaveRequest);
    EXPECT_EQ(rig.exitCalls, 1);
    AnswerExit(d, "&JA");
    d.Run([&] { rig.window.close(); });
    EXPECT_EQ(rig.exitCalls, 2);
}

TEST(ExitQuestion, DecliningDuringPlayEndsAnOpenPickerAsEsc) {
    PlayRig rig;
    rig.model().cell(3, 3) = 4;
    rig.game.engine.ModelReplaced();
    StepDriver d(rig);
    // In the loop: the game goes on.
    d.Do([&] { rig.window.close(); });
    AnswerExit(d, "&NEIN");
    d.Do([&] {
        EXPECT_TRUE(rig.game.interaction.leaveRequest);
        EXPECT_EQ(rig.model().cell(3, 3), 4);
    });
    // In the picker: it closes as if Esc had been pressed and the cell is emptied.
    d.Click(CellPoint(3, 3));
    d.InPicker([&] { rig.window.close(); });
    AnswerExit(d, "&NEIN");
    d.Do([&] {
        EXPECT_FALSE(rig.interaction().PickerOpen());
        EXPECT_EQ(rig.model().cell(3, 3), 0);
        EXPECT_TRUE(rig.game.interaction.leaveRequest);
        EXPECT_EQ(rig.game.display.helpText, "Bitte ein Feld anklicken! ");
    });
    // The player's next Esc leaves the loop at once.
    d.Leave();
    d.Run(10);
    EXPECT_EQ(rig.exitCalls, 0);
    ExpectClosingSteps(rig);
}

}  // namespace
}  // namespace tessaro::play
