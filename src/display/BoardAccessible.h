#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>

#include "display/DisplayState.h"
#include "engine/Board.h"

class QAccessibleEvent;
class QAccessibleInterface;

namespace tessaro {

class ClientArea;

enum class AccessiblePanel { Statistics, Status, Difficulty, Help, Clock };

// What assistive technology sees of the client area: the board as a table of 81 cells named in
// German with place and content, and the side panels as texts labelled by their headings. It reads
// the game's state only when asked, so without a screen reader it costs nothing and changes nothing
// on screen. Created as a child of the client area, it answers for that area from then on.
class BoardAccessibility : public QObject {
    Q_OBJECT
public:
    BoardAccessibility(ClientArea& area, const BoardModel& model, const Settings& settings,
                       const DisplayState& display, std::function<QString()> clockText);
    ~BoardAccessibility() override;

    // The one of a client area, or nullptr.
    static BoardAccessibility* Of(const QObject* area);

    // For example "Zeile 3, Spalte 5, Diagonale: 7, vorgegeben" or "Zeile 1, Spalte 2: leer, Notizen 2 4 7".
    QString CellName(int x, int y) const;
    static QString PanelHeading(AccessiblePanel panel);
    QString PanelText(AccessiblePanel panel) const;

    // The cell that has the accessible focus (the keyboard cursor); (0, 0) for none.
    void SetFocusCell(int x, int y);
    int FocusX() const { return focusX_; }
    int FocusY() const { return focusY_; }

    // Tell assistive technology that a cell or a panel now reads differently (a panel only when its
    // text is not the one told last).
    void CellChanged(int x, int y);
    void PanelChanged(AccessiblePanel panel);
    // A text a screen reader should read out at once (an alert for the object showing it).
    void Announce(QObject* shownBy);

    // Where the events go: Qt's accessibility, which passes them to a screen reader when one
    // listens, unless replaced (tests, where no platform accessibility exists).
    void SetEventSink(std::function<void(QAccessibleEvent*)> sink) { sink_ = std::move(sink); }

    ClientArea& area() const { return area_; }
    QAccessibleInterface* Table() const { return table_; }
    QAccessibleInterface* Cell(int x, int y) const { return cells_[static_cast<std::size_t>(9 * (y - 1) + x - 1)]; }
    QAccessibleInterface* Panel(AccessiblePanel panel) const { return panels_[static_cast<std::size_t>(panel)]; }
    // The board's cell (x, y) in screen coordinates.
    QRect CellRect(int x, int y) const;

private:
    void Send(QAccessibleEvent& event);
    // The highlighted symbol with its count and free places, for the statistics panel's text.
    QString HighlightText() const;

    ClientArea& area_;
    const BoardModel& model_;
    const Settings& settings_;
    const DisplayState& display_;
    std::function<QString()> clockText_;
    std::function<void(QAccessibleEvent*)> sink_;
    int focusX_ = 0;
    int focusY_ = 0;
    QAccessibleInterface* table_ = nullptr;
    std::array<QAccessibleInterface*, 81> cells_{};
    std::array<QAccessibleInterface*, 5> panels_{};
    std::array<QString, 5> toldPanelTexts_;
};

}  // namespace tessaro
