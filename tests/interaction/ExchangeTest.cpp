// Copy and paste of puzzles in the play loops, and the puzzle named on the command line.

#include <QClipboard>
#include <QMessageBox>

#include "interaction/PuzzleExchange.h"
#include "logic/RatedLevels.h"
#include "logic/Solver.h"
#include "persistence/RecordFile.h"
#include "puzzles/Exchange.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

QClipboard& Clip() { return *QGuiApplication::clipboard(); }
void Chord(PlayRig& rig, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(&rig.area(), key, modifiers);
}

// Copied in the own-board mode (givens, or with the entries), refused texts pasted into a timed
// game say why and change nothing; the copied givens pasted then become its new, untimed puzzle
// with their count drawn, as one change that Ctrl+Z takes back to the game's screen.
TEST(Exchange, CopyRefusePasteAndUndo) {
    PlayRig rig;
    rig.settings().currentFile = "mittel.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 2));
    rig.game.engine.EnterSymbol(FirstFreeCell(rig.model()).x(), FirstFreeCell(rig.model()).y(), 1);
    const Grid givens = rig.model().givens;
    StepDriver copy(rig);
    copy.InLoop([&] {
        Chord(rig, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Clip().text().toStdString(), BoardLine(rig.model()));
        Chord(rig, Qt::Key_C);
        EXPECT_EQ(Clip().text().toStdString(), GivensLine(rig.model()));
    });
    copy.Leave();
    copy.Run(kCmdOwnBoard);
    EXPECT_NE(rig.model().board, givens) << "copying keeps the entry";
    const QString copied = Clip().text();
    Grid game{};
    QImage before;
    auto idle = [&] { return !QApplication::activeModalWidget() && rig.interaction().AcceptingInput(); };
    rig.settings().difficulty = 3;  // the new game is an Extrem one, the pasted puzzle is not
    StepDriver d(rig);
    d.When(idle, [&] {
        game = rig.model().board;
        before = rig.area().image().copy();
    });
    for (const std::string text : {std::string(80, '.'), "11" + std::string(79, '.'), std::string(81, '.')}) {
        d.When(idle, [&, text] {
            Clip().setText(QString::fromStdString(text));
            Chord(rig, Qt::Key_V);
        });
        d.OnModal<QMessageBox>([text](QMessageBox* box) {
            EXPECT_TRUE(box->text().contains(QString::fromStdString(ReadPuzzle(text).error))) << box->text();
            box->accept();
        });
    }
    d.When(idle, [&] {
        EXPECT_EQ(rig.model().board, game);
        EXPECT_EQ(rig.area().image(), before);
        EXPECT_TRUE(rig.settings().timedGame);
        Clip().setText(copied);
        Chord(rig, Qt::Key_V);
        EXPECT_EQ(rig.model().givens, givens);
        EXPECT_EQ(rig.model().board, givens);
        EXPECT_FALSE(rig.settings().timedGame);
        EXPECT_EQ(rig.clock(), kIdle);
        EXPECT_EQ(LastTextAt(rig, 791, 414).trimmed().toLong(), 100 - std::count(givens.begin(), givens.end(), 0));
        EXPECT_EQ(rig.game.display.helpText, "Rätsel übernommen");
        const int level = logic::LevelForRating(logic::SolvePath(givens).rating);
        EXPECT_NE(level, rig.settings().difficulty) << "the panel shows the rated level, not the chosen one";
        EXPECT_EQ(LastTextAt(rig, 656, 426).trimmed(), QString::fromUtf8(kDifficultyNames[level].data()).trimmed());
        Chord(rig, Qt::Key_Z);
        EXPECT_EQ(rig.model().board, game);
        EXPECT_EQ(rig.area().image(), before);
        EXPECT_FALSE(rig.game.engine.Moves().CanUndo()) << "the paste was one change";
    });
    d.Leave();
    d.Run(kCmdNewGame);
}

// The command line's puzzle is drawn at start-up exactly as the same givens typed in as an own
// board, with nothing to undo, its rated level named as after a paste until a level is chosen; a
// bad argument says why and changes nothing.
TEST(Exchange, StartPuzzleLooksLikeATypedInBoard) {
    PlayRig rig;
    const QImage start = rig.area().image().copy();
    EXPECT_TRUE(TakeStartPuzzle(rig.game.engine, rig.game.display, "fehlt.txt").contains("fehlt.txt"));
    EXPECT_EQ(rig.area().image(), start);
    rig.settings().currentFile = "mittel.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 2));
    const Grid givens = rig.model().givens;
    QFile file(rig.workDir.Path("r.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(std::string(81, '.') + "\n" + GivensLine(rig.model()) + "\n"));
    file.close();
    rig.game.engine.ClearBoard();
    EXPECT_EQ(TakeStartPuzzle(rig.game.engine, rig.game.display, file.fileName().toStdString()), QString());
    EXPECT_EQ(rig.model().board, givens);
    EXPECT_EQ(rig.model().givens, givens);
    EXPECT_FALSE(rig.game.engine.Moves().CanUndo());
    const QImage shown = rig.area().image().copy();
    rig.game.engine.ClearBoard();
    for (int at = 0; at < 100; ++at)
        if (givens[at]) rig.game.engine.SetGiven(at % 10, at / 10, givens[at]);
    rig.window.display().UpdateDigitCounts();
    rig.window.display().UpdateDifficultyPanel();
    EXPECT_EQ(rig.area().image(), shown);
    const int rated = logic::LevelForRating(logic::SolvePath(givens).rating);
    const auto levelShown = [&] { return LastTextAt(rig, 656, 426).trimmed(); };
    EXPECT_EQ(levelShown(), QString::fromUtf8(kDifficultyNames[rated].data()).trimmed());
    const int chosen = rated == 3 ? 0 : 3;
    rig.window.Win_0_MenuEvent(kCmdLeicht + chosen);
    EXPECT_EQ(levelShown(), QString::fromUtf8(kDifficultyNames[chosen].data()).trimmed());
}

}  // namespace
}  // namespace tessaro::play
