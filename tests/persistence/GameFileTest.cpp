#include "persistence/GameFile.h"
#include "persistence/RecordFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/ChildProcess.h"
#include "support/LoadInto.h"

#include <functional>
#include <random>
#include <csignal>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// In a child that sets it, the save's sync stops there and tells the parent through this pipe end,
// so that the parent's kill lands between the temporary file's write and its rename.
static int stopAtSync = -1;

// Takes the place of the C library's, for every caller in this test program.
extern "C" int fdatasync(int fd) {
    if (stopAtSync >= 0 && write(stopAtSync, "s", 1) == 1) for (;;) pause();
    return static_cast<int>(syscall(SYS_fdatasync, fd));
}

namespace tessaro {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(GameFile, KilledSavesLeaveTheOldOrTheNewFileAndTheirTemporariesGo) {
    QTemporaryDir dir(RaceFolderTemplate());
    const QString path = dir.filePath(QStringLiteral("brett.brd"));
    const QByteArray a(64 * 1024, 'a'), b(64 * 1024, 'b');
    const auto save = [&] {
        return Child([&] { UpdateGameFile(path, a.size(), [&](const QByteArray& now) { return now == a ? b : a; }); });
    };
    QElapsedTimer whole;
    whole.start();
    ASSERT_EQ(ExitCode(save()), 0);
    const auto span = static_cast<useconds_t>(whole.nsecsElapsed() / 1000);

    // Kills land anywhere from before the child runs to after its save is done.
    std::mt19937 random(9);
    int changed = 0;
    for (int i = 0; i < 200; ++i) {
        const QByteArray before = ReadAll(path);
        const pid_t pid = save();
        usleep(std::uniform_int_distribution<useconds_t>(0, span)(random));
        kill(pid, SIGKILL);
        ExitCode(pid);
        const QByteArray after = ReadAll(path);
        ASSERT_TRUE(after == a || after == b) << "after kill " << i;
        changed += after != before;
    }
    EXPECT_GT(changed, 0);

    // A save killed at its sync leaves its temporary file; the next start removes it, but neither
    // a player's copies nor the names earlier builds gave their temporaries.
    const QStringList others{"Champions.Rhm.zweite", "brett.brd", "brett.brd.Zz09aB", "brett.brd.backup",
                             "brett.brd.kopie1"};
    for (const QString& name : others) QFile(dir.filePath(name)).open(QIODevice::Append);
    int toParent[2];
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t pid = Child([&] {
        stopAtSync = toParent[1];
        UpdateGameFile(path, a.size(), [&](const QByteArray&) { return b; });
    });
    char synced = 0;
    ASSERT_EQ(read(toParent[0], &synced, 1), 1);
    kill(pid, SIGKILL);
    ExitCode(pid);
    close(toParent[0]), close(toParent[1]);
    const auto files = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name); };
    const QStringList leftovers = files().filter(QStringLiteral(".brett.brd.tessaro-save-"));
    ASSERT_EQ(leftovers.size(), 1) << files().join(u' ').toStdString();
    EXPECT_EQ(ReadAll(dir.filePath(leftovers[0])), b);

    // Not while another game holds the lock.
    {
        SaveLock otherGame(path);
        ASSERT_TRUE(otherGame.Take(0));
        CleanUpGameFile(path);
        EXPECT_TRUE(files().contains(leftovers[0]));
    }
    CleanUpGameFile(path);
    CleanUpGameFile(dir.filePath(QStringLiteral("Champions.Rhm")));
    EXPECT_EQ(files(), others);
}

TEST(GameFile, TwoGamesSavingDifferentSlotsKeepEverySlot) {
    QTemporaryDir dir(RaceFolderTemplate());
    Settings settings;
    settings.currentFile = dir.filePath(QStringLiteral("brett.brd")).toStdString();
    // Game g saves slots 2g and 2g + 1 in turn, a hundred times, with a counter in cell (1, 1).
    const auto game = [&settings](int g) {
        return Child([&settings, g] {
            BoardModel model;
            for (int i = 0; i < 100; ++i) {
                model.cell(1, 1) = static_cast<std::uint8_t>(1 + i % 9);
                model.cell(2, 1) = static_cast<std::uint8_t>(i / 9 % 10);
                if (!SaveRecord(model, settings, 2 * g + i % 2)) _exit(1);
            }
        });
    };
    const pid_t first = game(0), second = game(1);
    EXPECT_EQ(ExitCode(first), 0);
    EXPECT_EQ(ExitCode(second), 0);
    for (int slot = 0; slot < 4; ++slot) {
        BoardModel loaded;
        ASSERT_TRUE(LoadInto(loaded, settings, slot));
        const int last = 98 + slot % 2;
        EXPECT_EQ(loaded.cell(1, 1), 1 + last % 9) << slot;
        EXPECT_EQ(loaded.cell(2, 1), last / 9 % 10) << slot;
    }
}

TEST(GameFile, OnlyRegularFilesAreReadAndNothingElseIsReplaced) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.brd"));
    const QString folder = dir.filePath(QStringLiteral("folder.brd"));
    const QString device = dir.filePath(QStringLiteral("device.brd"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
    for (const QString& path : {fifo, folder, device}) {
        const FileContents read = ReadGameFile(path, 8800);
        EXPECT_EQ(read.status, ReadStatus::Unreadable) << path.toStdString();
        EXPECT_EQ(read.reason, QStringLiteral("keine gewöhnliche Datei"));

        Settings settings;
        settings.currentFile = path.toStdString();
        BoardModel model;
        EXPECT_FALSE(LoadInto(model, settings, 0));
        const FileResult saved = SaveRecord(model, settings, 0);
        EXPECT_FALSE(saved);
        EXPECT_TRUE(saved.unreadable);
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QFileInfo(device).isSymLink());
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    Settings nowhere;
    nowhere.currentFile = dir.filePath(QStringLiteral("missing/brett.brd")).toStdString();
    EXPECT_EQ(SaveRecord(BoardModel{}, nowhere, 0).reason, QStringLiteral("Ordner fehlt"));
}

}  // namespace
}  // namespace tessaro
