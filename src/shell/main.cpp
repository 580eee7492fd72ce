#include <QApplication>

#include "shell/DataLocation.h"
#include "shell/Game.h"
#include "shell/MainWindow.h"

int main(int argc, char** argv) {
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
