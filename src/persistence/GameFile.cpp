#include "persistence/GameFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaro {
namespace {

// A save holds the lock for milliseconds; one held longer belongs to a hung game.
constexpr int kLockWaitMs = 5000;
// mkostemp's six letters or digits after the temporary file's prefix.
constexpr int kTempSuffix = 6;

QString Reason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("keine Berechtigung");
    case EROFS:
        return QStringLiteral("schreibgeschützter Datenträger");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Datenträger voll");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Ordner fehlt");
    default:
        return QStringLiteral("Systemfehler %1").arg(error);
    }
}

QString NotRegular() { return QStringLiteral("keine gewöhnliche Datei"); }

FileContents Unreadable(QString why) { return {ReadStatus::Unreadable, {}, std::move(why)}; }

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

// The old file's permissions, or what a newly created file gets under the umask.
mode_t ModeFor(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The game's own files beside path are hidden and carry a marker no player would type, so that
// removing them can never hit a player's copy such as "brett.brd.backup".
QString OwnFilePrefix(const QString& path) {
    const QFileInfo info(path);
    return info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".tessaro-"));
}

QString TempPrefix(const QString& path) { return OwnFilePrefix(path) + QStringLiteral("save-"); }

// Writes bytes to a fresh temporary file beside path, syncs it and renames it over path.
FileResult ReplaceFile(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = QFile::encodeName(TempPrefix(path)) + QByteArray(kTempSuffix, 'X');
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return FileResult::Failure(Reason(errno));
    // A failing fdatasync means the data may never reach the disk: that save failed.
    const bool written = ::fchmod(fd, ModeFor(target)) == 0 && WriteAll(fd, bytes) && ::fdatasync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.constData(), target.constData()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.constData());
        return FileResult::Failure(Reason(error));
    }
    // The rename reaches the disk only with the folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return FileResult::Failure(Reason(errno));
    const bool synced = ::fsync(dir) == 0;
    error = errno;
    ::close(dir);
    return synced ? FileResult{} : FileResult::Failure(Reason(error));
}

bool IsTempName(const QString& name, const QString& prefix) {
    if (name.size() != prefix.size() + kTempSuffix || !name.startsWith(prefix)) return false;
    for (qsizetype i = prefix.size(); i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool alnum = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (!alnum) return false;
    }
    return true;
}

// Called with the lock held, so no save of another game is writing one of these right now.
void RemoveLeftovers(const QString& path) {
    const QString prefix = QFileInfo(TempPrefix(path)).fileName();
    QDir dir = QFileInfo(path).absoluteDir();
    for (const QFileInfo& entry : dir.entryInfoList({prefix + u'*'}, QDir::Files | QDir::Hidden)) {
        if (IsTempName(entry.fileName(), prefix) && !entry.isSymLink()) dir.remove(entry.fileName());
    }
}

QByteArray LockPath(const QString& path) { return QFile::encodeName(OwnFilePrefix(path) + QStringLiteral("lock")); }

}  // namespace

FileContents ReadGameFile(const QString& path, qint64 maxBytes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ENOENT) return {};
        return Unreadable(Reason(errno));
    }
    if (!S_ISREG(st.st_mode)) return Unreadable(NotRegular());
    // Non-blocking, in case a FIFO took the file's place since the check.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? FileContents{} : Unreadable(Reason(errno));
    FileContents result{ReadStatus::Read, {}, {}};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Unreadable(NotRegular());
    }
    result.bytes.resize(static_cast<qsizetype>(std::min<qint64>(maxBytes, st.st_size)));
    qsizetype got = 0;
    while (got < result.bytes.size()) {
        const ssize_t n = ::read(fd, result.bytes.data() + got, static_cast<size_t>(result.bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return Unreadable(Reason(error));
        }
        if (n == 0) break;  // shrank since fstat
        got += n;
    }
    ::close(fd);
    result.bytes.truncate(got);
    return result;
}

SaveLock::SaveLock(const QString& path) : lockPath_(LockPath(path)) {}

SaveLock::~SaveLock() {
    if (fd_ < 0) return;
    // Removed while still held: a game waiting on this file tries again on a fresh one.
    ::unlink(lockPath_.constData());
    ::close(fd_);
}

bool SaveLock::Take(int waitMs) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const int fd = ::open(lockPath_.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            error_ = errno;
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // Still the file at that name, not one a finishing save has just removed?
            struct stat held {}, named {};
            if (::fstat(fd, &held) == 0 && ::stat(lockPath_.constData(), &named) == 0 && held.st_ino == named.st_ino &&
                held.st_dev == named.st_dev) {
                fd_ = fd;
                return true;
            }
        } else if (errno != EWOULDBLOCK) {
            error_ = errno;
            ::close(fd);
            return false;
        }
        ::close(fd);
        if (waited.elapsed() >= waitMs) {
            error_ = EWOULDBLOCK;
            return false;
        }
        ::usleep(1000);
    }
}

FileResult UpdateGameFile(const QString& path, qint64 maxBytes, const FileChange& change) {
    SaveLock lock(path);
    if (!lock.Take(kLockWaitMs)) {
        return FileResult::Failure(lock.error() == EWOULDBLOCK ? QStringLiteral("von einem anderen Spiel gesperrt")
                                                               : Reason(lock.error()));
    }
    RemoveLeftovers(path);
    const FileContents current = ReadGameFile(path, maxBytes);
    if (current.status == ReadStatus::Unreadable) return FileResult::Failure(current.reason, true);
    return ReplaceFile(path, change(current.bytes));
}

void CleanUpGameFile(const QString& path) {
    SaveLock lock(path);
    if (lock.Take(0)) RemoveLeftovers(path);
}

QString SaveFailedText(const QString& path, const QString& reason) {
    return QStringLiteral("„%1“ konnte nicht gespeichert werden: %2.").arg(QFileInfo(path).fileName(), reason);
}

}  // namespace tessaro
