#include "halloffame/HallOfFame.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/QStringPrint.h"

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
                        [this] { ++shown; }};
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
    EXPECT_EQ(lines[first], "Anna\r");
    EXPECT_EQ(lines[first + 1], ChampionDate(QDate(2024, 3, 9)).toUtf8() + '\r');
    EXPECT_EQ(lines[first + 2], "00:03:07.5\r");

    HallOfFame again;
    ASSERT_TRUE(LoadChampions(again, rig.path));
    EXPECT_EQ(again.names[1][2], "Anna");
    EXPECT_EQ(again.times[1][2], "00:03:07.5");
    EXPECT_EQ(FormatChampions(again), bytes.toStdString());
}

TEST(HallOfFameFile, CancelKeepsFileAndTables) {
    Rig rig;
    Fill(rig.hof, 0, 3);
    ASSERT_TRUE(SaveChampions(rig.hof, rig.path));
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
    ASSERT_TRUE(SaveChampions(rig.hof, rig.path));
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
    Fill(rig.hof, 1, 1);
    ASSERT_TRUE(SaveChampions(rig.hof, rig.path));
    EXPECT_EQ(reader.readAll(), "Old\r\nd\r\n00:00:09.0\r\n");
    EXPECT_EQ(ReadAll(rig.path).count('\n'), kChampionLines);

    // A missing file empties the tables.
    QFile::remove(rig.path);
    ASSERT_TRUE(LoadChampions(rig.hof, rig.path));
    EXPECT_FALSE(rig.hof.Filled(1, 0));
    // A save that cannot be written leaves no file behind and reports it.
    EXPECT_FALSE(SaveChampions(rig.hof, rig.dir.filePath(QStringLiteral("no/such/dir/x.Rhm"))));
}

}  // namespace
}  // namespace tessaro
