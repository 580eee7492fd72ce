#include <QApplication>
#include <QStringList>
#include <QTimer>

#include <optional>

#include "forms/Question.h"
#include "halloffame/HallOfFame.h"
#include "interaction/PuzzleExchange.h"
#include "persistence/RecordFile.h"
#include "shell/DataLocation.h"
#include "shell/Game.h"
#include "shell/MainWindow.h"
#include "shell/TerminalCommands.h"

int main(int argc, char** argv) {
    // Terminal only: no window, so no display is needed either.
    if (const std::optional<int> status = tessaro::RunTerminalCommand(argc, argv)) return *status;
    // On X11 every paint of a region that the last shared-memory upload covered first waits for a
    // round trip to the server: with the clock turning each second, two more wake-ups a second.
    // The plain upload of this small window costs no round trip.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    if (const std::optional<int> status = tessaro::RefuseUnknownOption(argc, argv)) return *status;
    tessaro::NameApplication();
    QString problem;
    tessaro::EnterWorkingDirectory(&problem);
    // Saves killed midway may have left temporary files; another game's lock keeps them.
    tessaro::CleanUpGameFile(QString::fromLatin1(tessaro::kBoardFile));
    tessaro::CleanUpGameFile(QString::fromLatin1(tessaro::kChampionsFile));
    tessaro::Game game;
    tessaro::MainWindow window(game);
    QStringList messages;
    if (!problem.isEmpty()) messages << problem;
    // `tessaro PUZZLE`: a line of 81 cells or a text file (Qt's own options are gone from argv).
    if (const char* puzzle = tessaro::StartPuzzleArgument(argc, argv)) {
        if (const QString refused = tessaro::TakeStartPuzzle(game.engine, game.display, puzzle); !refused.isEmpty()) {
            messages << refused;
        }
    }
    window.ShowFitted();
    if (!messages.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, messages] {
            for (const QString& text : messages) tessaro::ShowMessage(&window, text);
        });
    }
    return app.exec();
}
