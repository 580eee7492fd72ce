#include "display/BoardAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <algorithm>

#include "display/ClientArea.h"
#include "engine/Houses.h"
#include "engine/SymbolPlaces.h"

namespace tessaro {
namespace {

constexpr int kPanelCount = 5;

struct PanelPlace {
    const char* heading;
    QRect rect;
};
// The panels' frames in client coordinates.
const std::array<PanelPlace, kPanelCount> kPanels{{
    {"Statistik", QRect(603, 200, 234, 78)},
    {"Statusmeldung", QRect(603, 292, 234, 78)},
    {"Schwierigkeitsgrad", QRect(603, 384, 234, 78)},
    {"Hilfefenster", QRect(603, 476, 234, 72)},
    {"Zeitmessung", QRect(623, 562, 192, 72)},
}};

QWindow* WindowOf(const ClientArea& area) { return area.window() ? area.window()->windowHandle() : nullptr; }

QString Trimmed(const std::string& text) { return QString::fromStdString(text).trimmed(); }

// The parts of the board that are no QObject: their owner registers and deletes them.
class Part : public QAccessibleInterface {
public:
    explicit Part(BoardAccessibility& owner) : owner_(owner) {}
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return WindowOf(owner_.area()); }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    BoardAccessibility& owner_;
};

class CellPart final : public Part, public QAccessibleTableCellInterface {
public:
    CellPart(BoardAccessibility& owner, int x, int y) : Part(owner), x_(x), y_(y) {}

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return owner_.Table(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? owner_.CellName(x_, y_) : QString();
    }
    QRect rect() const override { return owner_.CellRect(x_, y_); }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.focused = owner_.FocusX() == x_ && owner_.FocusY() == y_;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return x_ - 1; }
    int rowIndex() const override { return y_ - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return owner_.Table(); }

private:
    int x_;
    int y_;
};

class TablePart final : public Part, public QAccessibleTableInterface {
public:
    using Part::Part;

    QAccessibleInterface* childAt(int x, int y) const override {
        for (int row = 1; row <= 9; ++row)
            for (int column = 1; column <= 9; ++column)
                if (owner_.CellRect(column, row).contains(x, y)) return owner_.Cell(column, row);
        return nullptr;
    }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&owner_.area()); }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < 81 ? owner_.Cell(index % 9 + 1, index / 9 + 1) : nullptr;
    }
    int childCount() const override { return 81; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < 81; ++i)
            if (owner_.Cell(i % 9 + 1, i / 9 + 1) == child) return i;
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        return owner_.FocusX() > 0 ? owner_.Cell(owner_.FocusX(), owner_.FocusY()) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QStringLiteral("Spielbrett") : QString();
    }
    QRect rect() const override { return owner_.CellRect(1, 1).united(owner_.CellRect(9, 9)); }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override { return {}; }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return row >= 0 && row < 9 && column >= 0 && column < 9 ? owner_.Cell(column + 1, row + 1) : nullptr;
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override { return QStringLiteral("Spalte %1").arg(column + 1); }
    QString rowDescription(int row) const override { return QStringLiteral("Zeile %1").arg(row + 1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return 9; }
    int rowCount() const override { return 9; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}
};

// A side panel: its heading is the name, what it shows the value (and the description, which
// screen readers speak with the name).
class PanelPart final : public Part {
public:
    PanelPart(BoardAccessibility& owner, AccessiblePanel panel) : Part(owner), panel_(panel) {}

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&owner_.area()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: return BoardAccessibility::PanelHeading(panel_);
        case QAccessible::Value:
        case QAccessible::Description: return owner_.PanelText(panel_);
        default: return {};
        }
    }
    QRect rect() const override {
        const QRect local = kPanels[static_cast<std::size_t>(panel_)].rect;
        const QRect shown = owner_.area().ToWidget(local);
        return QRect(owner_.area().mapToGlobal(shown.topLeft()), shown.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }

private:
    AccessiblePanel panel_;
};

// The client area: the board first, then the panels, then its real child widgets (the clock label).
class AreaAccessible final : public QAccessibleWidget {
public:
    AreaAccessible(ClientArea* area, BoardAccessibility* board)
        : QAccessibleWidget(area, QAccessible::Client), board_(board) {}

    int childCount() const override { return Own() + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0) return nullptr;
        if (index < Own()) return index == 0 ? board_->Table() : board_->Panel(static_cast<AccessiblePanel>(index - 1));
        return QAccessibleWidget::child(index - Own());
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < Own(); ++i)
            if (this->child(i) == child) return i;
        const int index = QAccessibleWidget::indexOfChild(child);
        return index < 0 ? index : index + Own();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < Own(); ++i)
            if (child(i)->rect().contains(x, y)) return child(i);
        return QAccessibleWidget::childAt(x, y);
    }
    QAccessibleInterface* focusChild() const override {
        if (board_ && board_->FocusX() > 0) return board_->Cell(board_->FocusX(), board_->FocusY());
        return QAccessibleWidget::focusChild();
    }
    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? QStringLiteral("Spielfläche") : text;
    }

private:
    int Own() const { return board_ ? 1 + kPanelCount : 0; }
    QPointer<BoardAccessibility> board_;
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* area = qobject_cast<ClientArea*>(object);
    BoardAccessibility* board = BoardAccessibility::Of(area);
    return board ? new AreaAccessible(area, board) : nullptr;
}

}  // namespace

BoardAccessibility::BoardAccessibility(ClientArea& area, const BoardModel& model, const Settings& settings,
                                       const DisplayState& display, std::function<QString()> clockText)
    : QObject(&area),
      area_(area),
      model_(model),
      settings_(settings),
      display_(display),
      clockText_(std::move(clockText)) {
    table_ = new TablePart(*this);
    QAccessible::registerAccessibleInterface(table_);
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            QAccessibleInterface*& cell = cells_[static_cast<std::size_t>(9 * (y - 1) + x - 1)];
            cell = new CellPart(*this, x, y);
            QAccessible::registerAccessibleInterface(cell);
        }
    }
    for (int i = 0; i < kPanelCount; ++i) {
        panels_[static_cast<std::size_t>(i)] = new PanelPart(*this, static_cast<AccessiblePanel>(i));
        QAccessible::registerAccessibleInterface(panels_[static_cast<std::size_t>(i)]);
    }
    // Installing the same factory again is a no-op.
    QAccessible::installFactory(&Factory);
}

BoardAccessibility::~BoardAccessibility() {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(table_));
    for (QAccessibleInterface* cell : cells_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cell));
    for (QAccessibleInterface* panel : panels_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(panel));
}

BoardAccessibility* BoardAccessibility::Of(const QObject* area) {
    return area ? area->findChild<BoardAccessibility*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QString BoardAccessibility::CellName(int x, int y) const {
    QString name = QStringLiteral("Zeile %1, Spalte %2").arg(y).arg(x);
    const std::array<int, 5>& houses = geometry::kHouseCells.housesOf[geometry::CellOf(x, y)];
    const bool main = std::ranges::find(houses, geometry::kMainDiagonal) != houses.end();
    const bool anti = std::ranges::find(houses, geometry::kAntiDiagonal) != houses.end();
    if (main && anti) {
        name += QStringLiteral(", beide Diagonalen");
    } else if (main || anti) {
        name += QStringLiteral(", Diagonale");
    }
    const int value = model_.cell(x, y);
    if (value != 0) {
        name += QStringLiteral(": ") + QString::fromStdString(SymbolText(value, settings_.showDigits));
        if (model_.given(x, y) != 0) name += QStringLiteral(", vorgegeben");
        return name;
    }
    name += QStringLiteral(": leer");
    QString marks;
    for (int d = 1; d <= 9; ++d) {
        if (model_.mark(x, y, d)) marks += QLatin1Char(' ') + QString::fromStdString(SymbolText(d, settings_.showDigits));
    }
    if (!marks.isEmpty()) name += (settings_.showCandidates ? QStringLiteral(", Kandidaten") : QStringLiteral(", Notizen")) + marks;
    return name;
}

QString BoardAccessibility::PanelHeading(AccessiblePanel panel) {
    return QString::fromUtf8(kPanels[static_cast<std::size_t>(panel)].heading);
}

QString BoardAccessibility::HighlightText() const {
    const int symbol = display_.highlightedSymbol;
    if (symbol == 0) return {};
    const SymbolPlaces places = PlacesOf(model_, symbol);
    QStringList open;
    for (int at : places.open) open << QStringLiteral("Z%1S%2").arg(at / 10).arg(at % 10);
    return QStringLiteral("; hervorgehoben: %1, %2-mal gesetzt, frei: %3")
        .arg(QString::fromStdString(SymbolText(symbol, settings_.showDigits)))
        .arg(places.holding.size())
        .arg(open.isEmpty() ? QStringLiteral("keine Felder") : open.join(QLatin1Char(' ')));
}

QString BoardAccessibility::PanelText(AccessiblePanel panel) const {
    switch (panel) {
    case AccessiblePanel::Statistics: {
        QStringList counts;
        for (int k = 1; k <= 9; ++k) {
            counts << QString::fromStdString(SymbolText(k, settings_.showDigits)) + QStringLiteral(": ") +
                          QString::number(model_.digitCount[static_cast<std::size_t>(k)]);
        }
        return counts.join(QStringLiteral(", ")) + HighlightText();
    }
    case AccessiblePanel::Status: return Trimmed(std::string(StatusText(settings_.status)));
    case AccessiblePanel::Difficulty: {
        const int level = ShownLevel(display_, settings_, model_.givens);
        return Trimmed(std::string(kDifficultyNames[static_cast<std::size_t>(level)])) +
               QStringLiteral(", Vorgegebene Zahlen: ") + QString::number(display_.givensCount);
    }
    case AccessiblePanel::Help: return display_.helpText.trimmed();
    case AccessiblePanel::Clock: return clockText_ ? clockText_().trimmed() : QString();
    }
    return {};
}

QRect BoardAccessibility::CellRect(int x, int y) const {
    const QPoint corner(display_.boardLeft + display_.cellWidth * (x - 1), display_.boardTop + display_.cellHeight * (y - 1));
    const QRect shown = area_.ToWidget(QRect(corner, QSize(display_.cellWidth, display_.cellHeight)));
    return QRect(area_.mapToGlobal(shown.topLeft()), shown.size());
}

void BoardAccessibility::Send(QAccessibleEvent& event) {
    if (sink_) {
        sink_(&event);
    } else {
        QAccessible::updateAccessibility(&event);
    }
}

void BoardAccessibility::SetFocusCell(int x, int y) {
    const bool inside = x >= 1 && x <= 9 && y >= 1 && y <= 9;
    focusX_ = inside ? x : 0;
    focusY_ = inside ? y : 0;
    if (!inside) return;
    QAccessibleEvent event(Cell(x, y), QAccessible::Focus);
    Send(event);
}

void BoardAccessibility::CellChanged(int x, int y) {
    if (x < 1 || x > 9 || y < 1 || y > 9) return;
    QAccessibleEvent event(Cell(x, y), QAccessible::NameChanged);
    Send(event);
}

void BoardAccessibility::Announce(QObject* shownBy) {
    QAccessibleEvent event(shownBy, QAccessible::Alert);
    Send(event);
}

void BoardAccessibility::PanelChanged(AccessiblePanel panel) {
    // The panels are painted again after every entry; a screen reader hears only real changes.
    const QString text = PanelText(panel);
    QString& told = toldPanelTexts_[static_cast<std::size_t>(panel)];
    if (text == told) return;
    told = text;
    QAccessibleValueChangeEvent value(Panel(panel), text);
    Send(value);
    QAccessibleEvent description(Panel(panel), QAccessible::DescriptionChanged);
    Send(description);
}

}  // namespace tessaro
