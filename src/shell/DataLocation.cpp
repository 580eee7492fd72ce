#include "shell/DataLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace tessaro {

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

QString EnterWorkingDirectory() {
    if (QFile::exists("leicht.brd")) return QDir::currentPath();
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (userDir.isEmpty() || !QDir().mkpath(userDir)) return QDir::currentPath();
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
