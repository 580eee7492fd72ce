// F or W (show the conflicts), T (hint) and P (pause) in the play loops, seen on the screen.

#include <QClipboard>
#include <QGuiApplication>

#include "engine/Hint.h"
#include "persistence/RecordFile.h"
#include "puzzles/Exchange.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

using Cells = std::set<std::pair<int, int>>;

// Cells whose left frame stripe shows the colour.
Cells Framed(PlayRig& rig, int colour) {
    Cells cells;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x)
            if (rig.Pixel(CellLeft(x) + 4, CellTop(y) + 30) == PaletteColour(colour)) cells.insert({x, y});
    return cells;
}

// Cells whose fill, clear of symbol and frame, is no longer white.
Cells Tinted(PlayRig& rig) {
    Cells cells;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x)
            if (rig.Pixel(CellLeft(x) + 50, CellTop(y) + 10) != QColor(Qt::white)) cells.insert({x, y});
    return cells;
}

Cells Of(Unit unit) {
    Cells cells;
    for (const CellRef& c : CellsOf(unit)) cells.insert({c.x, c.y});
    return cells;
}

QImage BoardImage(PlayRig& rig) { return rig.area().image().copy(kBoardLeft, kBoardTop, 9 * kCellSize, 9 * kCellSize); }

// The board holds only these player entries.
void SetBoard(PlayRig& rig, const std::vector<std::array<int, 3>>& entries) {
    rig.model().board = {};
    rig.model().givens = {};
    for (const auto& [x, y, d] : entries) rig.model().cell(x, y) = static_cast<std::uint8_t>(d);
    rig.game.engine.ModelReplaced();
}

TEST(HintKeys, FMarksTheRepeatsAndTheirUnitUntilTheBoardChanges) {
    struct Case {
        const char* name;
        std::vector<std::array<int, 3>> entries;
        Unit unit;
    };
    const std::vector<Case> cases{
        {"row", {{1, 1, 5}, {5, 1, 5}}, {UnitKind::Row, 1}},
        {"column", {{2, 1, 3}, {2, 7, 3}}, {UnitKind::Column, 2}},
        {"box", {{4, 4, 7}, {6, 5, 7}}, {UnitKind::Box, 5}},
        {"diagonal", {{1, 9, 8}, {8, 2, 8}}, {UnitKind::AntiDiagonal, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayRig rig;
        SetBoard(rig, c.entries);
        QImage before;
        StepDriver d(rig);
        d.InLoop([&] {
            EXPECT_EQ(rig.settings().status, Status::Wrong);
            before = BoardImage(rig);
        });
        d.Key(Qt::Key_F);
        d.InLoop([&] {
            EXPECT_TRUE(rig.game.display.helpText.endsWith("doppelt")) << rig.game.display.helpText;
            EXPECT_EQ(Framed(rig, kColourDarkRed), Cells({{c.entries[0][0], c.entries[0][1]}, {c.entries[1][0], c.entries[1][1]}}));
            EXPECT_EQ(Tinted(rig), Of(c.unit));
            // Moving the keyboard cursor takes the marks away first, so none comes back later.
            for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}) QTest::keyClick(&rig.area(), key);
            EXPECT_TRUE(Framed(rig, kColourDarkRed).empty());
            rig.window.display().ShowCursor(0, 0);
            EXPECT_EQ(BoardImage(rig), before);
            QTest::keyClick(&rig.area(), Qt::Key_F);
            rig.window.display().RedrawBoard();
            EXPECT_EQ(BoardImage(rig), before) << "a redraw takes the marks away";
        });
        d.Key(Qt::Key_F);
        d.Leave();
        d.Run(kCmdGameStart);
        EXPECT_EQ(BoardImage(rig), before) << "the marks end with the loop";
    }
    // Without a repeat F only says so.
    PlayRig rig;
    SetBoard(rig, {{1, 1, 5}, {5, 2, 5}});
    QImage before;
    StepDriver d(rig);
    d.InLoop([&] { before = BoardImage(rig); });
    d.Key(Qt::Key_F);
    d.InLoop([&] {
        EXPECT_EQ(rig.game.display.helpText, "Kein Symbol steht doppelt");
        EXPECT_EQ(BoardImage(rig), before);
    });
    d.Leave();
    d.Run(kCmdGameStart);
}

// T names a step and marks its cell; a second T enters it (undoable); on a board with a repeat T
// acts as F.
TEST(HintKeys, TNamesAStepAndASecondTEntersIt) {
    PlayRig rig;
    rig.settings().currentFile = "mittel.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 1));
    const sx::Cells solution = SolutionOf(rig.model());
    const Grid start = rig.model().board;
    QImage before;
    CellRef cell;
    int digit = 0;
    int count = 0;
    StepDriver d(rig);
    d.InLoop([&] { before = BoardImage(rig); });
    d.Key(Qt::Key_T);
    d.InLoop([&] {
        const Cells framed = Framed(rig, kColourDarkGreen);
        ASSERT_EQ(framed.size(), 1u);
        cell = {framed.begin()->first, framed.begin()->second};
        digit = solution[sx::Index(cell.x, cell.y)];
        count = rig.model().digitCount[static_cast<std::size_t>(digit)];
        EXPECT_EQ(rig.model().board, start);
        const QString text = rig.game.display.helpText;
        EXPECT_TRUE(text.contains(QString::number(digit) + " ")) << text;
        EXPECT_LE(text.size(), 26);
    });
    d.Key(Qt::Key_T);
    d.InLoop([&] {
        EXPECT_EQ(rig.model().cell(cell.x, cell.y), digit);
        EXPECT_EQ(rig.model().digitCount[static_cast<std::size_t>(digit)], count + 1);
        EXPECT_TRUE(Framed(rig, kColourDarkGreen).empty());
        QTest::keyClick(&rig.area(), Qt::Key_Z, Qt::ControlModifier);
    });
    d.InLoop([&] {
        EXPECT_EQ(rig.model().board, start);
        EXPECT_EQ(BoardImage(rig), before);
        // A repeat in the cell's row.
        for (int x = 1; x <= 9; ++x)
            if (rig.model().cell(x, cell.y) != 0) digit = rig.model().cell(x, cell.y);
        rig.game.engine.EnterSymbol(cell.x, cell.y, digit);
    });
    d.Key(Qt::Key_T);
    d.InLoop([&] {
        EXPECT_TRUE(rig.game.display.helpText.endsWith("doppelt")) << rig.game.display.helpText;
        EXPECT_TRUE(Framed(rig, kColourDarkRed).contains({cell.x, cell.y}));
    });
    d.Leave();
    d.Run(kCmdGameStart);
}

// In letters mode F is a symbol and does nothing in the loop; W shows the conflicts there.
TEST(HintKeys, InLettersModeOnlyWShowsTheConflicts) {
    PlayRig rig(5);
    rig.settings().showDigits = false;
    StepDriver d(rig);
    d.Key(Qt::Key_F);
    d.InLoop([&] { EXPECT_TRUE(rig.settings().timedGame); });
    d.Key(Qt::Key_W);
    d.InLoop([&] { EXPECT_EQ(rig.game.display.helpText, "Kein Symbol steht doppelt"); });
    d.Leave();
    d.Run(kCmdNewGame);
}

// F, W and T end a timed game as the candidate display does; a board completed by T enters nothing.
TEST(HintKeys, FWAndTEndTheTimedGame) {
    for (Qt::Key key : {Qt::Key_F, Qt::Key_W, Qt::Key_T}) {
        PlayRig rig(5);
        StepDriver d(rig);
        d.InLoop([&] { EXPECT_TRUE(rig.settings().timedGame); });
        d.Key(key);
        d.InLoop([&] {
            EXPECT_FALSE(rig.settings().timedGame);
            EXPECT_FALSE(rig.game.clock.WorkerActive());
            EXPECT_EQ(rig.clock(), kIdle);
            const QPoint free = FirstFreeCell(rig.model());
            FillAllBut(rig.model(), free.x(), free.y());
            rig.game.engine.ModelReplaced();
            rig.window.display().RedrawBoard();
        });
        d.Key(Qt::Key_T);
        d.Key(Qt::Key_T);
        d.InLoop([&] {
            EXPECT_EQ(rig.settings().status, Status::Solved);
            EXPECT_EQ(rig.game.clock.championTime, "X");
        });
        d.Leave();
        d.Run(kCmdNewGame);
        EXPECT_FALSE(rig.workDir.Exists("Champions.Rhm"));
    }
}

// P covers every cell and stops the clock; meanwhile keys do nothing, a click only resumes, and
// leaving ends the game as Esc does.
TEST(HintKeys, PauseCoversTheBoardUntilResumed) {
    PlayRig rig(6);
    QImage before;
    QString help;
    QPoint free;
    StepDriver d(rig);
    d.InLoop([&] {
        before = BoardImage(rig);
        help = rig.game.display.helpText;
        free = CellPoint(FirstFreeCell(rig.model()).x(), FirstFreeCell(rig.model()).y());
    });
    const auto covered = [&] {
        int symbolPixels = 0;
        for (int y = 1; y <= 9; ++y)
            for (int x = 1; x <= 9; ++x)
                for (int py = CellTop(y) + 2; py < CellTop(y) + 57; ++py)
                    for (int px = CellLeft(x) + 2; px < CellLeft(x) + 57; ++px)
                        symbolPixels += rig.Pixel(px, py) != PaletteColour(kColourDarkGrey);
        return symbolPixels == 0;
    };
    d.Key(Qt::Key_P);
    d.InLoop([&] {
        EXPECT_TRUE(covered());
        EXPECT_TRUE(rig.settings().timedGame);
        EXPECT_FALSE(rig.game.clock.WorkerActive());
        EXPECT_EQ(rig.game.display.helpText, "Pause: P spielt weiter");
    });
    d.Key(Qt::Key_T).Key(Qt::Key_M);
    d.InLoop([&] {
        // Neither the cursor, undo nor a paste (of this very puzzle) may touch the covered board.
        QGuiApplication::clipboard()->setText(QString::fromStdString(GivensLine(rig.model())));
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Return}) QTest::keyClick(&rig.area(), key);
        for (Qt::Key key : {Qt::Key_Z, Qt::Key_V}) QTest::keyClick(&rig.area(), key, Qt::ControlModifier);
    });
    d.InLoop([&] {
        EXPECT_TRUE(covered());
        EXPECT_TRUE(rig.settings().timedGame);
        EXPECT_EQ(rig.game.display.cursorColumn, 0);
        EXPECT_FALSE(rig.settings().showCandidates);
        EXPECT_EQ(rig.game.display.helpText, "Pause: P spielt weiter");
        Press(&rig.area(), free);
    });
    d.Then([&] { Release(&rig.area(), free); });
    d.InLoop([&] {
        EXPECT_EQ(BoardImage(rig), before);
        EXPECT_EQ(rig.game.display.helpText, help);
        EXPECT_TRUE(rig.game.clock.WorkerActive());
    });
    d.Key(Qt::Key_P).Key(Qt::Key_P).Key(Qt::Key_P);
    d.InLoop([&] { EXPECT_TRUE(covered()); });
    d.Leave();
    d.Run(kCmdNewGame);
    EXPECT_EQ(BoardImage(rig), before);
    EXPECT_EQ(rig.clock(), kIdle);
    ExpectClosingSteps(rig);
}

}  // namespace
}  // namespace tessaro::play
