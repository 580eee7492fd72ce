// The game clock and the hall of fame as the player meets them through the main window.

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>

#include "forms/HallOfFameForms.h"
#include "persistence/RecordFile.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

const QRegularExpression kFinalReadout(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d$"));

// A solve outside a timed game: no form opens, the clock stays idle and the loop goes on until left.
void SolvedUntimedThenLeave(PlayRig& rig, StepDriver& steps) {
    steps.InLoop([&rig] {
        EXPECT_EQ(rig.settings().status, Status::Solved);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(rig.clock(), kIdle);
    });
    steps.Leave();
}

QStringList ChampionLines(const QByteArray& bytes) {
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

TEST(TimedGame, LabelStartsAdvancesFreezesInTheCellAndStopsOnLeaving) {
    PlayRig rig(7);
    EXPECT_EQ(rig.clock(), kIdle);
    StepDriver steps(rig);
    QElapsedTimer sinceStart;
    QString frozen;
    QElapsedTimer frozenFor;
    auto free = std::make_shared<QPoint>();

    steps.InLoop([&] {
        sinceStart.start();
        EXPECT_EQ(rig.labels, QStringList({" 00:00:00"}));
        EXPECT_TRUE(rig.settings().timedGame);
        *free = FirstFreeCell(rig.model());
    });
    steps.When([&] { return rig.labels.contains(" 00:00:01"); }, [&] {
        // One step a second, none skipped.
        EXPECT_EQ(rig.labels, QStringList({" 00:00:00", " 00:00:01"}));
        if (!kSlowBuild) {
            EXPECT_LT(sinceStart.elapsed(), 1400);
        }
    });
    steps.InLoop([&] { Press(&rig.area(), CellPoint(free->x(), free->y())); });
    steps.Then([&] { Release(&rig.area(), CellPoint(free->x(), free->y())); });
    steps.InPicker([&] {
        frozen = rig.clock();
        frozenFor.start();
    });
    // Open for more than a whole second: the label stays as it was.
    steps.When([&] { return rig.interaction().PickerOpen(); }, [&] {
        EXPECT_GE(frozenFor.elapsed(), 1300);
        EXPECT_EQ(rig.clock(), frozen);
        EXPECT_EQ(rig.labels.last(), frozen);
        QTest::keyClick(&rig.area(), '0');
    }, 1300);
    // Closed: it catches up at the next tick.
    steps.When([&] { return rig.clock() != frozen; }, [&] {
        if (!kSlowBuild) {
            EXPECT_LT(frozenFor.elapsed(), 3000);
        }
        EXPECT_GE(rig.clock(), QStringLiteral(" 00:00:02"));
        EXPECT_TRUE(rig.clock().startsWith(QStringLiteral(" 00:00:0"))) << rig.clock().toStdString();
    });
    steps.Leave();
    steps.Run(8);

    EXPECT_EQ(rig.clock(), kIdle);
    EXPECT_FALSE(rig.settings().timedGame);
    QTest::qWait(1200);  // no late tick of the ended game
    EXPECT_EQ(rig.clock(), kIdle);
    EXPECT_FALSE(rig.game.clock.WorkerActive());
}

TEST(TimedGame, CompletedGameEntersTheHallOfFameOrKeepsItWhenCancelled) {
    PlayRig rig(7);
    ASSERT_FALSE(rig.workDir.Exists(QStringLiteral("Champions.Rhm")));

    // First game: the name is confirmed.
    QString readout;
    {
        StepDriver steps(rig);
        steps.When([&] { return rig.labels.contains(" 00:00:01"); }, [] {});
        CompleteBoard(rig, steps);
        steps.OnModal<ChampionDialog>([&](ChampionDialog* champ) {
            readout = rig.clock();
            EXPECT_EQ(readout.size(), 10);
            EXPECT_TRUE(kFinalReadout.match(readout).hasMatch()) << readout.toStdString();
            EXPECT_GE(readout, QStringLiteral("00:00:01.0"));
            if (!kSlowBuild) {
                EXPECT_LT(readout, QStringLiteral("00:00:03.0"));
            }
            EXPECT_EQ(champ->pos(), rig.window.pos() + QPoint(177, 234));
            champ->ed1->setText(QStringLiteral("Anna"));
            QTest::mouseClick(champ->cmd5, Qt::LeftButton);
        });
        steps.OnModal<HallOfFameDialog>([&](HallOfFameDialog* ruhm) {
            EXPECT_EQ(ruhm->objectName(), "ruhm");
            EXPECT_EQ(rig.clock(), readout);  // the readout stays while the forms are open
            EXPECT_EQ(ruhm->tbs1->currentIndex(), 0);
            ASSERT_EQ(ruhm->liste[0]->topLevelItemCount(), 1);
            EXPECT_EQ(ruhm->liste[0]->topLevelItem(0)->text(1), "Anna");
            EXPECT_EQ(ruhm->liste[0]->topLevelItem(0)->text(3), readout);
            EXPECT_TRUE(rig.workDir.Exists(QStringLiteral("Champions.Rhm")));
            EXPECT_EQ(ruhm->pos(), rig.window.pos() + QPoint(68, 136));
            rig.window.grab().save(QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/wiring_solved_readout.png"));
            QTest::mouseClick(ruhm->cmd3, Qt::LeftButton);
        });
        // Back in the loop, which the solve does not end.
        steps.InLoop([&] {
            EXPECT_EQ(rig.clock(), kIdle);
            EXPECT_EQ(rig.settings().status, Status::Solved);
            EXPECT_FALSE(rig.settings().timedGame);
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        });
        steps.Leave();
        steps.Run(8);
    }
    EXPECT_EQ(rig.game.clock.championTime, readout);
    const QByteArray saved = rig.workDir.Bytes(QStringLiteral("Champions.Rhm"));
    EXPECT_EQ(saved.count("\r\n"), 120);
    const QStringList lines = ChampionLines(saved);
    ASSERT_EQ(lines.size(), 120);
    EXPECT_EQ(lines[0], "Anna");
    EXPECT_FALSE(lines[1].isEmpty());  // the date
    EXPECT_EQ(lines[2], readout);
    EXPECT_EQ(lines.count(QStringLiteral("9")), 39);

    // Second game: the name form is cancelled; file and tables stay, the hall of fame still shows.
    {
        StepDriver steps(rig);
        CompleteBoard(rig, steps);
        steps.OnModal<ChampionDialog>([&](ChampionDialog* champ) {
            EXPECT_EQ(champ->ed1->text(), "Anna");  // offered again
            champ->ed1->setText(QStringLiteral("Bert"));
            QTest::mouseClick(champ->cmd6, Qt::LeftButton);
        });
        steps.OnModal<HallOfFameDialog>([&](HallOfFameDialog* ruhm) {
            ASSERT_EQ(ruhm->liste[0]->topLevelItemCount(), 1);
            EXPECT_EQ(ruhm->liste[0]->topLevelItem(0)->text(1), "Anna");
            QTest::mouseClick(ruhm->cmd3, Qt::LeftButton);
        });
        steps.InLoop([&] { EXPECT_EQ(rig.clock(), kIdle); });
        steps.Leave();
        steps.Run(8);
    }
    EXPECT_EQ(rig.workDir.Bytes(QStringLiteral("Champions.Rhm")), saved);
    EXPECT_EQ(rig.game.hallOfFame.names[1][0], "Anna");
    EXPECT_FALSE(rig.game.hallOfFame.Filled(2, 0));
}

TEST(TimedGame, CancelledFirstNameLeavesNoFileButShowsTheHallOfFame) {
    PlayRig rig(7);
    bool shown = false;
    StepDriver steps(rig);
    CompleteBoard(rig, steps);
    steps.OnModal<ChampionDialog>([&](ChampionDialog* champ) { QTest::mouseClick(champ->cmd6, Qt::LeftButton); });
    steps.OnModal<HallOfFameDialog>([&](HallOfFameDialog* ruhm) {
        shown = true;
        EXPECT_EQ(ruhm->liste[0]->topLevelItemCount(), 0);
        ruhm->close();
    });
    steps.InLoop([&] { EXPECT_EQ(rig.clock(), kIdle); });
    steps.Leave();
    steps.Run(8);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("Champions.Rhm")));
    EXPECT_FALSE(rig.game.hallOfFame.Filled(1, 0));
}

// Candidates on screen make a game untimed: no clock, no hall of fame.
TEST(TimedGame, ShownCandidatesEndEligibility) {
    {
        SCOPED_TRACE("candidates switched on before the game");
        PlayRig rig(7);
        StepDriver none(rig);
        none.Run(44);
        ASSERT_TRUE(rig.settings().showCandidates);
        StepDriver steps(rig);
        steps.InLoop([&] {
            EXPECT_EQ(rig.clock(), kIdle);
            EXPECT_FALSE(rig.settings().timedGame);
            EXPECT_FALSE(rig.game.clock.WorkerActive());
        });
        CompleteBoard(rig, steps);
        SolvedUntimedThenLeave(rig, steps);
        steps.Run(8);
        EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("Champions.Rhm")));
    }
    {
        SCOPED_TRACE("M during a timed game");
        PlayRig rig(7);
        StepDriver steps(rig);
        steps.InLoop([&] { EXPECT_EQ(rig.clock(), " 00:00:00"); });
        steps.Key(Qt::Key_M);
        steps.InLoop([&] {
            EXPECT_TRUE(rig.settings().showCandidates);
            EXPECT_FALSE(rig.settings().timedGame);
            EXPECT_EQ(rig.clock(), kIdle);
        });
        steps.When([&] { return rig.interaction().AcceptingInput(); }, [&] { EXPECT_EQ(rig.clock(), kIdle); }, 1200);
        CompleteBoard(rig, steps);
        SolvedUntimedThenLeave(rig, steps);
        steps.Run(8);
        EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("Champions.Rhm")));
    }
}

TEST(UntimedGame, FinishingTheBoardMakesNoEntryAndKeepsTheLoop) {
    PlayRig rig(7);
    rig.settings().currentFile = "leicht.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 0));
    StepDriver steps(rig);
    steps.InLoop([&] { EXPECT_EQ(rig.clock(), kIdle); });
    CompleteBoard(rig, steps);
    SolvedUntimedThenLeave(rig, steps);
    steps.Run(10);
    EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("Champions.Rhm")));
    EXPECT_EQ(rig.game.hallOfFame.names[1][0], "");
}

// A game may outlive its window (a new window can be built over it): the clock then writes nowhere.
TEST(GameWithoutWindow, ClockWritesNowhere) {
    ScopedWorkDir dir;
    Game game;
    {
        MainWindow window(game);
        window.show();
    }
    game.clock.StartClock();
    game.clock.ClockThread();  // no window to post to: no worker
    EXPECT_FALSE(game.clock.WorkerActive());
    game.clock.boardSolved = true;
    game.clock.RefreshClock();
    EXPECT_FALSE(game.settings.timedGame);

    MainWindow again(game);
    game.clock.StartClock();
    EXPECT_EQ(again.clockLabel().text(), " 00:00:00");
    game.clock.StopClock();
    EXPECT_EQ(again.clockLabel().text(), kIdle);
}

TEST(HallOfFameCommand, OpensOnTheCurrentLevelOverTheWindow) {
    PlayRig rig(7);
    StepDriver level(rig);
    level.Run(32);
    int tab = -1;
    QPoint at;
    StepDriver steps(rig);
    steps.OnModal<HallOfFameDialog>([&](HallOfFameDialog* ruhm) {
        tab = ruhm->tbs1->currentIndex();
        at = ruhm->pos();
        EXPECT_EQ(ruhm->windowTitle(), "Ruhmeshalle");
        QTest::mouseClick(ruhm->cmd3, Qt::LeftButton);
    });
    steps.Run(50);
    EXPECT_EQ(tab, 2);
    EXPECT_EQ(at, rig.window.pos() + QPoint(68, 136));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(rig.window.CommandRunning());
}

}  // namespace
}  // namespace tessaro::play
