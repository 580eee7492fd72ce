#include <QApplication>
#include <QCoreApplication>

#include <string_view>

#include "shell/DataLocation.h"
#include "shell/Game.h"
#include "shell/MainWindow.h"
#include "shell/RenewPuzzles.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--neue-raetsel") {
        // Terminal only: no window, so no display is needed either.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("tessaro"));
        return tessaro::RenewPlayerPuzzles();
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaro"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaro"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaro"));
    tessaro::EnterWorkingDirectory();
    tessaro::Game game;
    tessaro::MainWindow window(game);
    window.show();
    return app.exec();
}
