// The game under a headless Weston with Qt's Wayland plugin: it maps its window, draws its first
// frame and writes nothing to stderr. Skipped where Weston or the plugin is not installed.

#include <gtest/gtest.h>

#include <algorithm>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace {

// Pixels of the board's background colour in a screenshot of the whole output.
int BackgroundPixels(const QImage& shot) {
    const QRgb background = qRgb(180, 201, 208);
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) count += (line[x] & 0xffffff) == (background & 0xffffff);
    }
    return count;
}

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished();
    }
}

TEST(WaylandSmoke, TheGameDrawsItsFirstFrameWithACleanStderr) {
    const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
    const QString shooter = QStandardPaths::findExecutable(QStringLiteral("weston-screenshooter"));
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    if (weston.isEmpty() || shooter.isEmpty() || platforms.entryList({QStringLiteral("*wayland*")}).isEmpty()) {
        GTEST_SKIP() << "weston or qt6-wayland is not installed";
    }
    QTemporaryDir runtime, work, home;
    ASSERT_TRUE(runtime.isValid() && work.isValid() && home.isValid());
    const QDir data(QString::fromUtf8(TESSARO_SOURCE_DATA_DIR));
    for (const QString& name : data.entryList({QStringLiteral("*.brd"), QStringLiteral("*.chm")}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(data.filePath(name), work.filePath(name)));
    }
    const QString socket = QStringLiteral("tessaro-smoke-%1").arg(QCoreApplication::applicationPid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.remove(QStringLiteral("DISPLAY"));

    // Pixman draws real pixels, --debug allows the screenshooter.
    QProcess compositor;
    compositor.setProcessEnvironment(env);
    compositor.start(weston, {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--use-pixman"),
                              QStringLiteral("--debug"), QStringLiteral("--socket=") + socket,
                              QStringLiteral("--width=1280"), QStringLiteral("--height=1024")});
    ASSERT_TRUE(compositor.waitForStarted());
    const QDeadlineTimer deadline(20000);
    while (!QFile::exists(runtime.filePath(socket)) && !deadline.hasExpired()) QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(runtime.filePath(socket))) << compositor.readAllStandardError().toStdString();

    QProcess game;
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(work.path());
    game.start(QStringLiteral(TESSARO_GAME), {});
    ASSERT_TRUE(game.waitForStarted());

    int drawn = 0;
    while (drawn < 862 * 694 / 4 && !deadline.hasExpired() && game.state() == QProcess::Running) {
        QThread::msleep(200);
        QProcess shot;
        shot.setProcessEnvironment(env);
        shot.setWorkingDirectory(work.path());
        shot.start(shooter, {});
        shot.waitForFinished(5000);
        for (const QString& name : QDir(work.path()).entryList({QStringLiteral("wayland-screenshot*.png")})) {
            drawn = std::max(drawn, BackgroundPixels(QImage(work.filePath(name)).convertToFormat(QImage::Format_RGB32)));
            QFile::remove(work.filePath(name));
        }
    }
    EXPECT_EQ(game.state(), QProcess::Running) << "the game ended";
    EXPECT_GE(drawn, 862 * 694 / 4) << "no board on the screen";
    Stop(game);
    Stop(compositor);
    EXPECT_EQ(game.readAllStandardError().toStdString(), "");
}

}  // namespace
