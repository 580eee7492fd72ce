#include "shell/DataLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

namespace tessaro {
namespace {

// The XDG base folder for user data; empty when HOME is unset or empty. A relative
// XDG_DATA_HOME is invalid and ignored.
QString DataHome() {
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(xdg)) return xdg;
    const QString home = qEnvironmentVariable("HOME");
    return home.isEmpty() ? QString() : home + QStringLiteral("/.local/share");
}

}  // namespace

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("tessaro"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaro"));
}

QStringList ShippedFileNames() {
    return {"leicht.brd", "mittel.brd", "schwer.brd", "extrem.brd", "Kalvix.chm"};
}

QStringList ShippedDataCandidates() {
    // Beside the binary first, so a package installed under another prefix than the build's finds them.
    const QString besideBinary = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/tessaro");
    return {besideBinary, QStringLiteral(TESSARO_DATA_DIR), QStringLiteral(TESSARO_SOURCE_DATA_DIR)};
}

QString ShippedDataDirectory() {
    for (const QString& dir : ShippedDataCandidates()) {
        if (QFile::exists(dir + "/leicht.brd")) return dir;
    }
    return {};
}

QString EnterWorkingDirectory(QString* problem) {
    if (QFile::exists("leicht.brd")) return QDir::currentPath();
    const QString dataHome = DataHome();
    const QString userDir = dataHome + u'/' + QCoreApplication::applicationName();
    if (dataHome.isEmpty() || !QDir().mkpath(userDir) || !QFileInfo(userDir).isWritable()) {
        if (problem != nullptr) {
            const QString where = dataHome.isEmpty() ? QStringLiteral("Kein Ordner für die Spieldaten: HOME ist nicht gesetzt.")
                                                     : QStringLiteral("In „%1“ kann Tessaro nicht schreiben.").arg(userDir);
            *problem = where + QStringLiteral("\nDas Spiel läuft im Ordner „%1“.").arg(QDir::currentPath());
        }
        return QDir::currentPath();
    }
    const QString shipped = ShippedDataDirectory();
    if (!shipped.isEmpty()) {
        for (const QString& name : ShippedFileNames()) {
            const QString target = userDir + '/' + name;
            if (!QFile::exists(target)) QFile::copy(shipped + '/' + name, target);
        }
    }
    QDir::setCurrent(userDir);
    return userDir;
}

}  // namespace tessaro
