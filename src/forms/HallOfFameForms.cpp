#include "forms/HallOfFameForms.h"

#include "forms/Placement.h"
#include "forms/Question.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace tessaro {

namespace {

constexpr const char* kLevelTabs[kLevels] = {"Leicht", "Mittel", "Schwer", "Extrem"};

void PlaceOver(QWidget* dialog, QWidget* parent, QPoint offset) {
    if (parent) PlaceWindow(dialog, parent->window()->pos() + offset);
}

}  // namespace

ChampionDialog::ChampionDialog(QWidget* parent, const QString& lastName) : QDialog(parent) {
    setObjectName(QStringLiteral("champ"));
    setWindowTitle(QStringLiteral("Neuer Rekord"));
    setFont(QFont(QStringLiteral("Arial")));
    setFixedSize(320, 130);
    WidenForTitle(this);

    lbl2 = new QLabel(QStringLiteral("Ihre Zeit kommt in die Ruhmeshalle!\nBitte geben Sie Ihren Namen ein:"), this);
    lbl2->setObjectName(QStringLiteral("lbl2"));
    lbl2->setGeometry(16, 10, 288, 40);

    ed1 = new QLineEdit(lastName, this);
    ed1->setObjectName(QStringLiteral("ed1"));
    ed1->setGeometry(16, 54, 288, 26);
    ed1->setMaxLength(kMaxChampionLine);
    ed1->selectAll();

    cmd5 = new QPushButton(QStringLiteral("&Übernehmen"), this);
    cmd5->setObjectName(QStringLiteral("cmd5"));
    cmd5->setGeometry(56, 92, 100, 28);
    cmd5->setDefault(true);

    cmd6 = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cmd6->setObjectName(QStringLiteral("cmd6"));
    cmd6->setGeometry(164, 92, 100, 28);

    connect(cmd5, &QPushButton::clicked, this, &ChampionDialog::cmd5_Click);
    connect(cmd6, &QPushButton::clicked, this, &QDialog::reject);
    ed1->setFocus();
}

QString ChampionDialog::Name() const { return ed1->text(); }

void ChampionDialog::cmd5_Click() {
    // The hall of fame is written in Windows-1252; a name it cannot hold is never stored otherwise.
    const QString unstorable = UnstorableChampionChars(Name());
    if (unstorable.isEmpty()) {
        accept();
        return;
    }
    ShowMessage(this, QStringLiteral("Diese Zeichen kann die Ruhmeshalle nicht speichern: %1\n"
                                     "Bitte ändern Sie den Namen.")
                          .arg(unstorable));
    ed1->setFocus();
}

HallOfFameDialog::HallOfFameDialog(QWidget* parent, HallOfFame& hof, int level) : QDialog(parent), hof_(hof) {
    setObjectName(QStringLiteral("ruhm"));
    setWindowTitle(QStringLiteral("Ruhmeshalle"));
    setFont(QFont(QStringLiteral("Arial")));
    setFixedSize(Twips(6960), Twips(5355));
    WidenForTitle(this);

    tbs1 = new QTabWidget(this);
    tbs1->setObjectName(QStringLiteral("tbs1"));
    tbs1->setGeometry(Twips(240), Twips(180), Twips(6390), Twips(3990));

    const QFont listFont(QStringLiteral("Arial"), 12);
    for (int l = 0; l < kLevels; ++l) {
        auto* list = new QTreeWidget;
        list->setObjectName(QStringLiteral("liste%1").arg(l + 1));
        list->setFont(listFont);
        list->setRootIsDecorated(false);
        list->setItemsExpandable(false);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setHeaderLabels({QStringLiteral("#"), QStringLiteral("Name"), QStringLiteral("Datum"),
                               QStringLiteral("Zeit")});
        list->header()->setStretchLastSection(false);
        const int widths[] = {415, 3100, 1400, 1345};
        for (int c = 0; c < 4; ++c) list->setColumnWidth(c, Twips(widths[c]));
        liste[l] = list;
        FillList(l);
        tbs1->addTab(list, QString::fromLatin1(kLevelTabs[l]));
    }
    if (level >= 0 && level < kLevels) tbs1->setCurrentIndex(level);

    cmd3 = new QPushButton(QStringLiteral("&OK"), this);
    cmd3->setObjectName(QStringLiteral("cmd3"));
    cmd3->setGeometry(Twips(1365), Twips(4320), Twips(2115), Twips(465));
    cmd3->setDefault(true);

    cmd4 = new QPushButton(QStringLiteral("&Löschen"), this);
    cmd4->setObjectName(QStringLiteral("cmd4"));
    cmd4->setGeometry(Twips(3480), Twips(4320), Twips(2115), Twips(465));

    connect(cmd3, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmd4, &QPushButton::clicked, this, &HallOfFameDialog::cmd4_Click);
}

void HallOfFameDialog::FillList(int level) {
    QTreeWidget* list = liste[level];
    list->clear();
    for (int place = 1; place <= kPlaces; ++place) {
        if (!hof_.Filled(place, level)) continue;
        new QTreeWidgetItem(list, {QStringLiteral(" %1.").arg(place), hof_.names[place][level],
                                   hof_.dates[place][level], hof_.times[place][level]});
    }
}

void HallOfFameDialog::cmd4_Click() {
    if (!AskJaNein(this, windowTitle(), QStringLiteral("Wirklich löschen?"), true)) return;
    clearedLevel_ = tbs1->currentIndex();
    ClearLevel(hof_, clearedLevel_);
    accept();
}

void AskChampionName(QWidget* parent, HallOfFame& hof) {
    ChampionDialog dialog(parent, hof.championName);
    PlaceOver(&dialog, parent, QPoint(177, 234));
    if (dialog.exec() == QDialog::Accepted) {
        hof.championName = ChampionLine(dialog.Name());
        hof.confirmed = true;
    }
}

void ShowHallOfFame(QWidget* parent, HallOfFame& hof, int level, const QString& path) {
    for (;;) {
        HallOfFameDialog dialog(parent, hof, level);
        PlaceOver(&dialog, parent, QPoint(68, 136));
        dialog.exec();
        if (dialog.ClearedLevel() < 0) return;
        // Open again on the emptied level so the player sees the result.
        level = dialog.ClearedLevel();
        const FileResult saved = UpdateChampions(hof, path, [level](HallOfFame& h) { ClearLevel(h, level); });
        if (MustTell(hof, saved)) ReportChampionsFailure(parent, path, saved);
    }
}

void ReportChampionsFailure(QWidget* parent, const QString& path, const FileResult& failure) {
    ShowMessage(parent, failure.unreadable ? ChampionsUnreadableText(path, failure.reason)
                                           : SaveFailedText(path, failure.reason));
}

QString ChampionsUnreadableText(const QString& path, const QString& reason) {
    return QStringLiteral("Die Ruhmeshalle „%1“ kann nicht gelesen werden: %2.\nNeue Einträge werden nicht gespeichert.")
        .arg(path, reason);
}

ChampionForms MakeChampionForms(QWidget* parent, HallOfFame& hof, int level, const QString& path) {
    return {[parent](HallOfFame& h) { AskChampionName(parent, h); },
            [parent, &hof, level, path] { ShowHallOfFame(parent, hof, level, path); },
            [parent, path](const FileResult& failure) { ReportChampionsFailure(parent, path, failure); }};
}

GameClock::ChampionEntry MakeChampionEntry(QWidget* parent, HallOfFame& hof, const int& difficulty,
                                           const QString& path) {
    return [parent, &hof, &difficulty, path](const QString& time) {
        EnterChampion(hof, difficulty, time, path, MakeChampionForms(parent, hof, difficulty, path));
    };
}

}  // namespace tessaro
