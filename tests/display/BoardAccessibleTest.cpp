#include <QAccessible>

#include "DisplayFixture.h"
#include "display/BoardAccessible.h"
#include "engine/Conflicts.h"
#include "support/QStringPrint.h"

namespace tessaro::testing {
namespace {

struct BoardAccessibleTest : DisplayFixture {
    QString clock = QStringLiteral(" 00:01:02");
    BoardAccessibility access{area, model, settings, state, [this] { return clock; }};
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&area);
};

TEST_F(BoardAccessibleTest, TreeOfCellsAndPanels) {
    model.given(3, 3) = model.cell(3, 3) = 7;
    model.cell(5, 5) = 4;
    model.cell(4, 6) = 1;
    for (int d : {2, 4, 7}) model.mark(2, 1, d) = true;
    display.DrawStartScreen();
    display.RedrawBoard();
    const QImage before = Image();

    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->role(), QAccessible::Client);
    ASSERT_GE(root->childCount(), 6);
    QAccessibleInterface* table = root->child(0);
    ASSERT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->parent(), root);
    EXPECT_EQ(root->indexOfChild(table), 0);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->childCount(), 81);
    for (int i = 0; i < 81; ++i) {
        QAccessibleInterface* cell = table->child(i);
        ASSERT_EQ(cell->parent(), table);
        EXPECT_EQ(table->indexOfChild(cell), i);
        EXPECT_EQ(table->tableInterface()->cellAt(i / 9, i % 9), cell);
        EXPECT_EQ(cell->tableCellInterface()->rowIndex() * 9 + cell->tableCellInterface()->columnIndex(), i);
        EXPECT_EQ(table->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
    }
    EXPECT_EQ(table->tableInterface()->cellAt(0, 0)->rect(), QRect(area.mapToGlobal(QPoint(29, 45)), QSize(60, 60)));

    auto name = [&](int x, int y) { return table->tableInterface()->cellAt(y - 1, x - 1)->text(QAccessible::Name); };
    EXPECT_EQ(name(3, 3), "Zeile 3, Spalte 3, Diagonale: 7, vorgegeben");
    EXPECT_EQ(name(2, 1), "Zeile 1, Spalte 2: leer, Notizen 2 4 7");
    EXPECT_EQ(name(5, 5), "Zeile 5, Spalte 5, beide Diagonalen: 4");
    EXPECT_EQ(name(4, 6), "Zeile 6, Spalte 4, Diagonale: 1");
    EXPECT_EQ(name(9, 8), "Zeile 8, Spalte 9: leer");
    settings.showDigits = false;
    settings.showCandidates = true;
    EXPECT_EQ(name(3, 3), "Zeile 3, Spalte 3, Diagonale: G, vorgegeben");
    EXPECT_EQ(name(2, 1), "Zeile 1, Spalte 2: leer, Kandidaten B D G");

    const std::vector<std::pair<QString, QString>> panels{
        {"Statistik", "A: 1, B: 0, C: 0, D: 1, E: 0, F: 0, G: 1, H: 0, I: 0"},
        {"Statusmeldung", "Keine Fehler!"},
        {"Schwierigkeitsgrad", "Leicht, Vorgegebene Zahlen: 1"},
        {"Hilfefenster", "Bitte Menupunkt auswählen!"},
        {"Zeitmessung", "00:01:02"},
    };
    for (int i = 0; i < 5; ++i) {
        QAccessibleInterface* panel = root->child(i + 1);
        EXPECT_EQ(panel->role(), QAccessible::StaticText);
        EXPECT_EQ(panel->parent(), root);
        EXPECT_EQ(panel->text(QAccessible::Name), panels[i].first);
        EXPECT_EQ(panel->text(QAccessible::Value), panels[i].second);
    }
    EXPECT_EQ(root->childAt(700, 340), root->child(2)) << "the status panel";
    EXPECT_EQ(Image(), before) << "walking the tree draws nothing";
}

TEST_F(BoardAccessibleTest, FocusCellAndAnnouncements) {
    std::vector<std::pair<QAccessible::Event, QAccessibleInterface*>> events;
    access.SetEventSink([&](QAccessibleEvent* event) {
        events.emplace_back(event->type(), event->accessibleInterface());
        if (event->type() == QAccessible::ValueChanged) {
            EXPECT_EQ(static_cast<QAccessibleValueChangeEvent*>(event)->value().toString(), "Falsche Zahl!");
        }
    });
    access.SetFocusCell(4, 2);
    access.CellChanged(4, 2);
    settings.status = Status::Wrong;
    access.PanelChanged(AccessiblePanel::Status);
    QAccessibleInterface* cell = access.Cell(4, 2);
    EXPECT_EQ(root->focusChild(), cell);
    EXPECT_TRUE(cell->state().focused);
    EXPECT_FALSE(access.Cell(2, 4)->state().focused);
    const std::vector<std::pair<QAccessible::Event, QAccessibleInterface*>> expected{
        {QAccessible::Focus, cell},
        {QAccessible::NameChanged, cell},
        {QAccessible::ValueChanged, root->child(2)},
        {QAccessible::DescriptionChanged, root->child(2)},
    };
    EXPECT_EQ(events, expected);
    access.SetFocusCell(0, 0);
    EXPECT_NE(root->focusChild(), cell);
}

// Every conflict line, in its widest form, fits between the help text's start and the panel's inner edge.
TEST_F(DisplayFixture, ConflictTextsFitTheHelpPanel) {
    for (bool large : {false, true}) {
        area.canvas().SimulateLargeStockFonts(large);
        area.canvas().SelectFont(8);
        for (bool digits : {true, false}) {
            for (const Unit& unit : AllUnits()) {
                ConflictSet conflicts;
                conflicts.conflicts.push_back({unit, 9, {}});
                const QString text = QString::fromStdString(ConflictText(conflicts, digits));
                EXPECT_LE(616 + area.canvas().TextWidth(text), 829) << text.toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace tessaro::testing
