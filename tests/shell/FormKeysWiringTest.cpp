// A keystroke that closes a form opened from the play loop acts once: its release, which lands on
// the board after the form has gone, does not act again in the loop.

#include <QMessageBox>

#include "forms/HallOfFameForms.h"
#include "forms/SlotDialog.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

// Esc pressed on the form (closing it), released on the board, as a real keyboard delivers it.
template <class Form>
void EscOnForm(PlayRig& rig, StepDriver& steps) {
    steps.OnModal<Form>([](Form* form) {
        QWidget* target = form->focusWidget() ? form->focusWidget() : form;
        QTest::keyPress(target, Qt::Key_Escape);
    });
    steps.When([] { return Modal<Form>() == nullptr; },
               [&rig] { QTest::keyRelease(&rig.area(), Qt::Key_Escape); });
}

TEST(FormKeys, EscClosingASlotDialogKeepsTheTimedGame) {
    PlayRig rig(7);
    StepDriver steps(rig);
    steps.Key(Qt::Key_L);
    EscOnForm<SlotDialog>(rig, steps);
    steps.Key(Qt::Key_S);
    EscOnForm<SlotDialog>(rig, steps);
    steps.InLoop([&] {
        EXPECT_TRUE(rig.settings().timedGame);
        EXPECT_NE(rig.clock(), kIdle);
        EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("brett.brd")));
    });
    // The loop's own Esc still leaves.
    steps.Leave();
    steps.Run(8);
    EXPECT_EQ(rig.clock(), kIdle);
}

TEST(FormKeys, EscClosingTheHallOfFameAfterASolveKeepsTheLoop) {
    PlayRig rig(7);
    StepDriver steps(rig);
    CompleteBoard(rig, steps);
    EscOnForm<ChampionDialog>(rig, steps);
    EscOnForm<HallOfFameDialog>(rig, steps);
    steps.InLoop([&] {
        EXPECT_EQ(rig.settings().status, Status::Solved);
        EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("Champions.Rhm")));
    });
    steps.Leave();
    steps.Run(8);
}

TEST(FormKeys, EscClosingTheHelpErrorKeepsTheLoop) {
    PlayRig rig(7);
    ASSERT_TRUE(QFile::remove(rig.workDir.Path(QStringLiteral("Kalvix.chm"))));
    StepDriver steps(rig);
    steps.Key(Qt::Key_H);
    EscOnForm<QMessageBox>(rig, steps);
    steps.InLoop([&] { EXPECT_TRUE(rig.interaction().AcceptingInput()); });
    steps.Leave();
    steps.Run(10);
}

TEST(FormKeys, EscDecliningTheExitQuestionKeepsTheTimedGame) {
    PlayRig rig(7);
    StepDriver steps(rig);
    steps.InLoop([&] { rig.window.close(); });
    EscOnForm<QMessageBox>(rig, steps);
    steps.InLoop([&] {
        EXPECT_TRUE(rig.settings().timedGame);
        EXPECT_NE(rig.clock(), kIdle);
        EXPECT_TRUE(rig.window.isVisible());
    });
    steps.Leave();
    steps.Run(8);
    EXPECT_EQ(rig.exitCalls, 0);
}

// A key pressed and released on the board still acts once, also right after a form was open.
TEST(FormKeys, KeysOfTheBoardStillActAfterAForm) {
    PlayRig rig(7);
    StepDriver steps(rig);
    steps.Key(Qt::Key_L);
    EscOnForm<SlotDialog>(rig, steps);
    steps.InLoop([&] { QTest::keyPress(&rig.area(), Qt::Key_Escape); });
    steps.InLoop([&] { QTest::keyRelease(&rig.area(), Qt::Key_Escape); });
    steps.Run(10);
    EXPECT_FALSE(rig.interaction().InMode());
}

}  // namespace
}  // namespace tessaro::play
