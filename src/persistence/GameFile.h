#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace tessaro {

// How a read or write of one of the game's files went. reason is a short German text.
struct FileResult {
    bool ok = true;
    bool unreadable = false;  // the file exists but could not be read
    QString reason;

    // Converts, so callers that only ask whether it worked read as before.
    operator bool() const { return ok; }  // NOLINT(google-explicit-constructor)
    static FileResult Failure(QString why, bool unreadable = false) { return {false, unreadable, std::move(why)}; }
};

enum class ReadStatus { Read, Missing, Unreadable };

struct FileContents {
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes;
    QString reason;  // why it is unreadable
};

// Reads at most maxBytes of path. Only regular files are opened: a FIFO would block and a device
// may never end, so anything else counts as unreadable, as does a read error.
FileContents ReadGameFile(const QString& path, qint64 maxBytes);

// The new contents of a file, given its current contents (empty when it is missing).
using FileChange = std::function<QByteArray(const QByteArray& current)>;

// The lock a save of path holds, so that games sharing a folder save one after the other: an
// flock on ".<name>.tessaro-lock" beside it, which the system drops when a game dies, so no lock is ever stale.
// The lock file is removed when the lock is let go.
class SaveLock {
public:
    explicit SaveLock(const QString& path);
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    // Waits up to waitMs for another game to let go.
    bool Take(int waitMs);
    // errno of the failed Take; EWOULDBLOCK when another game held the lock throughout.
    int error() const { return error_; }

private:
    QByteArray lockPath_;
    int fd_ = -1;
    int error_ = 0;
};

// Rewrites path so that other games sharing the folder lose nothing: takes the save lock, removes
// temporary files of killed saves, reads the file again and writes what `change` makes of it to a
// temporary file ".<name>.tessaro-save-" plus six letters or digits, synced, renamed over the file,
// then the folder synced. A file that exists but cannot be read is never replaced. On any failure the old
// file stays as it was.
FileResult UpdateGameFile(const QString& path, qint64 maxBytes, const FileChange& change);

// Removes the temporary files that killed saves of path left behind, and nothing else, unless
// another game holds the file's lock.
void CleanUpGameFile(const QString& path);

// "„brett.brd“ konnte nicht gespeichert werden: <reason>."
QString SaveFailedText(const QString& path, const QString& reason);

}  // namespace tessaro
