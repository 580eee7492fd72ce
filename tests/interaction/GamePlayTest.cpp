// Whole games played through input events on the main window.

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

#include "persistence/RecordFile.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

using Cell = std::pair<int, int>;

std::vector<Cell> FreeCells(const BoardModel& model) {
    std::vector<Cell> cells;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x)
            if (model.cell(x, y) == 0) cells.emplace_back(x, y);
    return cells;
}

// A symbol that already stands in the cell's row (so entering it is a conflict), or 0.
int ConflictingSymbol(const BoardModel& model, int y) {
    for (int i = 1; i <= 9; ++i)
        if (model.cell(i, y) != 0) return model.cell(i, y);
    return 0;
}

char TypedChar(int value, bool digits) {
    return static_cast<char>(digits ? '0' + value : 'a' + value - 1);
}

// Enters `value` into the cell: a click on the cell, then the picker item clicked at once,
// clicked after pointing at it, or typed.
void EnterValue(StepDriver& driver, PlayRig& rig, int x, int y, int value, int how) {
    driver.Click(CellPoint(x, y));
    switch (how % 3) {
    case 0:
        driver.PickerClick(PickerItemPoint(x, y, value));
        break;
    case 1:
        driver.PickerType(TypedChar(value, rig.settings().showDigits));
        break;
    default:
        driver.InPicker([&rig, x, y, value] { Move(&rig.area(), PickerItemPoint(x, y, value) + QPoint(8, -9)); });
        driver.PickerClick(PickerItemPoint(x, y, value) - QPoint(7, 7));
        break;
    }
}

TEST(PlayGame, NewGameAtEveryLevelIsPlayedToTheHallOfFame) {
    for (int level = 0; level < 4; ++level) {
        SCOPED_TRACE(level);
        PlayRig rig(100 + static_cast<std::uint64_t>(level));
        const bool letters = level == 2;
        if (letters) rig.Trigger(41);
        rig.Trigger(30 + level);
        ASSERT_EQ(rig.settings().difficulty, level);

        StepDriver driver(rig, std::chrono::seconds(30));
        Grid solution{};
        int beepsBefore = 0;
        driver.Do([&] {
            // The shuffled puzzle is on the board; solve a copy independently of the engine.
            EXPECT_TRUE(rig.settings().timedGame);
            EXPECT_EQ(rig.settings().currentFile, std::string(kPuzzleFiles[static_cast<std::size_t>(level)]));
            EXPECT_EQ(rig.game.clock.championTime, "X");
            EXPECT_EQ(rig.game.display.helpText, kHelpClickCell);
            solution = rig.model().board;
            ASSERT_TRUE(Solve(solution));
            const std::vector<Cell> cells = FreeCells(rig.model());
            EXPECT_GE(cells.size(), 40u);
            for (const auto& [x, y] : cells) EXPECT_EQ(rig.model().given(x, y), 0);

            // A wrong symbol first: it conflicts in its row and is reported with a beep.
            const auto [wx, wy] = cells.front();
            const int wrong = ConflictingSymbol(rig.model(), wy);
            ASSERT_NE(wrong, 0);
            EnterValue(driver, rig, wx, wy, wrong, 1);
            driver.Do([&rig, &beepsBefore, wx, wy, wrong] {
                EXPECT_EQ(rig.model().cell(wx, wy), wrong);
                EXPECT_EQ(rig.settings().status, Status::Wrong);
                EXPECT_EQ(LastTextAt(rig, 626, 326), QString::fromUtf8(kStatusWrong.data()));
                EXPECT_GE(rig.beeps, 1);
                beepsBefore = rig.beeps;
            });
            int how = 0;
            for (const auto& [x, y] : cells) EnterValue(driver, rig, x, y, solution[At(x, y)], how++);

            // The last symbol solves the timed game: the hall-of-fame forms open (their entry is
            // checked with the clock's wiring).
            driver.OnModal("champ", [&](QWidget* champ) {
                EXPECT_EQ(rig.settings().status, Status::Solved);
                QTest::mouseClick(Child<QPushButton>(champ, "cmd6"), Qt::LeftButton);
            });
            driver.OnModal("ruhm", [](QWidget* ruhm) {
                QTest::mouseClick(Child<QPushButton>(ruhm, "cmd3"), Qt::LeftButton);
            });
            driver.Do([&] {
                // Still in the loop, clock stopped, board solved.
                EXPECT_EQ(rig.model().board, solution);
                EXPECT_EQ(rig.settings().status, Status::Solved);
                EXPECT_EQ(LastTextAt(rig, 626, 326), QString::fromUtf8(kStatusSolved.data()));
                EXPECT_EQ(rig.beeps, beepsBefore);
                EXPECT_FALSE(rig.settings().timedGame);
                EXPECT_EQ(rig.window.clockLabel().text(), " 99:99:99");
                // The symbols of the last cells were drawn in the right mode.
                EXPECT_TRUE(DrewText(rig, letters ? "I" : "9"));
                SaveShot(rig, QString("play-solved-%1.png").arg(level));
            });
            driver.Leave();
        });
        rig.texts.clear();
        driver.Run(8);
        ExpectClosingSteps(rig);
        SaveShot(rig, QString("play-after-%1.png").arg(level));
        EXPECT_EQ(rig.settings().showDigits, !letters);
        EXPECT_EQ(rig.exitCalls, 0);
    }
}

TEST(PlayGame, FinishingAnUntimedGameKeepsPlaying) {
    PlayRig rig;
    rig.settings().currentFile = "mittel.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 2));
    Grid solution = rig.model().board;
    ASSERT_TRUE(Solve(solution));
    const std::vector<Cell> cells = FreeCells(rig.model());
    ASSERT_FALSE(cells.empty());
    const auto [lx, ly] = cells.back();
    for (const auto& [x, y] : cells)
        if (Cell(x, y) != cells.back()) rig.model().cell(x, y) = solution[At(x, y)];
    rig.game.engine.ModelReplaced();

    StepDriver driver(rig);
    EnterValue(driver, rig, lx, ly, solution[At(lx, ly)], 0);
    driver.Do([&] {
        EXPECT_EQ(rig.settings().status, Status::Solved);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(rig.window.clockLabel().text(), " 99:99:99");
        EXPECT_EQ(rig.game.clock.championTime, "");
    });
    // Clearing a cell again is still possible: the loop goes on.
    driver.Click(CellPoint(lx, ly), Qt::RightButton);
    driver.Do([&] {
        EXPECT_EQ(rig.model().cell(lx, ly), 0);
        EXPECT_EQ(rig.settings().status, Status::NoErrors);
    });
    driver.Leave();
    driver.Run(10);
    ExpectClosingSteps(rig);
}

// The last symbol of a timed game typed from the keyboard: the champion form opens at once and
// takes the key's release. The key must act normally when pressed again in the loop.
TEST(PlayGame, KeyWhoseReleaseWentToTheChampionFormWorksAgain) {
    PlayRig rig(7);
    rig.Trigger(41);
    StepDriver driver(rig);
    driver.Do([&] {
        Grid solution = rig.model().board;
        ASSERT_TRUE(Solve(solution));
        Cell last{0, 0};
        for (const auto& [x, y] : FreeCells(rig.model())) {
            if (solution[At(x, y)] == 8 && last.first == 0) {
                last = {x, y};
            } else {
                rig.model().cell(x, y) = solution[At(x, y)];
            }
        }
        rig.game.engine.ModelReplaced();
        ASSERT_NE(last.first, 0);
        driver.Click(CellPoint(last.first, last.second));
        driver.InPicker([&] { QTest::keyPress(&rig.area(), 'h'); });
        driver.OnModal("champ", [](QWidget* champ) {
            QTest::keyRelease(champ, 'h');
            QTest::mouseClick(Child<QPushButton>(champ, "cmd6"), Qt::LeftButton);
        });
        driver.OnModal("ruhm", [](QWidget* ruhm) {
            QTest::mouseClick(Child<QPushButton>(ruhm, "cmd3"), Qt::LeftButton);
        });
        driver.Do([&] {
            EXPECT_EQ(rig.settings().status, Status::Solved);
            EXPECT_EQ(rig.game.help.window, nullptr);
            QTest::keyClick(&rig.area(), Qt::Key_H);
        });
        driver.Do([&] {
            ASSERT_NE(rig.game.help.window, nullptr) << "H did not open the help";
            EXPECT_TRUE(rig.game.help.window->isVisible());
        });
        driver.Leave();
    });
    driver.Run(8);
    ExpectClosingSteps(rig);
}

}  // namespace
}  // namespace tessaro::play
