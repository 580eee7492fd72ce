#pragma once

#include "halloffame/GameClock.h"
#include "halloffame/HallOfFame.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace tessaro {

// Twips to pixels at 96 dpi.
constexpr int Twips(int twips) { return (twips + 7) / 15; }

// Form `champ`: asks the name for a new place in the hall of fame.
class ChampionDialog : public QDialog {
    Q_OBJECT
public:
    ChampionDialog(QWidget* parent, const QString& lastName);
    QString Name() const;

    QLabel* lbl2;
    QLineEdit* ed1;
    QPushButton* cmd5;  // accept
    QPushButton* cmd6;  // cancel

private:
    // Accepts a name the file can hold; otherwise says which characters it cannot.
    void cmd5_Click();
};

// Form `ruhm`: the four levels' lists on a tab strip.
class HallOfFameDialog : public QDialog {
    Q_OBJECT
public:
    HallOfFameDialog(QWidget* parent, HallOfFame& hof, int level);
    // The level that "&Löschen" emptied, or -1.
    int ClearedLevel() const { return clearedLevel_; }

    QTabWidget* tbs1;
    QTreeWidget* liste[kLevels];  // liste1..liste4
    QPushButton* cmd3;            // "&OK"
    QPushButton* cmd4;            // "&Löschen"

private:
    void cmd4_Click();
    void FillList(int level);

    HallOfFame& hof_;
    int clearedLevel_ = -1;
};

// Runs `champ` modally at +177, +234 from the main window; on accept sets championName and confirmed.
void AskChampionName(QWidget* parent, HallOfFame& hof);
// Runs `ruhm` modally at +68, +136 with the tab of `level` selected; after "&Löschen" empties the
// level in `path` (telling the player when that fails) and shows the form again.
void ShowHallOfFame(QWidget* parent, HallOfFame& hof, int level, const QString& path);

// "The hall of fame cannot be read (reason); new entries are not stored."
QString ChampionsUnreadableText(const QString& path, const QString& reason);
// Tells the player that the hall of fame file could not be read or written.
void ReportChampionsFailure(QWidget* parent, const QString& path, const FileResult& failure);

// Both forms and the failure report over `parent`, for EnterChampion.
ChampionForms MakeChampionForms(QWidget* parent, HallOfFame& hof, int level, const QString& path);
// The clock's hall-of-fame entry: reads the level at solve time from `difficulty`.
GameClock::ChampionEntry MakeChampionEntry(QWidget* parent, HallOfFame& hof, const int& difficulty,
                                           const QString& path);

}  // namespace tessaro
