// F or W (show the conflicts), T (hint) and P (pause) in the play loops, seen on the screen.

#include <QClipboard>
#include <QGuiApplication>

#include <QAccessibleEvent>

#include "display/BoardAccessible.h"
#include "engine/Conflicts.h"
#include "interaction/HintKeys.h"
#include "logic/Solver.h"
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

// The board as the screen shows it.
QImage BoardImage(PlayRig& rig) { return rig.area().Composed().copy(kBoardLeft, kBoardTop, 9 * kCellSize, 9 * kCellSize); }

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
            // The keyboard cursor moves over the marks, which stay; the image holds neither.
            for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}) QTest::keyClick(&rig.area(), key);
            EXPECT_EQ(rig.area().image().copy(kBoardLeft, kBoardTop, 9 * kCellSize, 9 * kCellSize), before);
            rig.window.display().ShowCursor(0, 0);
            EXPECT_EQ(Framed(rig, kColourDarkRed).size(), 2u);
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

// T first only points (the houses tinted, the technique and where, no cell framed), T again draws
// the step and a third T enters it (undoable); on a board with a repeat T acts as F.
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
        EXPECT_TRUE(Framed(rig, kColourDarkGreen).empty());
        EXPECT_FALSE(Tinted(rig).empty());
        EXPECT_FALSE(rig.game.display.helpText.contains('=')) << rig.game.display.helpText;
    });
    d.Key(Qt::Key_T);
    d.InLoop([&] {
        const Cells framed = Framed(rig, kColourDarkGreen);
        ASSERT_EQ(framed.size(), 1u);
        cell = {framed.begin()->first, framed.begin()->second};
        digit = solution[sx::Index(cell.x, cell.y)];
        count = rig.model().digitCount[static_cast<std::size_t>(digit)];
        EXPECT_EQ(rig.model().board, start);
        const QString text = rig.game.display.helpText;
        EXPECT_TRUE(text.endsWith("=" + QString::number(digit))) << text;
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
        d.Key(Qt::Key_T).Key(Qt::Key_T).Key(Qt::Key_T);
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
        const QImage shown = rig.area().Composed();
        int symbolPixels = 0;
        for (int y = 1; y <= 9; ++y)
            for (int x = 1; x <= 9; ++x)
                for (int py = CellTop(y) + 2; py < CellTop(y) + 57; ++py)
                    for (int px = CellLeft(x) + 2; px < CellLeft(x) + 57; ++px)
                        symbolPixels += shown.pixelColor(px, py) != PaletteColour(kColourDarkGrey);
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
        EXPECT_EQ(rig.game.display.overlay.cursorColumn, 0);
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

// A minimal puzzle rated 9.2 (nested forcing chains): its path has steps of every drawn kind.
Grid HardPuzzle() {
    const std::string line = "...6..9.5...9...86...17........2....73.......419........6.8.........9..........5.";
    Grid givens{};
    for (int i = 0; i < 81; ++i) givens[At(i % 9 + 1, i / 9 + 1)] = line[i] == '.' ? 0 : static_cast<std::uint8_t>(line[i] - '0');
    return givens;
}

// The colour of a candidate's square as T draws it (clear of the symbol's ink).
QColor Square(PlayRig& rig, const logic::Candidate& c) {
    return rig.Pixel(CellLeft(c.cell % 9 + 1) + 7 + 16 * ((c.digit - 1) % 3), CellTop(c.cell / 9 + 1) + 7 + 16 * ((c.digit - 1) / 3));
}

// Cells tinted orange at a spot clear of frames and squares (every untinted fill there is grey or white).
Cells TintedCorner(PlayRig& rig) {
    Cells cells;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x)
            if (const QColor c = rig.Pixel(CellLeft(x) + 2, CellTop(y) + 30); c.red() - c.blue() > 40) cells.insert({x, y});
    return cells;
}

Cells CellsOf(const std::vector<int>& cells) {
    Cells out;
    for (int cell : cells) out.insert({cell % 9 + 1, cell / 9 + 1});
    return out;
}

// Pressing T alone follows the engine's solving path of the hard puzzle to its end, each
// elimination counting for the next step. Each step is first only pointed at (where to look
// tinted, no cell framed, no symbol named), then drawn as it is: its cells framed, its
// houses tinted, its candidates blue and the removed ones red, with candidates hidden and (from
// halfway, after M) shown; a hint that goes leaves the image from before. Shift+T on the first
// chain shows the whole explanation, link by link, and tells the screen reader; Esc closes it.
TEST(HintKeys, TAloneSolvesAHardPuzzleDrawingEveryStep) {
    PlayRig rig;
    rig.game.engine.SetPuzzle(HardPuzzle());
    const logic::SolvingPath path = logic::SolvePath(rig.model().givens);
    ASSERT_EQ(path.verdict, logic::Verdict::Solved);
    BoardAccessibility* access = BoardAccessibility::Of(&rig.area());
    QStringList alerts;
    access->SetEventSink([&](QAccessibleEvent* event) {
        if (event->type() == QAccessible::Alert) alerts << event->accessibleInterface()->text(QAccessible::Description);
    });
    QWidget* window = nullptr;
    bool restored = false;
    StepDriver d(rig, std::chrono::minutes(2));
    d.InLoop([&] {
        QDir().mkpath(QStringLiteral(TESSARO_TEST_OUTPUT_DIR));
        bool pointed = false;  // the step's pointer is on screen already
        QImage before;
        for (std::size_t k = 0; k < path.steps.size(); ++k) {
            const logic::Step& step = path.steps[k];
            SCOPED_TRACE(testing::Message() << k << " " << logic::Info(step.technique).key << " " << logic::EffectsText(step));
            if (!pointed) {
                before = BoardImage(rig);
                QTest::keyClick(&rig.area(), Qt::Key_T);
            }
            ASSERT_TRUE(Framed(rig, kColourDarkGreen).empty());
            if (!rig.settings().showCandidates) {
                ASSERT_EQ(TintedCorner(rig), CellsOf(logic::PointerCells(step)));
            }
            ASSERT_FALSE(rig.game.display.helpText.contains('=')) << rig.game.display.helpText;
            ASSERT_LE(rig.game.display.helpText.size(), 26);
            // The help pages show this step pointed at and drawn (data/help/tipp-ort.png and tipp.png are copies).
            const QRect shot(0, 0, 850, kBoardTop + 9 * kCellSize + 10);
            if (k == 7) rig.area().Composed().copy(shot).save(QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/hint_pointed.png"));
            if (!pointed && step.placements.empty() && !restored) {
                // A redraw takes the hint away, the picture from before comes back; T points again.
                rig.window.display().RedrawBoard();
                ASSERT_EQ(BoardImage(rig), before);
                QTest::keyClick(&rig.area(), Qt::Key_T);
                restored = true;
            }
            QTest::keyClick(&rig.area(), Qt::Key_T);
            ASSERT_EQ(Framed(rig, kColourDarkGreen), CellsOf(step.cells));
            std::vector<int> housed;
            for (int house : step.houses) housed.insert(housed.end(), logic::kHouses.cells[house].begin(), logic::kHouses.cells[house].end());
            if (!rig.settings().showCandidates) {
                ASSERT_EQ(TintedCorner(rig), CellsOf(housed));
            }
            for (const logic::Candidate& c : step.pattern) {
                if (std::find(step.eliminations.begin(), step.eliminations.end(), c) == step.eliminations.end()) {
                    ASSERT_EQ(Square(rig, c), kHintPatternInk);
                }
            }
            for (const auto* removed : {&step.eliminations, &step.supportingEliminations})
                for (const logic::Candidate& c : *removed) ASSERT_EQ(Square(rig, c), kHintEliminatedInk);
            ASSERT_LE(rig.game.display.helpText.size(), 26);
            if (k == 7) rig.area().Composed().copy(shot).save(QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/hint_drawn.png"));
            if (!window && !step.chains.empty()) {
                QTest::keyClick(&rig.area(), Qt::Key_T, Qt::ShiftModifier);
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->isVisible() && w->windowTitle().contains("Tipp erklärt")) window = w;
                ASSERT_NE(window, nullptr);
                ASSERT_EQ(alerts.size(), 1);
                EXPECT_TRUE(alerts[0].startsWith(rig.game.display.helpText)) << alerts[0];
                std::size_t links = 0;
                for (const auto& chain : step.chains) links += chain.size();
                EXPECT_EQ(static_cast<std::size_t>(alerts[0].count("⇒")), links) << alerts[0];
                EXPECT_TRUE(alerts[0].contains("Wirkung:")) << alerts[0];
                QTest::keyClick(&rig.area(), Qt::Key_Escape);
                EXPECT_FALSE(window->isVisible());
                ASSERT_TRUE(rig.interaction().AcceptingInput());
            }
            // The placement entered, or the eliminations counted and the next step pointed at.
            QTest::keyClick(&rig.area(), Qt::Key_T);
            pointed = step.placements.empty();
            if (!pointed && k >= path.steps.size() / 2 && !rig.settings().showCandidates) QTest::keyClick(&rig.area(), Qt::Key_M);
        }
        EXPECT_NE(window, nullptr) << "the path has a chain";
        EXPECT_TRUE(restored);
        EXPECT_TRUE(rig.settings().showCandidates);
        EXPECT_TRUE(rig.game.engine.StatusSolved());
    });
    d.Leave();
    d.Run(kCmdGameStart);
    access->SetEventSink(nullptr);
}

// A wrong entry that breaks no rule is named and framed before any step; T again takes it out as
// one change. Own boards without one solution are said so.
TEST(HintKeys, TNamesAWrongEntryFirstAndTakesItOut) {
    PlayRig rig;
    rig.game.engine.SetPuzzle(HardPuzzle());
    const sx::Cells solution = SolutionOf(rig.model());
    int wrong = 1;  // a symbol the free cell (1, 9) admits, not the solution's
    while (wrong == solution[sx::Index(1, 9)] || !rig.game.engine.Admissible(1, 9, wrong)) ++wrong;
    rig.game.engine.EnterSymbol(1, 9, wrong);
    StepDriver d(rig);
    d.Key(Qt::Key_T);
    d.InLoop([&] {
        EXPECT_EQ(rig.game.display.helpText, "Z9 S1 stimmt nicht");
        EXPECT_EQ(Framed(rig, kColourDarkRed), Cells({{1, 9}}));
    });
    d.Key(Qt::Key_T);
    d.InLoop([&] {
        EXPECT_EQ(rig.model().cell(1, 9), 0);
        QTest::keyClick(&rig.area(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(rig.model().cell(1, 9), wrong) << "one undoable change";
    });
    d.Leave();
    d.Run(kCmdGameStart);
    // Empty, and with no place for a 9 in (9, 1).
    for (const char* said : {"Mehrere Lösungen möglich", "Rätsel hat keine Lösung"}) {
        rig.game.engine.ClearBoard();
        StepDriver o(rig);
        o.InLoop([&] {
            if (said[0] == 'R') {
                for (int x = 1; x <= 8; ++x) rig.game.engine.SetGiven(x, 1, x);
                rig.game.engine.SetGiven(9, 5, 9);
            }
            QTest::keyClick(&rig.area(), Qt::Key_T);
            EXPECT_EQ(rig.game.display.helpText, said);
        });
        o.Leave();
        o.Run(kCmdOwnBoard);
    }
}

}  // namespace
}  // namespace tessaro::play
