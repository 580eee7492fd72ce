// Copy and paste of puzzles in the play loops, and the puzzle named on the command line.

#include <QClipboard>
#include <QMessageBox>

#include <bit>

#include "interaction/PuzzleExchange.h"
#include "persistence/RecordFile.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

// The exchange line of a grid: its digits, "." for every empty cell, in reading order.
std::string Line(const Grid& grid) {
    std::string line;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) line += grid[At(x, y)] ? static_cast<char>('0' + grid[At(x, y)]) : '.';
    return line;
}

QString Clipboard() { return QGuiApplication::clipboard()->text(); }
void SetClipboard(const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); }
void Chord(PlayRig& rig, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(&rig.area(), key, modifiers);
}

int GivensCount(const BoardModel& model) {
    return static_cast<int>(100 - std::count(model.givens.begin(), model.givens.end(), 0));
}

// A loaded puzzle with one entry of the player.
void LoadWithEntry(PlayRig& rig) {
    rig.settings().currentFile = "mittel.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 2));
    const QPoint free = FirstFreeCell(rig.model());
    rig.game.engine.EnterSymbol(free.x(), free.y(), SolutionOf(rig.model())[sx::Index(free.x(), free.y())]);
    rig.window.display().RedrawBoard();
}

TEST(Exchange, CopiesGivensOrTheWholeBoardInEitherLoop) {
    PlayRig rig;
    LoadWithEntry(rig);
    const Position before{rig.model().board, rig.model().givens, rig.model().candidates};
    for (int command : {kCmdGameStart, kCmdOwnBoard}) {
        StepDriver d(rig);
        d.InLoop([&] {
            Chord(rig, Qt::Key_C);
            EXPECT_EQ(Clipboard().toStdString(), Line(rig.model().givens));
            Chord(rig, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(Clipboard().toStdString(), Line(rig.model().board));
            EXPECT_NE(Line(rig.model().board), Line(rig.model().givens));
        });
        d.Leave();
        d.Run(command);
        EXPECT_EQ((Position{rig.model().board, rig.model().givens, rig.model().candidates}), before);
    }
}

// Copy, clear, paste: the copied givens come back. Pasted into a timed game they end it as a new,
// untimed puzzle drawn with its count, and Ctrl+Z shows the game before the paste again.
TEST(Exchange, PasteTakesBackWhatWasCopiedAndUndoes) {
    PlayRig rig;
    LoadWithEntry(rig);
    const Grid copied = rig.model().givens;
    StepDriver copy(rig);
    copy.InLoop([&] { Chord(rig, Qt::Key_C); });
    copy.Leave();
    copy.Run(kCmdGameStart);
    rig.Trigger(kCmdClearBoard);
    StepDriver paste(rig);
    paste.InLoop([&] {
        Chord(rig, Qt::Key_V);
        EXPECT_EQ(rig.model().givens, copied);
        EXPECT_EQ(rig.model().board, copied);
        EXPECT_EQ(LastTextAt(rig, 791, 414).trimmed(), QString::number(GivensCount(rig.model())));
    });
    paste.Leave();
    paste.Run(kCmdOwnBoard);

    Grid game{};
    QImage before;
    StepDriver d(rig);
    d.InLoop([&] {
        EXPECT_TRUE(rig.settings().timedGame);
        game = rig.model().board;
        before = rig.area().image().copy();
        Chord(rig, Qt::Key_V);
        EXPECT_EQ(rig.model().board, copied);
        EXPECT_FALSE(rig.settings().timedGame);
        EXPECT_EQ(rig.clock(), kIdle);
        EXPECT_EQ(rig.game.engine.Moves().Entries(), 1u) << "one change";
        Chord(rig, Qt::Key_Z);
        EXPECT_EQ(rig.model().board, game);
        EXPECT_EQ(rig.area().image(), before);
    });
    d.Leave();
    d.Run(kCmdNewGame);
}

// Every refused paste says why in a message box and changes neither the board, nor the screen,
// nor the running clock.
TEST(Exchange, RefusedPasteSaysWhyAndChangesNothing) {
    PlayRig rig;
    std::vector<std::pair<std::string, QString>> cases;
    Position position;
    QImage image;
    StepDriver d(rig);
    d.InLoop([&] {
        const std::string puzzle = Line(rig.model().givens);
        const QPoint cell = FirstFreeCell(rig.model());
        const int right = SolutionOf(rig.model())[sx::Index(cell.x(), cell.y())];
        const unsigned allowed = Allowed(rig.model().givens, cell.x(), cell.y()) & ~(1u << right);
        ASSERT_NE(allowed, 0u) << "a digit that fits but is wrong";
        std::string unsolvable = puzzle;
        unsolvable[(cell.y() - 1) * 9 + cell.x() - 1] = static_cast<char>('0' + std::countr_zero(allowed));
        cases = {{puzzle.substr(1), "81 Felder"},
                 {"11" + std::string(79, '.'), "zweimal in Zeile 1"},
                 {unsolvable, "keine Lösung"},
                 {std::string(81, '.'), "mehrere Lösungen"}};
        position = {rig.model().board, rig.model().givens, rig.model().candidates};
        image = rig.area().image().copy();
    });
    for (std::size_t i = 0; i < 4; ++i) {
        d.InLoop([&, i] {
            SetClipboard(cases[i].first);
            Chord(rig, Qt::Key_V);
        });
        d.OnModal<QMessageBox>([&, i](QMessageBox* box) {
            EXPECT_TRUE(box->text().contains(cases[i].second)) << box->text();
            box->accept();
        });
        d.When([&] { return !QApplication::activeModalWidget() && rig.interaction().AcceptingInput(); },
               [&] {
                   EXPECT_EQ((Position{rig.model().board, rig.model().givens, rig.model().candidates}), position);
                   EXPECT_EQ(rig.area().image(), image);
                   EXPECT_TRUE(rig.settings().timedGame);
               });
    }
    d.Leave();
    d.Run(kCmdNewGame);
}

// The command line's puzzle is drawn at start-up exactly as the same givens typed in as an own
// board; a bad argument says why and leaves the start screen.
TEST(Exchange, StartPuzzleLooksLikeATypedInBoard) {
    PlayRig typed;
    LoadWithEntry(typed);
    const Grid givens = typed.model().givens;
    typed.game.engine.ClearBoard();
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x)
            if (givens[At(x, y)]) typed.game.engine.SetGiven(x, y, givens[At(x, y)]);
    typed.window.display().UpdateDigitCounts();
    typed.window.display().UpdateDifficultyPanel();

    PlayRig rig;
    const QImage start = rig.area().image().copy();
    const QString missing = TakeStartPuzzle(rig.game.engine, rig.workDir.Path("fehlt.txt").toStdString());
    EXPECT_TRUE(missing.contains("gibt es nicht")) << missing;
    EXPECT_EQ(rig.area().image(), start);
    QFile file(rig.workDir.Path("r.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(std::string(81, '.') + "\n" + Line(givens) + "\n"));
    file.close();
    EXPECT_EQ(TakeStartPuzzle(rig.game.engine, file.fileName().toStdString()), QString());
    EXPECT_EQ(rig.model().board, givens);
    EXPECT_EQ(rig.model().givens, givens);
    EXPECT_FALSE(rig.game.engine.Moves().CanUndo());
    EXPECT_EQ(rig.area().image(), typed.area().image());
}

}  // namespace
}  // namespace tessaro::play
