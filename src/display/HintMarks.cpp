#include "display/HintMarks.h"

#include "display/Canvas.h"
#include "engine/Board.h"
#include "logic/Houses.h"

namespace tessaro {
namespace {

int ColumnOf(int cell) { return logic::ColumnOf(cell) + 1; }
int RowOf(int cell) { return logic::RowOf(cell) + 1; }

void Frame(Overlay::Marks& marks, int column, int row, int colour) {
    marks.frames.push_back({column, row, PaletteColour(colour)});
}

void Tint(Overlay::Marks& marks, const std::vector<int>& cells) {
    for (int cell : cells) marks.tints.push_back({ColumnOf(cell), RowOf(cell), kHintHouseTint});
}

void Squares(Overlay::Marks& marks, const std::vector<logic::Candidate>& candidates, const QColor& colour, bool showDigits) {
    for (const logic::Candidate& c : candidates) {
        marks.squares.push_back({ColumnOf(c.cell), RowOf(c.cell), c.digit,
                                 QString::fromStdString(SymbolText(c.digit, showDigits)), colour});
    }
}

}  // namespace

Overlay::Marks AdviceMarks(const logic::Advice& advice, bool showDigits) {
    using Kind = logic::Advice::Kind;
    Overlay::Marks marks;
    const logic::Step& step = advice.step;
    switch (advice.kind) {
    case Kind::WrongEntry:
        Frame(marks, ColumnOf(step.cells.front()), RowOf(step.cells.front()), kColourDarkRed);
        break;
    case Kind::Pointer:
        Tint(marks, logic::PointerCells(step));
        break;
    case Kind::Step:
        for (int house : step.houses) Tint(marks, {logic::kHouses.cells[house].begin(), logic::kHouses.cells[house].end()});
        for (int cell : step.cells) Frame(marks, ColumnOf(cell), RowOf(cell), kColourDarkGreen);
        Squares(marks, step.pattern, kHintPatternInk, showDigits);
        Squares(marks, step.placements, kHintPatternInk, showDigits);
        Squares(marks, step.eliminations, kHintEliminatedInk, showDigits);
        Squares(marks, step.supportingEliminations, kHintEliminatedInk, showDigits);
        break;
    default:
        break;
    }
    return marks;
}

Overlay::Marks ConflictMarks(const ConflictSet& conflicts) {
    Overlay::Marks marks;
    for (const Conflict& conflict : conflicts.conflicts) {
        for (const CellRef& cell : CellsOf(conflict.unit)) marks.tints.push_back({cell.x, cell.y, kHintHouseTint});
    }
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x)
            if (conflicts.Marked(x, y)) Frame(marks, x, y, kColourDarkRed);
    return marks;
}

}  // namespace tessaro
