#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

namespace tessaro {

// What the aids draw over the board: never part of the client image, so taking it away is
// clearing a field and repainting. The client area paints it over the image at the shown scale,
// in client-area coordinates; an empty overlay paints nothing.
struct Overlay {
    // A translucent fill of the part of a cell its own fill covers.
    struct CellTint {
        int column = 0;
        int row = 0;
        QColor colour;
    };
    // A frame three pixels wide inside a cell.
    struct CellFrame {
        int column = 0;
        int row = 0;
        QColor colour;
    };
    // A candidate as a coloured square with its symbol in white, on a 3 x 3 grid inside the frame.
    struct CandidateSquare {
        int column = 0;
        int row = 0;
        int digit = 0;
        QString symbol;
        QColor colour;
    };
    // The marks of one aid. A cell tinted twice in one colour is tinted once.
    struct Marks {
        std::vector<CellTint> tints;
        std::vector<CellFrame> frames;
        std::vector<CandidateSquare> squares;
        bool Empty() const { return tints.empty() && frames.empty() && squares.empty(); }
        void Clear() { *this = Marks{}; }
    };

    // Painted bottom to top: a highlighted symbol's marks (kept up to date by their owner through
    // every change), then the hint's (T, F, W; they describe the board as it was, so any change of
    // the board ends them), the keyboard cursor, and the pause cover over every cell.
    Marks highlight;
    Marks hint;
    int cursorColumn = 0;  // 0: no cursor
    int cursorRow = 0;
    bool paused = false;
    // The open symbol picker's area: the picker stays on top, nothing here is painted over it.
    QRect picker;

    bool Empty() const { return highlight.Empty() && hint.Empty() && cursorColumn == 0 && !paused; }
};

// The part of cell (column, row) that its own fill covers (the thick box line takes a pixel of the
// last cell of each box).
QRect CellInside(int column, int row);

// Paints the overlay with the painter's current transform (client-area coordinates).
void PaintOverlay(QPainter& painter, const Overlay& overlay);

}  // namespace tessaro
