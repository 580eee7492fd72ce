#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "shell/DataLocation.h"
#include "shell/MainWindow.h"
#include "shell/MenuTable.h"

namespace tessaro {
namespace {

std::vector<int> CommandIds(const std::vector<MenuEntry>& entries) {
    std::vector<int> ids;
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::Command) ids.push_back(entry.id);
        for (int id : CommandIds(entry.children)) ids.push_back(id);
    }
    return ids;
}

TEST(MenuTable, GameTableGivesFourPopupsWithTheirCommandsInOrder) {
    const auto bar = ParseMenuTable(MainMenuTable());
    ASSERT_EQ(bar.size(), 4u);
    EXPECT_EQ(bar[0].caption, "&Tessaro");
    EXPECT_EQ(bar[1].caption, "&Optionen");
    EXPECT_EQ(bar[2].caption, "Sch&wierigkeit");
    EXPECT_EQ(bar[3].caption, "&Hilfe");
    EXPECT_EQ(CommandIds(bar), (std::vector<int>{8, 10, 25, 12, 99, 20, 21, 22, 26, 27, 24, 11, 30, 31, 32, 33,
                                                  40, 41, 44, 50, 60, 1}));
    EXPECT_EQ(bar[0].children[1].kind, MenuEntry::Kind::Separator);
    EXPECT_EQ(bar[1].children[3].caption, "&Brett lösen");
    EXPECT_EQ(bar[3].children[2].caption, "über &Tessaro...");
}

TEST(MenuTable, GrammarHandlesNestedPopupsSeparatorsAndEarlyEnds) {
    const std::vector<std::string_view> table{"&A", "7:eins", ">&Mehr", "12x:zwei: mit Doppelpunkt", "-", "",
                                              "3:drei", "", "&B", "", "", "&C", "9:nie"};
    const auto bar = ParseMenuTable(table);
    ASSERT_EQ(bar.size(), 2u);  // the empty title ends the bar before "&C"
    ASSERT_EQ(bar[0].children.size(), 3u);
    const MenuEntry& nested = bar[0].children[1];
    EXPECT_EQ(nested.kind, MenuEntry::Kind::Popup);
    EXPECT_EQ(nested.caption, "&Mehr");
    ASSERT_EQ(nested.children.size(), 2u);
    EXPECT_EQ(nested.children[0].id, 12);
    EXPECT_EQ(nested.children[0].caption, "zwei: mit Doppelpunkt");
    EXPECT_EQ(nested.children[1].kind, MenuEntry::Kind::Separator);
    EXPECT_EQ(bar[0].children[2].id, 3);
    EXPECT_TRUE(bar[1].children.empty());
    // A table without its closing strings ends where it ends.
    EXPECT_EQ(ParseMenuTable({"&X", "5:fünf"}).at(0).children.at(0).id, 5);
}

TEST(MenuTable, LeadingNumberReadsDigitsUpToTheFirstOther) {
    EXPECT_EQ(LeadingNumber("44:Zeige &Kandidaten"), 44);
    EXPECT_EQ(LeadingNumber("1:über"), 1);
    EXPECT_EQ(LeadingNumber("x:1"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("99999999999999:gross"), 9999999);  // stops instead of overflowing
}

TEST(MainWindowPlacement, CentredAndThirtyTwoPixelsAboveTheMiddle) {
    EXPECT_EQ(WindowOrigin(1920, 1080), QPoint(529, 161));
    EXPECT_EQ(WindowOrigin(1280, 1024), QPoint(209, 133));
    EXPECT_EQ(WindowOrigin(863, 695), QPoint(1, -32));  // halves round away from zero
    EXPECT_EQ(WindowOrigin(800, 600), QPoint(-31, -79));  // narrow screens are not corrected
}

TEST(MainWindowPlacement, TooBigAWindowShrinksToTheLargestFitWithItsAspectRatio) {
    EXPECT_EQ(FittingClientSize({1920, 1050}, {10, 50}), QSize(862, 694));  // never grows
    EXPECT_EQ(FittingClientSize({1366, 736}, {2, 44}), QSize(859, 692));    // a laptop with a panel
    EXPECT_EQ(FittingClientSize({640, 512}, {1, 32}), QSize(596, 480));     // 1280 x 1024 at scale 2
    EXPECT_EQ(FittingClientSize({700, 2000}, {0, 0}), QSize(700, 563));     // limited by the width
}

TEST(MainWindowIcon, CarriesTheDrawnIconAtEveryMenuSize) {
    Game game;
    MainWindow window(game);
    EXPECT_EQ(window.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}}));
}

TEST(WorkingDirectory, StaysWhereThePuzzlesAreOtherwiseSeedsTheUserFolder) {
    const QString before = QDir::currentPath();
    QTemporaryDir withPuzzles;
    QFile::copy(QStringLiteral(TESSARO_SOURCE_DATA_DIR) + "/leicht.brd", withPuzzles.path() + "/leicht.brd");
    QDir::setCurrent(withPuzzles.path());
    EXPECT_EQ(QDir(EnterWorkingDirectory()).canonicalPath(), QDir(withPuzzles.path()).canonicalPath());

    QTemporaryDir home;
    QTemporaryDir empty;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QDir::setCurrent(empty.path());
    const QString chosen = EnterWorkingDirectory();
    EXPECT_TRUE(chosen.startsWith(home.path())) << chosen.toStdString();
    EXPECT_EQ(QDir::currentPath(), chosen);
    for (const QString& name : ShippedFileNames()) EXPECT_TRUE(QFile::exists(chosen + "/" + name)) << name.toStdString();

    // A player's own files there are never overwritten by the shipped ones.
    QFile mine(chosen + "/leicht.brd");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly | QIODevice::Truncate));
    mine.write("x");
    mine.close();
    QDir::setCurrent(empty.path());
    EnterWorkingDirectory();
    EXPECT_EQ(QFileInfo(chosen + "/leicht.brd").size(), 1);

    qunsetenv("XDG_DATA_HOME");
    QDir::setCurrent(before);
}

TEST(WorkingDirectory, WithoutAUsableDataFolderItSaysWhereItCannotWrite) {
    const QString before = QDir::currentPath();
    const QByteArray home = qgetenv("HOME");
    QTemporaryDir empty, fakeHome;
    QDir::setCurrent(empty.path());
    QString problem;

    qputenv("HOME", "");
    EXPECT_EQ(EnterWorkingDirectory(&problem), QDir::currentPath());
    EXPECT_EQ(problem, QStringLiteral("Kein Ordner für die Spieldaten: HOME ist nicht gesetzt.\n"
                                      "Das Spiel läuft im Ordner „%1“.").arg(QDir::currentPath()));

    // A relative XDG_DATA_HOME is not a base folder; the one below HOME is used.
    qputenv("HOME", fakeHome.path().toUtf8());
    qputenv("XDG_DATA_HOME", "relative");
    problem.clear();
    EXPECT_TRUE(EnterWorkingDirectory(&problem).startsWith(fakeHome.path() + "/.local/share/"));
    EXPECT_TRUE(problem.isEmpty());

    QDir::setCurrent(empty.path());
    QFile(empty.filePath("file")).open(QIODevice::WriteOnly);
    qputenv("XDG_DATA_HOME", empty.filePath("file").toUtf8());  // no folder can be made below a file
    EXPECT_EQ(EnterWorkingDirectory(&problem), QDir::currentPath());
    EXPECT_TRUE(problem.startsWith(QStringLiteral("In „%1/").arg(empty.filePath("file")))) << problem.toStdString();

    qunsetenv("XDG_DATA_HOME");
    qputenv("HOME", home);
    QDir::setCurrent(before);
}

// How the xcb and wayland platforms turn a window's title into the one the window manager shows.
// Its header is private to Qt.
}  // namespace
}  // namespace tessaro
class QPlatformWindow {
public:
    static QString formatWindowTitle(const QString& title, const QString& separator);
};
namespace tessaro {
namespace {

TEST(WindowTitle, ThePlatformShowsExactlyTheWindowsOwnTitle) {
    NameApplication();
    for (const QString& title : {kWindowTitle, QStringLiteral("Ruhmeshalle"), QStringLiteral("Sichern unter ...")}) {
        EXPECT_EQ(QPlatformWindow::formatWindowTitle(title, QString::fromUtf8(" \u2014 ")), title);
    }
}

}  // namespace
}  // namespace tessaro
