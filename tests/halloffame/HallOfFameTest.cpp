#include "halloffame/HallOfFame.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/ChildProcess.h"
#include "support/QStringPrint.h"

#include <sys/stat.h>

namespace tessaro {
namespace {

QString Time(int seconds, int tenth = 0) {
    return QString::asprintf("00:%02d:%02d.%d", seconds / 60, seconds % 60, tenth);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Fills places 1..count of a level with times 100, 110, 120 ... seconds.
void Fill(HallOfFame& hof, int level, int count) {
    for (int i = 0; i < count; ++i) {
        InsertChampion(hof, level, QStringLiteral("P%1").arg(i + 1), QStringLiteral("1.1.24"), Time(100 + 10 * i));
    }
}

struct Rig {
    QTemporaryDir dir;
    QString path = dir.filePath(QString::fromLatin1(kChampionsFile));
    HallOfFame hof;
    int asked = 0, shown = 0;
    bool accept = true;
    QString typed = QStringLiteral("Anna");
    ChampionForms forms{[this](HallOfFame& h) {
                            ++asked;
                            if (accept) {
                                h.championName = typed;
                                h.confirmed = true;
                            }
                        },
                        [this] { ++shown; },
                        [this](const FileResult& failure) { told << failure.reason; }};
    QStringList told;
    void Enter(int level, const QString& time) { EnterChampion(hof, level, time, path, forms, QDate(2024, 3, 9)); }
};

TEST(HallOfFameInsert, OrderPushOutAndTies) {
    HallOfFame hof;
    Fill(hof, 1, 10);
    EXPECT_EQ(hof.times[10][1], Time(190));

    // Better than the tenth: the old tenth is gone, everything below the new place moves down.
    EXPECT_EQ(InsertChampion(hof, 1, QStringLiteral("New"), QString(), Time(105)), 2);
    EXPECT_EQ(hof.names[2][1], "New");
    EXPECT_EQ(hof.names[3][1], "P2");
    EXPECT_EQ(hof.names[10][1], "P9");
    EXPECT_EQ(hof.times[10][1], Time(180));

    // Equal to place 3 (P2, 110 s): goes below it, at place 4.
    EXPECT_EQ(InsertChampion(hof, 1, QStringLiteral("Tie"), QString(), Time(110)), 4);
    EXPECT_EQ(hof.names[3][1], "P2");
    EXPECT_EQ(hof.names[4][1], "Tie");
    EXPECT_EQ(hof.names[5][1], "P3");

    // No better than the tenth: no place; other levels untouched.
    EXPECT_EQ(InsertChampion(hof, 1, QStringLiteral("Slow"), QString(), Time(999 % 600)), 0);
    EXPECT_EQ(ChampionPlace(hof, 1, hof.times[10][1]), 0);
    EXPECT_FALSE(hof.Filled(1, 0));
    EXPECT_EQ(InsertChampion(hof, 4, QStringLiteral("X"), QString(), Time(1)), 0);
    EXPECT_EQ(InsertChampion(hof, 0, QStringLiteral("X"), QString(), QStringLiteral("junk")), 0);
}

TEST(HallOfFameInsert, DatesTheFileCannotHoldAreWrittenInDigits) {
    const QDate day(2024, 3, 9);
    EXPECT_EQ(ChampionDate(day, QLocale(QLocale::German, QLocale::Germany)), "09.03.24");
    EXPECT_EQ(ChampionDate(day, QLocale(QLocale::Arabic, QLocale::Egypt)), "09.03.2024");
}

TEST(HallOfFameInsert, NamesBecomeOneLine) {
    HallOfFame hof;
    InsertChampion(hof, 0, QStringLiteral("Eva\r\nMaria\nX"), QString(), Time(50));
    EXPECT_EQ(hof.names[1][0], "Eva  Maria X");
    const std::string text = FormatChampions(hof);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kChampionLines);
    EXPECT_EQ(ChampionLine(QString(1000, u'a')).size(), kMaxChampionLine);
}

TEST(HallOfFameFile, FirstEntryWithoutFile) {
    Rig rig;
    rig.typed = QStringLiteral("Jürgen Groß");
    ASSERT_FALSE(QFile::exists(rig.path));
    LoadChampions(rig.hof, rig.path);
    rig.Enter(2, QStringLiteral("00:03:07.5"));
    EXPECT_EQ(rig.asked, 1);
    EXPECT_EQ(rig.shown, 1);

    const QByteArray bytes = ReadAll(rig.path);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();  // after the final line break
    ASSERT_EQ(lines.size(), kChampionLines);
    int blankOrNine = 0;
    for (QByteArray line : lines) {
        ASSERT_TRUE(line.endsWith('\r'));
        line.chop(1);
        if (line.isEmpty() || line == "9") ++blankOrNine;
    }
    EXPECT_EQ(blankOrNine, 117);
    const int first = 3 * (kPlaces * 2);
    EXPECT_EQ(lines[first], "\x4A\xFC\x72\x67\x65\x6E\x20\x47\x72\x6F\xDF\r");  // Windows-1252
    EXPECT_EQ(lines[first + 1], ChampionDate(QDate(2024, 3, 9)).toLatin1() + '\r');
    EXPECT_EQ(lines[first + 2], "00:03:07.5\r");

    HallOfFame again;
    ASSERT_TRUE(LoadChampions(again, rig.path));
    EXPECT_EQ(again.names[1][2], "Jürgen Groß");
    EXPECT_EQ(again.times[1][2], "00:03:07.5");
    EXPECT_EQ(FormatChampions(again), bytes.toStdString());
}

TEST(HallOfFameFile, CancelKeepsFileAndTables) {
    Rig rig;
    Fill(rig.hof, 0, 3);
    WriteAll(rig.path, QByteArray::fromStdString(FormatChampions(rig.hof)));
    const QByteArray before = ReadAll(rig.path);

    rig.accept = false;
    rig.Enter(0, Time(5));
    EXPECT_EQ(rig.asked, 1);
    EXPECT_EQ(rig.shown, 1);
    EXPECT_EQ(ReadAll(rig.path), before);
    EXPECT_EQ(rig.hof.names[1][0], "P1");
    EXPECT_FALSE(rig.hof.Filled(4, 0));
}

TEST(HallOfFameFile, NoPlaceStillShowsHallOfFame) {
    Rig rig;
    Fill(rig.hof, 3, 10);
    WriteAll(rig.path, QByteArray::fromStdString(FormatChampions(rig.hof)));
    rig.Enter(3, Time(500));
    EXPECT_EQ(rig.asked, 0);
    EXPECT_EQ(rig.shown, 1);
    EXPECT_EQ(rig.hof.names[10][3], "P10");
}

TEST(HallOfFameFile, ShortAndDamagedFiles) {
    HallOfFame hof;
    // Seven lines: two complete places of level 0, then a name without date and time.
    ParseChampions(hof, "A\r\nd1\r\n00:01:00.0\r\nB\r\nd2\r\n00:02:00.0\r\nC");
    EXPECT_EQ(hof.names[1][0], "A");
    EXPECT_EQ(hof.times[2][0], "00:02:00.0");
    EXPECT_FALSE(hof.Filled(3, 0));
    EXPECT_TRUE(hof.names[3][0].isEmpty());
    EXPECT_FALSE(hof.Filled(1, 1));

    // A garbled time empties its place; the rest of the level closes up and is put in order.
    std::string text;
    const char* times[] = {"00:05:00.0", "garbage", "00:01:00.0", "9"};
    for (int p = 0; p < 4; ++p) text += "N" + std::to_string(p + 1) + "\nD\n" + times[p] + "\n";
    ParseChampions(hof, text);
    EXPECT_EQ(hof.names[1][0], "N3");
    EXPECT_EQ(hof.names[2][0], "N1");
    EXPECT_FALSE(hof.Filled(3, 0));

    // Overlong lines are cut; their neighbours still land in the right places.
    const std::string longName(100000, 'x');
    ParseChampions(hof, longName + "\r\nd\r\n00:00:10.0\r\nY\r\nd\r\n00:00:20.0\r\n");
    EXPECT_EQ(hof.names[1][0].size(), kMaxChampionLine);
    EXPECT_EQ(hof.names[2][0], "Y");

    // Stray carriage returns and binary bytes never turn into extra lines when saved.
    ParseChampions(hof, std::string("a\rb\0c\n\n00:00:01.0\n", 18));
    EXPECT_EQ(hof.names[1][0], "a b c");
    const std::string saved = FormatChampions(hof);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), kChampionLines);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\r'), kChampionLines);
}

TEST(HallOfFameFile, LoadReplacesTablesAndSaveReplacesFile) {
    Rig rig;
    WriteAll(rig.path, "Old\r\nd\r\n00:00:09.0\r\n");
    Fill(rig.hof, 2, 4);
    ASSERT_TRUE(LoadChampions(rig.hof, rig.path));
    EXPECT_EQ(rig.hof.names[1][0], "Old");
    EXPECT_FALSE(rig.hof.Filled(1, 2));

    // The save goes through a new file: an open reader keeps the old contents.
    QFile reader(rig.path);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    ASSERT_TRUE(UpdateChampions(rig.hof, rig.path, [](HallOfFame& h) { Fill(h, 1, 1); }));
    EXPECT_EQ(reader.readAll(), "Old\r\nd\r\n00:00:09.0\r\n");
    EXPECT_EQ(ReadAll(rig.path).count('\n'), kChampionLines);
    EXPECT_EQ(rig.hof.names[1][1], "P1");

    // A missing file empties the tables.
    QFile::remove(rig.path);
    ASSERT_TRUE(LoadChampions(rig.hof, rig.path));
    EXPECT_FALSE(rig.hof.Filled(1, 0));
    // A save that cannot be written leaves no file behind and reports it.
    EXPECT_FALSE(UpdateChampions(rig.hof, rig.dir.filePath(QStringLiteral("no/such/dir/x.Rhm")), [](HallOfFame&) {}));
}

TEST(HallOfFameFile, UnreadableFileIsNeverReplacedAndToldOnce) {
    Rig rig;
    ASSERT_EQ(mkfifo(QFile::encodeName(rig.path).constData(), 0644), 0);  // would block a plain open
    Fill(rig.hof, 1, 2);
    const FileResult read = LoadChampions(rig.hof, rig.path);
    EXPECT_TRUE(!read && read.unreadable);
    EXPECT_EQ(rig.hof.names[2][1], "P2");  // the tables stay as they were
    EXPECT_TRUE(MustTell(rig.hof, read));  // the start-up message
    rig.Enter(0, Time(5));
    rig.Enter(0, Time(4));
    EXPECT_TRUE(rig.told.isEmpty());
    EXPECT_EQ(rig.hof.names[2][0], "Anna");  // shown, though not stored
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(rig.path).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // Any other failed save is told each time, with its reason.
    Rig nowhere;
    nowhere.path = nowhere.dir.filePath(QStringLiteral("gone/Champions.Rhm"));
    nowhere.Enter(0, Time(5));
    nowhere.Enter(0, Time(4));
    EXPECT_EQ(nowhere.told, (QStringList{"Ordner fehlt", "Ordner fehlt"}));
}

TEST(HallOfFameFile, TwoGamesInOneFolderKeepEachOthersEntries) {
    QTemporaryDir dir(RaceFolderTemplate());
    const QString path = dir.filePath(QString::fromLatin1(kChampionsFile));
    // Game g enters a hundred ever faster times, alternating between levels 2g and 2g + 1.
    const auto game = [&path](int g) {
        return Child([&path, g] {
            HallOfFame hof;
            LoadChampions(hof, path);
            const ChampionForms forms{[](HallOfFame& h) { h.confirmed = true; }, {},
                                      [](const FileResult&) { _exit(1); }};
            for (int i = 0; i < 100; ++i) EnterChampion(hof, 2 * g + i % 2, Time(1000 - i), path, forms);
        });
    };
    Rig third;  // started before the two, it shows their entries after its own
    third.path = path;
    const pid_t first = game(0), second = game(1);
    EXPECT_EQ(ExitCode(first), 0);
    EXPECT_EQ(ExitCode(second), 0);
    third.Enter(3, Time(1));
    for (int level = 0; level < kLevels; ++level) {
        for (int place = 1; place <= kPlaces; ++place) {
            const int shift = level == 3 ? 1 : 0;  // the third game's record is first there
            const QString expected = place == 1 && shift ? Time(1) : Time(1000 - (98 + level % 2 - 2 * (place - 1 - shift)));
            EXPECT_EQ(third.hof.times[place][level], expected) << level << " " << place;
        }
    }
    HallOfFame stored;
    ASSERT_TRUE(LoadChampions(stored, path));
    EXPECT_EQ(FormatChampions(stored), FormatChampions(third.hof));
}

TEST(HallOfFameFile, WindowsNamesAndEveryLineEndLoadAllPlaces) {
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (int entry = 0; entry < kPlaces * kLevels; ++entry) {
            // Windows-1252 "Müller €" and UTF-8 "Jürgen" may share a file.
            text += (entry % 2 ? "M\xfcller \x80" : "J\xc3\xbcrgen") + std::to_string(entry) + end + "1.1.24" + end +
                    Time(100 + entry).toStdString() + end;
        }
        HallOfFame hof;
        ParseChampions(hof, text);
        for (int level = 0; level < kLevels; ++level) {
            for (int place = 1; place <= kPlaces; ++place) EXPECT_TRUE(hof.Filled(place, level));
        }
        EXPECT_EQ(hof.names[1][0], QStringLiteral("Jürgen0"));
        EXPECT_EQ(hof.names[2][3], QStringLiteral("Müller €31"));
    }
    // Written back in Windows-1252; what it lacks becomes a visible "?".
    HallOfFame hof;
    ParseChampions(hof, "\xc5\x81ukasz \xe2\x82\xac\r\n1.1.24\r\n00:00:01.0\r\n"
                        "\xc3\x83\xc2\xbc\r\n1.1.24\r\n00:00:02.0\r\n");  // "Ã¼", whose bytes would read as "ü"
    const std::string written = FormatChampions(hof);
    EXPECT_EQ(written.substr(0, 10), "?ukasz \x80\r\n");
    EXPECT_EQ(written.substr(30, 4), "?\xbc\r\n");
    EXPECT_EQ(UnstorableChampionChars(QStringLiteral("Łukasz Łoś €")), QStringLiteral("Łś"));
}

}  // namespace
}  // namespace tessaro
