#include "engine/Engine.h"
#include "forms/SlotDialog.h"
#include "persistence/RecordFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace tessaro {
namespace {

class SlotDialogTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        // Slot n holds the digit n + 1 in cell (1, 1).
        settings.currentFile = "brett.brd";
        for (int slot = 0; slot < 4; ++slot) {
            BoardModel slotBoard;
            slotBoard.cell(1, 1) = static_cast<std::uint8_t>(slot + 1);
            ASSERT_TRUE(SaveRecord(slotBoard, settings, slot));
        }
        fileBefore = fileBytes();
        model.cell(5, 5) = 7;
        window.setGeometry(40, 30, 862, 694);
        window.show();
    }

    void TearDown() override { QDir::setCurrent(previousDir); }

    static QByteArray fileBytes() {
        QFile file("brett.brd");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
    }

    // Opens the dialog and lets `act` drive it once the modal loop runs. A dialog still open
    // after a second is closed, and reported by `leftOpen`.
    SlotOutcome run(SlotMode mode, const std::function<void(SlotDialog&)>& act) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<SlotDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (QWidget* open = QApplication::activeModalWidget()) {
                leftOpen = true;
                open->close();
            }
        });
        guard.start(1000);
        leftOpen = false;
        Engine engine(model, settings);
        return SlotDialog::Run(mode, state, engine, &window);
    }

    static void type(QWidget* target, char key) { QTest::keyClick(target, key); }

    QTemporaryDir dir;
    QString previousDir;
    QByteArray fileBefore;
    QWidget window;
    SlotState state;
    BoardModel model;
    Settings settings;
    bool leftOpen = false;
};

TEST_F(SlotDialogTest, DigitKeyLoadsThatSlotAtOnce) {
    settings.timedGame = true;
    const SlotOutcome outcome = run(SlotMode::Load, [](SlotDialog& d) { type(d.option(0), '3'); });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(outcome, SlotOutcome::Done);
    EXPECT_EQ(model.cell(1, 1), 3);
    EXPECT_EQ(model.cell(5, 5), 0);
    EXPECT_EQ(state.selectedSlot, 2);
    EXPECT_FALSE(settings.timedGame);
}

TEST_F(SlotDialogTest, EnterConfirmsTheFocusedButtonsOwnSlot) {
    run(SlotMode::Load, [](SlotDialog& d) {
        d.option(3)->setFocus();
        QTest::keyClick(d.option(3), Qt::Key_Return);
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(model.cell(1, 1), 4);
    EXPECT_EQ(state.selectedSlot, 3);
}

TEST_F(SlotDialogTest, OtherKeysConfirmTheSelectedSlot) {
    state.selectedSlot = 1;
    run(SlotMode::Load, [](SlotDialog& d) { type(d.option(3), 'x'); });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(model.cell(1, 1), 2);

    run(SlotMode::Load, [](SlotDialog& d) { type(d.option(1), '7'); });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(model.cell(1, 1), 2);
    EXPECT_EQ(state.selectedSlot, 1);
}

TEST_F(SlotDialogTest, ClickOnOptionConfirmsButSwitchingItOnInCodeDoesNot) {
    run(SlotMode::Load, [](SlotDialog& d) {
        d.option(2)->setChecked(true);
        EXPECT_TRUE(d.isVisible());
        QRadioButton* second = d.option(1);
        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(8, second->height() / 2));
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(model.cell(1, 1), 2);
    EXPECT_EQ(state.selectedSlot, 1);
}

TEST_F(SlotDialogTest, OkConfirmsTheCheckedSlot) {
    run(SlotMode::Load, [](SlotDialog& d) {
        d.option(3)->setChecked(true);
        QTest::mouseClick(d.findChild<QPushButton*>("cmd1"), Qt::LeftButton);
    });
    EXPECT_EQ(model.cell(1, 1), 4);
    EXPECT_EQ(state.selectedSlot, 3);
}

TEST_F(SlotDialogTest, CancelCloseAndEscapeChangeNothing) {
    state.selectedSlot = 2;
    const BoardModel before = model;
    const std::vector<std::function<void(SlotDialog&)>> leaves{
        [](SlotDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("cmd2"), Qt::LeftButton); },
        [](SlotDialog& d) { d.close(); },
        [](SlotDialog& d) { QTest::keyClick(d.option(2), Qt::Key_Escape); },
    };
    for (SlotMode mode : {SlotMode::Load, SlotMode::Save}) {
        for (const auto& leave : leaves) {
            const SlotOutcome outcome = run(mode, [&](SlotDialog& d) {
                d.option(0)->setChecked(true);
                leave(d);
            });
            EXPECT_FALSE(leftOpen);
            EXPECT_EQ(outcome, SlotOutcome::Cancelled);
            EXPECT_EQ(model.board, before.board);
            EXPECT_EQ(state.selectedSlot, 2);
            EXPECT_EQ(fileBytes(), fileBefore);
        }
    }
}

TEST_F(SlotDialogTest, SaveWritesIntoTheBoardFileAndIsPreselectedNextTime) {
    settings.currentFile = "leicht.brd";
    model.mark(2, 2, 2) = true;
    const SlotOutcome outcome = run(SlotMode::Save, [](SlotDialog& d) {
        QRadioButton* fourth = d.option(3);
        QTest::mouseClick(fourth, Qt::LeftButton, {}, QPoint(8, fourth->height() / 2));
    });
    EXPECT_EQ(outcome, SlotOutcome::Done);
    EXPECT_EQ(settings.currentFile, "brett.brd");
    EXPECT_FALSE(QFile::exists("leicht.brd"));
    EXPECT_EQ(fileBytes().left(3 * 2200), fileBefore.left(3 * 2200));

    bool preselected = false;
    run(SlotMode::Load, [&](SlotDialog& d) {
        preselected = d.option(3)->isChecked() && d.focusWidget() == d.option(3);
        QTest::mouseClick(d.findChild<QPushButton*>("cmd1"), Qt::LeftButton);
    });
    EXPECT_TRUE(preselected);
    BoardModel expected;
    expected.cell(5, 5) = 7;
    expected.mark(2, 2, 2) = true;
    EXPECT_EQ(model.board, expected.board);
    EXPECT_EQ(model.candidates, expected.candidates);
}

TEST_F(SlotDialogTest, CaptionsLabelsAndPlace) {
    QString loadTitle, saveTitle, family;
    QStringList labels;
    QPoint offset;
    run(SlotMode::Load, [&](SlotDialog& d) {
        loadTitle = d.windowTitle();
        family = d.font().family();
        for (int slot = 0; slot < 4; ++slot) labels << d.option(slot)->text();
        labels << d.findChild<QPushButton*>("cmd1")->text() << d.findChild<QPushButton*>("cmd2")->text();
        offset = d.frameGeometry().topLeft() - window.frameGeometry().topLeft();
        d.reject();
    });
    run(SlotMode::Save, [&](SlotDialog& d) {
        saveTitle = d.windowTitle();
        d.reject();
    });
    EXPECT_EQ(loadTitle, "Welches Brett laden?");
    EXPECT_EQ(saveTitle, "Sichern unter ...");
    EXPECT_EQ(family, "Arial");
    EXPECT_EQ(labels, (QStringList{"Nr. &1", "Nr. &2", "Nr. &3", "Nr. &4", "&OK", "&Abbruch"}));
    EXPECT_EQ(offset, QPoint(595, 235));
}

TEST_F(SlotDialogTest, FailedSaveIsToldToThePlayerAndTheCaller) {
    ASSERT_TRUE(QFile::remove("brett.brd"));
    ASSERT_TRUE(QDir().mkdir("brett.brd"));  // a folder where the file should be
    QString told;
    const SlotOutcome outcome = run(SlotMode::Save, [&told](SlotDialog& d) {
        QTimer::singleShot(0, [&told] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            told = box->windowTitle() + u'|' + box->text();
            box->accept();
        });
        type(d.option(0), '1');
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(outcome, SlotOutcome::Failed);
    EXPECT_EQ(told, QStringLiteral("Tessaro|„brett.brd“ konnte nicht gespeichert werden: keine gewöhnliche Datei."));
}

TEST_F(SlotDialogTest, TabAndArrowKeysOnlyMoveTheFocus) {
    state.selectedSlot = 1;
    QStringList focus;
    const SlotOutcome outcome = run(SlotMode::Save, [&focus](SlotDialog& d) {
        const auto step = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(d.focusWidget(), key, modifiers);
            focus << d.focusWidget()->objectName();
        };
        step(Qt::Key_Down);
        step(Qt::Key_Up);
        step(Qt::Key_Up);
        step(Qt::Key_Left);
        step(Qt::Key_Tab);
        step(Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_TRUE(d.isVisible());
        d.reject();
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(outcome, SlotOutcome::Cancelled);
    EXPECT_EQ(fileBytes(), fileBefore);
    ASSERT_EQ(focus.size(), 6);
    EXPECT_EQ(focus.mid(0, 4), (QStringList{"opt3", "opt2", "opt1", "opt4"}));
    EXPECT_NE(focus[4], focus[3]);  // Tab and Shift+Tab move on as Qt's focus chain says
    EXPECT_NE(focus[5], focus[4]);
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
}

}  // namespace
}  // namespace tessaro
