// The accelerator keys of the play loops and the own-board mode, through key and mouse events.

#include <QPushButton>

#include <tuple>

#include "persistence/RecordFile.h"
#include "support/LoadInto.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

Grid LoadPuzzle(PlayRig& rig, const char* file, int record) {
    rig.settings().currentFile = file;
    EXPECT_TRUE(LoadRecord(rig.game.engine, record));
    return rig.model().givens;
}

Grid Solved(Grid grid) {
    EXPECT_TRUE(Solve(grid));
    return grid;
}

int CountFilled(const Grid& grid) { return sx::CountFilled(sx::GridCells(grid)); }

// A pixel of the cell's fill, clear of its symbol.
QColor CellFill(PlayRig& rig, int x, int y) { return rig.Pixel((x - 1) * 60 + 30 + 53, (y - 1) * 60 + 46 + 3); }

TEST(LoopKeys, KThenOSolvesOnceAndTheLatchSurvivesOtherKeys) {
    PlayRig rig;
    const Grid clues = LoadPuzzle(rig, "schwer.brd", 2);
    const Grid solution = Solved(clues);
    StepDriver d(rig);
    d.Key(Qt::Key_O);
    d.Do([&] {
        EXPECT_EQ(rig.model().board, clues) << "O alone solves nothing";
        EXPECT_EQ(rig.game.interaction.keyLatch, "");
    });
    d.Key(Qt::Key_K);
    d.Key(Qt::Key_M);
    d.Do([&] {
        EXPECT_EQ(rig.game.interaction.keyLatch, "K");
        EXPECT_TRUE(rig.settings().showCandidates);
    });
    d.Key(Qt::Key_O);
    d.Do([&] {
        EXPECT_EQ(rig.model().board, solution);
        EXPECT_EQ(rig.settings().status, Status::Solved);
        EXPECT_EQ(rig.game.interaction.keyLatch, "");
    });
    // Restart, then a second O: the latch went with the first one.
    d.Key(Qt::Key_N);
    d.Do([&] { EXPECT_EQ(rig.model().board, clues); });
    d.Key(Qt::Key_O);
    d.Do([&] { EXPECT_EQ(rig.model().board, clues); });
    d.Key(Qt::Key_M);
    d.Leave();
    d.Run(10);
    ExpectClosingSteps(rig);
    EXPECT_FALSE(rig.settings().showCandidates);
    // The latch outlives the loop.
    d.Key(Qt::Key_K);
    d.Leave();
    d.Run(25);
    EXPECT_EQ(rig.game.interaction.keyLatch, "K");
    d.Key(Qt::Key_O);
    d.Do([&] { EXPECT_EQ(rig.model().board, solution); });
    d.Leave();
    d.Run(10);
}

TEST(LoopKeys, SolvingATimedGameByKeysStopsTheClockWithoutTheHallOfFame) {
    PlayRig rig(3);
    StepDriver d(rig);
    d.Do([&] {
        EXPECT_TRUE(rig.settings().timedGame);
        EXPECT_TRUE(rig.game.clock.WorkerActive());
    });
    d.Key(Qt::Key_K);
    d.Key(Qt::Key_O);
    d.Do([&] {
        EXPECT_EQ(rig.settings().status, Status::Solved);
        EXPECT_FALSE(rig.settings().timedGame);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(rig.game.clock.championTime, "X");
        EXPECT_EQ(rig.window.clockLabel().text(), " 99:99:99");
    });
    d.Leave();
    d.Run(8);
    ExpectClosingSteps(rig);
    EXPECT_FALSE(QFile::exists(rig.workDir.path() + "/Champions.Rhm"));
}

// Alt+letter belongs to the menu bar: in a timed game no loop key, picker key or addition acts
// with Alt held, not even when Alt goes up before the letter.
TEST(LoopKeys, AltLettersDoNothingInTheLoopsOrThePicker) {
    PlayRig rig(6);
    Grid start;
    QPoint cell;
    StepDriver d(rig);
    d.InLoop([&] {
        start = rig.model().board;
        cell = CellPoint(FirstFreeCell(rig.model()).x(), FirstFreeCell(rig.model()).y());
        for (Qt::Key key : {Qt::Key_T, Qt::Key_H, Qt::Key_M, Qt::Key_K, Qt::Key_O, Qt::Key_A, Qt::Key_Escape})
            QTest::keyClick(&rig.area(), key, Qt::AltModifier);
        QTest::keyPress(&rig.area(), Qt::Key_W, Qt::AltModifier);
        QTest::keyRelease(&rig.area(), Qt::Key_W);
        QTest::keyClick(&rig.area(), Qt::Key_O);  // the latch was never set
        Press(&rig.area(), cell);
    });
    d.Then([&] { Release(&rig.area(), cell); });
    d.InPicker([&] { QTest::keyClick(&rig.area(), '5', Qt::AltModifier); });
    d.InPicker([&] { QTest::keyClick(&rig.area(), Qt::Key_Escape); });
    d.InLoop([&] {
        EXPECT_TRUE(rig.game.clock.WorkerActive());
        EXPECT_FALSE(rig.settings().showCandidates);
        EXPECT_EQ(rig.game.help.window, nullptr);
        EXPECT_EQ(rig.model().board, start);
    });
    d.Leave();
    d.Run(kCmdNewGame);
}

TEST(LoopKeys, MTogglesTheCandidatesClearsNotesAndStopsTheClock) {
    PlayRig rig(4);
    StepDriver d(rig);
    int nx = 0;
    int ny = 0;
    int stale = 0;
    d.Do([&] {
        // A note that is no candidate: its digit already stands in the row.
        for (int y = 1; y <= 9 && nx == 0; ++y)
            for (int x = 1; x <= 9 && nx == 0; ++x)
                if (rig.model().cell(x, y) == 0) {
                    nx = x;
                    ny = y;
                }
        for (int i = 1; i <= 9 && stale == 0; ++i) stale = rig.model().cell(i, ny);
        ASSERT_NE(stale, 0);
        rig.model().mark(nx, ny, stale) = true;
        EXPECT_TRUE(rig.settings().timedGame);
    });
    d.Key(Qt::Key_M);
    d.Do([&] {
        EXPECT_TRUE(rig.settings().showCandidates);
        EXPECT_FALSE(rig.settings().timedGame);
        EXPECT_FALSE(rig.model().mark(nx, ny, stale));
        const unsigned allowed = Allowed(rig.model().board, nx, ny);
        for (int dgt = 1; dgt <= 9; ++dgt) EXPECT_EQ(rig.model().mark(nx, ny, dgt), (allowed >> dgt & 1u) != 0) << dgt;
        rig.model().mark(nx, ny, stale) = true;
    });
    d.Key(Qt::Key_M);
    d.Do([&] {
        EXPECT_FALSE(rig.settings().showCandidates);
        for (bool mark : rig.model().candidates) ASSERT_FALSE(mark);
    });
    d.Leave();
    d.Run(8);
    ExpectClosingSteps(rig);
}

// ---- own board --------------------------------------------------------------------------------

TEST(OwnBoard, TypedCluesBecomeAGameThatRestartsSolvesAndShuffles) {
    PlayRig rig(5);
    BoardModel source;
    Settings sourceSettings;
    sourceSettings.currentFile = "mittel.brd";
    ASSERT_TRUE(LoadInto(source, sourceSettings, 3));
    const Grid clues = source.givens;
    const Grid solution = Solved(clues);
    std::vector<std::pair<int, int>> clueCells;
    std::pair<int, int> free{0, 0};
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) {
            if (clues[At(x, y)] != 0) clueCells.emplace_back(x, y);
            else if (free.first == 0) free = {x, y};
        }
    // The first clue that shares its row with another: that one typed into (cx, cy) conflicts.
    int cx = 0, cy = 0, other = 0;
    for (const auto& [x, y] : clueCells) {
        for (int ox = 1; ox <= 9 && other == 0; ++ox)
            if (ox != x && clues[At(ox, y)] != 0) std::tie(cx, cy, other) = std::tuple(x, y, clues[At(ox, y)]);
        if (other != 0) break;
    }
    ASSERT_NE(other, 0);
    const int cv = clues[At(cx, cy)];

    StepDriver d(rig);
    int how = 0;
    for (const auto& [x, y] : clueCells) {
        const int v = clues[At(x, y)];
        d.Click(CellPoint(x, y));
        if (how++ % 2) d.PickerType(static_cast<char>('0' + v));
        else d.PickerClick(PickerItemPoint(x, y, v));
    }
    d.Do([&] {
        EXPECT_TRUE(rig.settings().ownBoard);
        EXPECT_EQ(rig.model().givens, clues);
        EXPECT_EQ(rig.model().board, clues);
        EXPECT_EQ(rig.game.display.givensCount, CountFilled(clues));
        EXPECT_EQ(CellFill(rig, cx, cy), PaletteColour(7));
        EXPECT_EQ(CellFill(rig, free.first, free.second), PaletteColour(15));
        EXPECT_EQ(rig.settings().status, Status::NoErrors);
    });
    // The right button clears a given at once.
    d.Click(CellPoint(cx, cy), Qt::RightButton);
    d.Do([&] {
        EXPECT_FALSE(rig.interaction().PickerOpen());
        EXPECT_EQ(rig.model().given(cx, cy), 0);
        EXPECT_EQ(rig.model().cell(cx, cy), 0);
        EXPECT_EQ(CellFill(rig, cx, cy), PaletteColour(15));
        EXPECT_EQ(rig.game.display.givensCount, CountFilled(clues) - 1);
    });
    // ... and does nothing on a cell that is no given.
    d.Do([&] { Press(&rig.area(), CellPoint(free.first, free.second), Qt::RightButton); });
    d.Then([&] {
        EXPECT_FALSE(rig.interaction().PickerOpen());
        EXPECT_EQ(rig.model().cell(free.first, free.second), 0);
        Release(&rig.area(), CellPoint(free.first, free.second), Qt::RightButton);
    });
    // A left click on a given opens the picker and replaces it.
    d.Click(CellPoint(cx, cy));
    d.PickerType(static_cast<char>('0' + cv));
    d.Click(CellPoint(cx, cy));
    d.InPicker([&] { EXPECT_EQ(rig.model().given(cx, cy), cv); });
    d.PickerType(static_cast<char>('0' + other));
    d.Do([&] {
        EXPECT_EQ(rig.model().given(cx, cy), other);
        EXPECT_EQ(rig.model().cell(cx, cy), other);
        EXPECT_EQ(rig.settings().status, Status::Wrong);
    });
    // Closing the picker with the right button clears the given; Esc leaves the cell empty.
    d.Click(CellPoint(cx, cy));
    d.PickerClick({700, 100}, Qt::RightButton);
    d.Do([&] {
        EXPECT_EQ(rig.model().given(cx, cy), 0);
        EXPECT_EQ(rig.model().cell(cx, cy), 0);
    });
    d.Click(CellPoint(cx, cy));
    d.InPicker([&] { QTest::keyPress(&rig.area(), Qt::Key_Escape); });
    d.Then([&] { QTest::keyRelease(&rig.area(), Qt::Key_Escape); });
    d.Do([&] {
        EXPECT_EQ(rig.model().given(cx, cy), 0);
        EXPECT_EQ(CellFill(rig, cx, cy), PaletteColour(15));
    });
    d.Click(CellPoint(cx, cy));
    d.PickerClick(PickerItemPoint(cx, cy, cv));
    // K-O finishes the typed board; N goes back to exactly the typed clues.
    d.Key(Qt::Key_K);
    d.Key(Qt::Key_O);
    d.Do([&] {
        EXPECT_EQ(rig.model().givens, clues);
        EXPECT_EQ(rig.model().board, solution);
        EXPECT_EQ(rig.settings().status, Status::Solved);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    });
    d.Key(Qt::Key_N);
    d.Do([&] { EXPECT_EQ(rig.model().board, clues); });
    // X shuffles the clues into another valid board with as many clues.
    d.Key(Qt::Key_X);
    d.Do([&] {
        EXPECT_NE(rig.model().givens, clues);
        EXPECT_EQ(rig.model().board, rig.model().givens);
        EXPECT_EQ(CountFilled(rig.model().givens), CountFilled(clues));
        EXPECT_EQ(rig.settings().status, Status::NoErrors);
        Grid shuffled = rig.model().givens;
        EXPECT_TRUE(Solve(shuffled));
    });
    d.Key(Qt::Key_A);
    d.Run(11);
    ExpectClosingSteps(rig);
    EXPECT_FALSE(rig.settings().ownBoard);

    // Played like a loaded board afterwards: entries are the player's, N-eustart keeps the clues.
    const Grid typed = rig.model().givens;
    d.Key(Qt::Key_K);
    d.Key(Qt::Key_O);
    d.Do([&] { EXPECT_EQ(rig.settings().status, Status::Solved); });
    d.Leave();
    d.Run(10);
    d.Do([&] {
        EXPECT_EQ(rig.model().board, typed);
        EXPECT_EQ(rig.model().givens, typed);
    });
    d.Leave();
    d.Run(25);
    ExpectClosingSteps(rig);
}

}  // namespace
}  // namespace tessaro::play
