// Measures what a player waits for: from process start to the first frame of the main window on
// screen, and the resident memory once it is shown. Run it in a folder with the puzzle files:
//   build/bench/tessaro_startup_probe            (under X or Xvfb)
//   build/bench/tessaro_startup_probe -platform offscreen
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <cstdio>

#include "display/ClientArea.h"
#include "shell/DataLocation.h"
#include "shell/Game.h"
#include "shell/MainWindow.h"

namespace {

QElapsedTimer& SinceStart() {
    static QElapsedTimer timer;
    return timer;
}

long ResidentKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

struct FirstPaint : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            const qint64 ms = SinceStart().elapsed();
            QTimer::singleShot(0, [ms] {
                std::printf("first frame after %lld ms, resident memory %ld kB\n", static_cast<long long>(ms),
                            ResidentKilobytes());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }
    bool seen = false;
};

}  // namespace

int main(int argc, char** argv) {
    SinceStart().start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaro"));
    tessaro::EnterWorkingDirectory();
    tessaro::Game game;
    tessaro::MainWindow window(game);
    FirstPaint probe;
    window.clientArea().installEventFilter(&probe);
    window.show();
    return app.exec();
}
