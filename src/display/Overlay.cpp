#include "display/Overlay.h"

#include <QFont>
#include <QPainter>
#include <QRegion>

#include <set>
#include <tuple>

#include "display/Canvas.h"
#include "display/Geometry.h"

namespace tessaro {
namespace {

void FillFrame(QPainter& painter, const QRect& outer, int width, const QColor& ink) {
    painter.fillRect(outer.left(), outer.top(), outer.width(), width, ink);
    painter.fillRect(outer.left(), outer.bottom() - width + 1, outer.width(), width, ink);
    painter.fillRect(outer.left(), outer.top(), width, outer.height(), ink);
    painter.fillRect(outer.right() - width + 1, outer.top(), width, outer.height(), ink);
}

void PaintMarks(QPainter& painter, const Overlay::Marks& marks) {
    // Translucent tints would darken where two houses meet.
    std::set<std::tuple<int, int, QRgb>> tinted;
    for (const Overlay::CellTint& tint : marks.tints) {
        if (tinted.insert({tint.column, tint.row, tint.colour.rgba()}).second) {
            painter.fillRect(CellInside(tint.column, tint.row), tint.colour);
        }
    }
    // Inside the diagonals' outline, clear of the cell's edge lines.
    for (const Overlay::CellFrame& frame : marks.frames) {
        FillFrame(painter, CellInside(frame.column, frame.row).adjusted(2, 2, -2, -2), 3, frame.colour);
    }
    if (marks.squares.empty()) return;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    for (const Overlay::CandidateSquare& square : marks.squares) {
        const QRect place(CellLeft(square.column) + 6 + 16 * ((square.digit - 1) % 3),
                          CellTop(square.row) + 6 + 16 * ((square.digit - 1) / 3), 15, 15);
        painter.fillRect(place, square.colour);
        painter.setPen(Qt::white);
        painter.drawText(place, Qt::AlignCenter, square.symbol);
    }
}

}  // namespace

QRect CellInside(int column, int row) {
    return {CellLeft(column) + 1, CellTop(row) + 1, column % 3 == 0 ? 57 : 58, row % 3 == 0 ? 57 : 58};
}

void PaintOverlay(QPainter& painter, const Overlay& overlay) {
    if (overlay.Empty()) return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!overlay.picker.isEmpty()) {
        painter.setClipRegion(QRegion(0, 0, kClientWidth, kClientHeight).subtracted(QRegion(overlay.picker)),
                              Qt::IntersectClip);
    }
    PaintMarks(painter, overlay.highlight);
    PaintMarks(painter, overlay.hint);
    if (overlay.cursorColumn != 0) {
        // Blue and three pixels wide, so it never reads as a red two-pixel diagonal outline; two
        // pixels clear of the cell's edge lines, outside the symbol's ink.
        const QRect outer(CellLeft(overlay.cursorColumn) + 2, CellTop(overlay.cursorRow) + 2, 55, 55);
        FillFrame(painter, outer, 3, PaletteColour(kColourBlue));
    }
    if (overlay.paused) {
        for (int row = 1; row <= 9; ++row)
            for (int column = 1; column <= 9; ++column)
                painter.fillRect(CellInside(column, row), PaletteColour(kColourDarkGrey));
    }
    painter.restore();
}

}  // namespace tessaro
