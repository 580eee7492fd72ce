#include "forms/HallOfFameForms.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include <gtest/gtest.h>

// Readable failures for QString comparisons.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace tessaro {
namespace {

// Runs `act` on the modal widget of type T (and the given object name) once it is up; the caller
// is about to block in exec.
template <class T>
void WhenModal(std::function<void(T*)> act, const char* name = "", int tries = 100) {
    QTimer::singleShot(tries == 100 ? 0 : 10, [act, name, tries] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (w && (!*name || w->objectName() == QLatin1String(name))) {
            act(w);
        } else if (tries > 0) {
            WhenModal<T>(act, name, tries - 1);
        } else {
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className() << ' ' << name;
        }
    });
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

QString Time(int seconds) { return QString::asprintf("00:%02d:%02d.0", seconds / 60, seconds % 60); }

struct FormRig {
    QWidget main;
    QTemporaryDir dir;
    QString path = dir.filePath(QString::fromLatin1(kChampionsFile));
    HallOfFame hof;
    FormRig() {
        main.setGeometry(100, 80, 862, 694);
        main.show();
    }
    template <class T>
    T* Find(QWidget* form, const char* name) {
        T* child = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
};

TEST(ChampionForm, PrefilledFocusedAndAccepted) {
    FormRig rig;
    rig.hof.championName = QStringLiteral("Anna");
    bool checked = false;
    QString told;
    WhenModal<QDialog>([&](QDialog* champ) {
        EXPECT_EQ(champ->objectName(), "champ");
        EXPECT_EQ(champ->pos(), rig.main.pos() + QPoint(177, 234));
        auto* ed1 = rig.Find<QLineEdit>(champ, "ed1");
        EXPECT_EQ(ed1->text(), "Anna");
        EXPECT_TRUE(QTest::qWaitForWindowActive(champ));
        EXPECT_EQ(QApplication::focusWidget(), ed1);
        ASSERT_NE(rig.Find<QLabel>(champ, "lbl2"), nullptr);
        // A name the Windows-1252 file cannot hold is refused with a message naming its characters.
        ed1->setText(QStringLiteral("Łukasz Groß"));
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            told = box->text();
            box->close();
        });
        QTest::mouseClick(rig.Find<QPushButton>(champ, "cmd5"), Qt::LeftButton);
        EXPECT_TRUE(champ->isVisible());
        ed1->clear();
        QTest::keyClicks(ed1, QStringLiteral("Bernd"));
        checked = true;
        QTest::mouseClick(rig.Find<QPushButton>(champ, "cmd5"), Qt::LeftButton);
    });
    AskChampionName(&rig.main, rig.hof);
    EXPECT_TRUE(checked);
    EXPECT_EQ(told, QStringLiteral("Diese Zeichen kann die Ruhmeshalle nicht speichern: Ł\nBitte ändern Sie den Namen."));
    EXPECT_TRUE(rig.hof.confirmed);
    EXPECT_EQ(rig.hof.championName, "Bernd");
}

TEST(ChampionForm, CancelKeepsTheName) {
    FormRig rig;
    rig.hof.championName = QStringLiteral("Anna");
    WhenModal<QDialog>([&](QDialog* champ) {
        rig.Find<QLineEdit>(champ, "ed1")->setText(QStringLiteral("Zoe"));
        QTest::mouseClick(rig.Find<QPushButton>(champ, "cmd6"), Qt::LeftButton);
    });
    AskChampionName(&rig.main, rig.hof);
    EXPECT_FALSE(rig.hof.confirmed);
    EXPECT_EQ(rig.hof.championName, "Anna");
}

TEST(HallOfFameForm, LayoutAndRows) {
    FormRig rig;
    for (int i = 0; i < 10; ++i) InsertChampion(rig.hof, 2, QStringLiteral("S%1").arg(i), "9.3.24", Time(60 + i));
    InsertChampion(rig.hof, 0, QStringLiteral("L"), "1.1.24", Time(30));
    bool checked = false;
    WhenModal<QDialog>([&](QDialog* ruhm) {
        EXPECT_EQ(ruhm->objectName(), "ruhm");
        EXPECT_EQ(ruhm->windowTitle(), "Ruhmeshalle");
        EXPECT_EQ(ruhm->font().family(), "Arial");
        EXPECT_EQ(ruhm->pos(), rig.main.pos() + QPoint(68, 136));
        EXPECT_EQ(ruhm->size(), QSize(464, 357));
        auto* tbs1 = rig.Find<QTabWidget>(ruhm, "tbs1");
        EXPECT_EQ(tbs1->geometry(), QRect(16, 12, 426, 266));
        ASSERT_EQ(tbs1->count(), 4);
        EXPECT_EQ(tbs1->tabText(0), "Leicht");
        EXPECT_EQ(tbs1->tabText(3), "Extrem");
        EXPECT_EQ(tbs1->currentIndex(), 2);
        EXPECT_EQ(tbs1->currentWidget()->objectName(), "liste3");

        auto* liste3 = rig.Find<QTreeWidget>(ruhm, "liste3");
        EXPECT_EQ(liste3->headerItem()->text(0), "#");
        EXPECT_EQ(liste3->headerItem()->text(3), "Zeit");
        EXPECT_EQ(liste3->columnWidth(1), 207);
        ASSERT_EQ(liste3->topLevelItemCount(), 10);
        EXPECT_EQ(liste3->topLevelItem(0)->text(0), " 1.");
        EXPECT_EQ(liste3->topLevelItem(9)->text(0), " 10.");
        EXPECT_EQ(liste3->topLevelItem(0)->text(1), "S0");
        EXPECT_EQ(liste3->topLevelItem(0)->text(2), "9.3.24");
        EXPECT_EQ(liste3->topLevelItem(0)->text(3), "00:01:00.0");
        EXPECT_EQ(rig.Find<QTreeWidget>(ruhm, "liste1")->topLevelItemCount(), 1);
        EXPECT_EQ(rig.Find<QTreeWidget>(ruhm, "liste4")->topLevelItemCount(), 0);
        EXPECT_EQ(rig.Find<QPushButton>(ruhm, "cmd4")->text(), "&Löschen");
        auto* cmd3 = rig.Find<QPushButton>(ruhm, "cmd3");
        EXPECT_EQ(cmd3->text(), "&OK");
        checked = true;
        QTest::mouseClick(cmd3, Qt::LeftButton);
    });
    ShowHallOfFame(&rig.main, rig.hof, 2, rig.path);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(QFile::exists(rig.path));  // looking changes nothing
}

// "&Löschen" on the selected tab: "&NEIN" keeps everything, "&JA" empties that level only,
// saves and shows the form again on the emptied list.
TEST(HallOfFameForm, DeleteAsksAndClearsOnlyTheSelectedLevel) {
    FormRig rig;
    ASSERT_TRUE(UpdateChampions(rig.hof, rig.path, [](HallOfFame& h) {
        InsertChampion(h, 0, QStringLiteral("Leo"), "d", Time(10));
        InsertChampion(h, 1, QStringLiteral("Mia"), "d", Time(20));
        InsertChampion(h, 1, QStringLiteral("Max"), "d", Time(21));
    }));
    const std::string stored = FormatChampions(rig.hof);
    int reopened = 0;
    auto answer = [](const char* button) {
        WhenModal<QMessageBox>([button](QMessageBox* box) {
            EXPECT_EQ(box->text(), "Wirklich löschen?");
            ASSERT_EQ(box->buttons().size(), 2);
            EXPECT_EQ(box->defaultButton()->text(), "&JA");
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == QString::fromLatin1(button)) QTest::mouseClick(b, Qt::LeftButton);
            }
        });
    };
    WhenModal<QDialog>([&](QDialog* ruhm) {
        auto* tbs1 = rig.Find<QTabWidget>(ruhm, "tbs1");
        tbs1->setCurrentIndex(1);
        auto* cmd4 = rig.Find<QPushButton>(ruhm, "cmd4");
        answer("&NEIN");
        QTest::mouseClick(cmd4, Qt::LeftButton);
        EXPECT_TRUE(ruhm->isVisible());
        EXPECT_EQ(rig.Find<QTreeWidget>(ruhm, "liste2")->topLevelItemCount(), 2);
        EXPECT_EQ(ReadFile(rig.path), stored);

        WhenModal<QDialog>([&](QDialog* again) {
            ++reopened;
            EXPECT_EQ(rig.Find<QTabWidget>(again, "tbs1")->currentIndex(), 1);
            EXPECT_EQ(rig.Find<QTreeWidget>(again, "liste2")->topLevelItemCount(), 0);
            EXPECT_EQ(rig.Find<QTreeWidget>(again, "liste1")->topLevelItemCount(), 1);
            QTest::mouseClick(rig.Find<QPushButton>(again, "cmd3"), Qt::LeftButton);
        }, "ruhm");
        answer("&JA");
        QTest::mouseClick(cmd4, Qt::LeftButton);
    });
    ShowHallOfFame(&rig.main, rig.hof, 0, rig.path);
    EXPECT_EQ(reopened, 1);
    EXPECT_FALSE(rig.hof.Filled(1, 1));
    EXPECT_EQ(rig.hof.names[1][0], "Leo");

    HallOfFame saved;
    ASSERT_TRUE(QFile::exists(rig.path));
    LoadChampions(saved, rig.path);
    EXPECT_FALSE(saved.Filled(1, 1));
    EXPECT_EQ(saved.names[1][0], "Leo");
}

TEST(HallOfFameForm, DeleteInAnUnreadableFileIsToldAndChangesNothing) {
    FormRig rig;
    ASSERT_TRUE(QDir().mkdir(rig.path));  // a folder in place of the file
    QString told;
    WhenModal<QDialog>([&](QDialog* ruhm) {
        WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });  // "Wirklich löschen?"
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            told = box->windowTitle() + u'|' + box->text();
            WhenModal<QDialog>([](QDialog* again) { again->accept(); }, "ruhm");
            box->accept();
        });
        QTest::mouseClick(rig.Find<QPushButton>(ruhm, "cmd4"), Qt::LeftButton);
    });
    ShowHallOfFame(&rig.main, rig.hof, 0, rig.path);
    EXPECT_EQ(told, QStringLiteral("Tessaro|Die Ruhmeshalle „%1“ kann nicht gelesen werden: keine gewöhnliche Datei.\n"
                                   "Neue Einträge werden nicht gespeichert.").arg(rig.path));
    EXPECT_TRUE(QFileInfo(rig.path).isDir());
}

// The clock's solve path through both real forms.
TEST(HallOfFameForm, TimedSolveEntersTheChampion) {
    FormRig rig;
    std::atomic<bool> running{false};
    const auto base = GameClock::Clock::now();
    std::atomic<int> ms{0};
    GameClock clock(running, [base, &ms] { return base + std::chrono::milliseconds(ms.load()); });
    int difficulty = 3;
    clock.enterChampion = MakeChampionEntry(&rig.main, rig.hof, difficulty, rig.path);
    QString labelInForm;
    clock.label = [&](const QString& text) { labelInForm = text; };

    WhenModal<QDialog>([&](QDialog* champ) {
        EXPECT_EQ(champ->objectName(), "champ");
        EXPECT_EQ(labelInForm, "00:01:35.3");
        rig.Find<QLineEdit>(champ, "ed1")->setText(QStringLiteral("Ida"));
        WhenModal<QDialog>([&](QDialog* ruhm) {
            EXPECT_EQ(ruhm->objectName(), "ruhm");
            EXPECT_EQ(rig.Find<QTabWidget>(ruhm, "tbs1")->currentIndex(), 3);
            auto* liste4 = rig.Find<QTreeWidget>(ruhm, "liste4");
            EXPECT_EQ(liste4->topLevelItemCount(), 1);
            ruhm->close();
        }, "ruhm");
        QTest::mouseClick(rig.Find<QPushButton>(champ, "cmd5"), Qt::LeftButton);
    });
    // Start at the fake clock's base, then solve 95.3 s later.
    clock.StartClock();
    ms = 95'300;
    clock.boardSolved = true;
    clock.RefreshClock();
    EXPECT_EQ(labelInForm, " 99:99:99");
    HallOfFame saved;
    LoadChampions(saved, rig.path);
    EXPECT_EQ(saved.names[1][3], "Ida");
    EXPECT_EQ(saved.times[1][3], "00:01:35.3");
}

}  // namespace
}  // namespace tessaro
