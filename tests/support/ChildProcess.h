#pragma once

#include <QDir>
#include <QString>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaro {

// Where the race tests put their files: in memory when possible, since the disk syncs of their
// hundreds of saves would otherwise make up nearly all of their run time.
inline QString RaceFolderTemplate() {
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + QStringLiteral("/tessaro-XXXXXX");
}

// Runs work in a forked child, as a second game in the same folder would; the child ends with
// exit code 0 unless work ends it otherwise.
inline pid_t Child(const std::function<void()>& work) {
    const pid_t pid = fork();
    if (pid == 0) {
        work();
        _exit(0);
    }
    return pid;
}

// Waits for the child; its exit code, or -1 when a signal ended it.
inline int ExitCode(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tessaro
