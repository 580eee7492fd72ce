// Printing, help and the about box as the menu commands and the play loop reach them.

#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

#include "forms/AboutBox.h"
#include "persistence/RecordFile.h"
#include "support/LoadInto.h"
#include "shell/HelpViewer.h"
#include "support/PlayDriver.h"

namespace tessaro::play {
namespace {

// Pages of a PDF: pdfinfo's count when it is installed, else the page objects in the file.
int PdfPages(const QString& path) {
    if (!QFileInfo::exists(path)) return 0;
    if (!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
        QProcess process;
        process.start(QStringLiteral("pdfinfo"), {path});
        process.waitForFinished(30000);
        const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                               .match(QString::fromUtf8(process.readAllStandardOutput()));
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(QString::fromLatin1(file.readAll())
                                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

int CountGivens(const BoardModel& model) { return sx::CountFilled(sx::GivenCells(model)); }

void LoadPuzzle(PlayRig& rig) {
    rig.settings().currentFile = "leicht.brd";
    ASSERT_TRUE(LoadRecord(rig.game.engine, 2));
}

TEST(PrintWiring, BoardPrintFromTheMenuGivesOnePageAndCancelGivesNothing) {
    PlayRig rig(7);
    LoadPuzzle(rig);
    const BoardModel before = rig.model();
    StepDriver print(rig);
    print.Run(27);
    EXPECT_EQ(rig.printers->calls, 1);
    EXPECT_EQ(PdfPages(rig.printers->lastFile), 1);
    EXPECT_EQ(rig.model().board, before.board);

    rig.printers->cancel = true;
    StepDriver cancelled(rig);
    cancelled.Run(27);
    EXPECT_EQ(rig.printers->calls, 2);
    EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("print2.pdf")));
    EXPECT_FALSE(rig.window.CommandRunning());
}

TEST(PrintWiring, DKeyAndButtonPrintInsideTheLoop) {
    PlayRig rig(7);
    LoadPuzzle(rig);
    StepDriver steps(rig);
    steps.Key(Qt::Key_D);
    steps.InLoop([&] { EXPECT_EQ(PdfPages(rig.workDir.Path(QStringLiteral("print1.pdf"))), 1); });
    steps.Click(QPoint(295, 610));  // " _Drucken ", its right edge
    steps.InLoop([&] {
        EXPECT_EQ(PdfPages(rig.workDir.Path(QStringLiteral("print2.pdf"))), 1);
        rig.printers->cancel = true;
    });
    steps.Key(Qt::Key_D);
    steps.InLoop([&] {
        EXPECT_EQ(rig.printers->calls, 3);
        EXPECT_FALSE(rig.workDir.Exists(QStringLiteral("print3.pdf")));
        EXPECT_TRUE(rig.interaction().AcceptingInput());
    });
    steps.Leave();
    steps.Run(10);
    EXPECT_EQ(rig.printers->calls, 3);
}

TEST(PrintWiring, GamesPrintLeavesTheExtremPuzzleAndTheLevel) {
    PlayRig rig(7);
    StepDriver level(rig);
    level.Run(31);
    LoadPuzzle(rig);
    StepDriver print(rig);
    print.Run(12);
    EXPECT_EQ(rig.printers->calls, 1);
    EXPECT_EQ(PdfPages(rig.printers->lastFile), 1);
    EXPECT_EQ(rig.settings().difficulty, 1);
    EXPECT_EQ(rig.settings().currentFile, "extrem.brd");
    // A shuffled record of the Extrem file: the same number of givens as one of its records.
    const int givens = CountGivens(rig.model());
    EXPECT_GT(givens, 0);
    std::vector<int> extrem;
    for (int n = 0; n < 4; ++n) {
        BoardModel record;
        Settings settings;
        settings.currentFile = "extrem.brd";
        ASSERT_TRUE(LoadInto(record, settings, n));
        extrem.push_back(CountGivens(record));
    }
    EXPECT_NE(std::find(extrem.begin(), extrem.end(), givens), extrem.end()) << givens;
    EXPECT_EQ(sx::CountSolutions(sx::GivenCells(rig.model())), 1);
    EXPECT_TRUE(rig.window.MenuAction(31)->isChecked());
}

// After the print, one message names every puzzle file that could not be read.
TEST(PrintWiring, GamesPrintNamesTheUnreadablePuzzleFiles) {
    PlayRig rig(7);
    ASSERT_TRUE(QFile::remove(rig.workDir.Path(QStringLiteral("mittel.brd"))));
    ASSERT_TRUE(QFile::remove(rig.workDir.Path(QStringLiteral("extrem.brd"))));
    StepDriver print(rig);
    QString told;
    print.OnModal("puzzleFileError", [&](QWidget* box) {
        told = static_cast<QMessageBox*>(box)->text();
        EXPECT_EQ(PdfPages(rig.printers->lastFile), 1);
        box->close();
    });
    print.Run(12);
    EXPECT_EQ(told, QStringLiteral("Die Puzzledateien \"mittel.brd\" und \"extrem.brd\" fehlen oder sind beschädigt. "
                                   "Diese Spiele fehlen auf dem Ausdruck."));
}

QString HelpPath(PlayRig& rig) {
    const HelpBrowser* help = rig.game.help.window.get();
    return help && help->isVisible() ? help->source().path() : QString();
}

TEST(HelpWiring, MenuOpensTheOverviewAndTheHelpKeyAndButtonTheExplanation) {
    PlayRig rig(7);
    StepDriver overview(rig);
    overview.Run(60);
    EXPECT_TRUE(HelpPath(rig).contains(QStringLiteral("Übersicht.htm"))) << HelpPath(rig).toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    rig.game.help.window->close();

    StepDriver steps(rig);
    steps.Key(Qt::Key_H);
    steps.InLoop([&] {
        EXPECT_TRUE(HelpPath(rig).contains(QStringLiteral("erklärung.htm"))) << HelpPath(rig).toStdString();
        rig.game.help.window->close();
    });
    steps.Click(QPoint(398, 610));  // " _Hilfe ", its left edge
    steps.InLoop([&] {
        EXPECT_TRUE(HelpPath(rig).contains(QStringLiteral("erklärung.htm"))) << HelpPath(rig).toStdString();
    });
    steps.Leave();
    steps.Run(10);
}

TEST(HelpWiring, MissingArchiveIsReportedAndTheGameGoesOn) {
    PlayRig rig(7);
    ASSERT_TRUE(QFile::remove(rig.workDir.Path(QStringLiteral("Kalvix.chm"))));
    const QString expected = QStringLiteral("Error while trying to display a topic of Kalvix.chm");
    QStringList reports;
    auto close = [&](QMessageBox* box) {
        reports << box->text();
        box->accept();
    };

    StepDriver menu(rig);
    menu.OnModal<QMessageBox>(close);
    menu.Run(60);

    StepDriver steps(rig);
    steps.Key(Qt::Key_H);
    steps.OnModal<QMessageBox>(close);
    steps.InLoop([&] { EXPECT_TRUE(rig.interaction().AcceptingInput()); });
    steps.Click(QPoint(475, 610));  // " _Hilfe ", its right edge
    steps.OnModal<QMessageBox>(close);
    steps.Leave();
    steps.Run(10);

    EXPECT_EQ(reports, QStringList({expected, expected, expected}));
    EXPECT_EQ(HelpPath(rig), QString());
}

TEST(AboutWiring, InfOpensOverTheWindowAndCmd15ClosesIt) {
    PlayRig rig(7);
    QPoint at;
    QString name;
    StepDriver steps(rig);
    steps.OnModal<AboutBox>([&](AboutBox* box) {
        name = box->objectName();
        at = box->pos();
        QTest::mouseClick(box->cmd15, Qt::LeftButton);
    });
    steps.Run(1);
    EXPECT_EQ(name, "Inf");
    EXPECT_EQ(at, rig.window.frameGeometry().topLeft() + QPoint(149, 140));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(rig.window.CommandRunning());
}

}  // namespace
}  // namespace tessaro::play
