#include "display/Display.h"

#include <QApplication>
#include <QPainter>

#include <array>

#include "display/BoardAccessible.h"
#include "display/Canvas.h"
#include "display/ClientArea.h"
#include "display/Primitives.h"
#include "display/SymbolHighlight.h"
#include "engine/Engine.h"

namespace tessaro {

namespace {

// The side panels' inner areas end here (exclusive); value texts wipe up to it.
constexpr int kSidePanelInnerRight = 603 + 234 - 8;

QString Number(int value) { return QStringLiteral(" ") + QString::number(value); }

}  // namespace

Display::Display(ClientArea& area, const BoardModel& model, Settings& settings, Engine& engine, DisplayState& state)
    : area_(area), canvas_(area.canvas()), model_(model), settings_(settings), engine_(engine), state_(state),
      beep_([] { QApplication::beep(); }) {
    engine_.SetObserver(this);
    area_.SetOverlay(&state_.overlay);
}

Display::~Display() {
    engine_.SetObserver(nullptr);
    area_.SetOverlay(nullptr);
}

bool Display::LargeFontMode() const { return canvas_.LargeFontMode(); }

QString Display::Symbol(int value) const { return QString::fromStdString(SymbolText(value, settings_.showDigits)); }

void Display::DrawStartScreen() {
    DrawFooter();
    DrawBoardPanel();
    DrawHelpWindow();
}

void Display::RedrawScreen() {
    redrawingScreen_ = true;
    DrawStartScreen();
    DrawAllCells();
    DrawCandidates();
    redrawingScreen_ = false;
}

void Display::DrawFooter() {
    DrawFrame(canvas_, 0, 2, 0, 652, 862, 674);
    DrawEmbossedText(canvas_, kFontSystem, kColourBlack, 10, 670, QStringLiteral("Tessaro V5.0"));
}

void Display::DrawBoardPanel() {
    DrawFrame(canvas_, 0, 2, 20, 16, 577, 634);
    DrawFrame(canvas_, 1, 2, 28, 44, 569, 585);
    DrawFrame(canvas_, 1, 2, 28, 595, 570, 626);
    canvas_.SetFillStyle(kFillSolid);
    canvas_.SetLineStyle(0);
    canvas_.SetLineWidth(1);
    state_.boardLeft = kBoardLeft;
    state_.boardTop = kBoardTop;
    state_.cellWidth = state_.cellHeight = kCellSize;
    const int left = state_.boardLeft;
    const int top = state_.boardTop;
    DrawEmbossedText(canvas_, kFontMarks, kColourBlack, left + 200, top - 8, QStringLiteral("SPIELBRETT:"));
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetFillColour(kColourWhite);
    canvas_.FilledBox(28, 44, 569, 585);
    canvas_.SetLineWidth(1);
    canvas_.SetForeColour(kColourBlack);
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 9; ++c) {
            const int x = left + kCellSize * (c - 1);
            const int y = top + kCellSize * (r - 1);
            canvas_.Box(x, y, x + kCellSize, y + kCellSize);
        }
    }
    canvas_.SetLineWidth(2);
    canvas_.SetForeColour(kColourBlue);
    canvas_.SetFillColour(kColourWhite);
    for (int br = 1; br <= 3; ++br) {
        for (int bc = 1; bc <= 3; ++bc) {
            const int x = left + 180 * (bc - 1);
            const int y = top + 180 * (br - 1);
            canvas_.Box(x, y, x + 180, y + 180);
        }
    }
    DrawDiagonals();
    DrawStatisticsPanel();
    DrawDifficultyPanel();
    DrawTimerPanel();
}

void Display::DrawDiagonals() {
    canvas_.SetLineStyle(0);
    canvas_.SetLineWidth(2);
    canvas_.SetForeColour(kColourRed);
    canvas_.SetFillColour(kColourWhite);
    const int left = state_.boardLeft;
    const int top = state_.boardTop;
    for (int i = 1; i <= 9; ++i) {
        const int x = left + kCellSize * (i - 1);
        const int y = top + kCellSize * (i - 1);
        canvas_.Box(x, y, x + kCellSize, y + kCellSize);
    }
    for (int i = 1; i <= 9; ++i) {
        const int x = left + kCellSize * (i - 1);
        const int y = top + kCellSize * (9 - i);
        canvas_.Box(x, y, x + kCellSize, y + kCellSize);
    }
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetFillColour(kColourWhite);
    canvas_.SetLineStyle(0);
    canvas_.SetLineWidth(1);
}

void Display::ShowCursor(int column, int row) {
    if (column < 1 || column > 9 || row < 1 || row > 9) column = row = 0;
    Overlay& overlay = state_.overlay;
    if (overlay.cursorColumn != column || overlay.cursorRow != row) {
        overlay.cursorColumn = column;
        overlay.cursorRow = row;
        RepaintOverlay();
    }
    if (BoardAccessibility* access = BoardAccessibility::Of(&area_)) access->SetFocusCell(column, row);
}

void Display::RepaintOverlay() { area_.UpdateArea(QRect(kBoardLeft, kBoardTop, 9 * kCellSize, 9 * kCellSize)); }

void Display::BoardChanged() {
    if (redrawingScreen_) return;
    if (!state_.overlay.hint.Empty()) {
        state_.overlay.hint.Clear();
        RepaintOverlay();
    }
    if (state_.highlightedSymbol != 0) UpdateHighlight();
    if (boardChanged_) boardChanged_();
}

void Display::SetHighlight(int symbol) {
    state_.highlightedSymbol = symbol >= 1 && symbol <= 9 ? symbol : 0;
    UpdateHighlight();
    AnnouncePanel(AccessiblePanel::Statistics);
}

void Display::UpdateHighlight() {
    Overlay::Marks& marks = state_.overlay.highlight;
    const bool shown = !marks.Empty();
    marks = HighlightMarks(PlacesOf(model_, state_.highlightedSymbol), state_.highlightedSymbol,
                           settings_.showDigits);
    if (shown || !marks.Empty()) RepaintOverlay();
}

void Display::RedrawBoard() { engine_.RedrawBoard(); }

void Display::DrawPanel(int x, int y, int w, int h, int headingDx, const QString& heading) {
    DrawFrame(canvas_, 0, 2, x, y, x + w, y + h);
    DrawFrame(canvas_, 1, 2, x + 6, y + 22, x + w - 6, y + h - 6);
    DrawEmbossedText(canvas_, kFontSystem, kColourBlack, x + headingDx, y + 20, heading);
    canvas_.SetFillStyle(kFillSolid);
    canvas_.SetLineWidth(1);
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetFillColour(kColourWhite);
    canvas_.FilledBox(x + 6, y + 22, x + w - 7, y + h - 7);
}

void Display::UseValueText(int fontCode) {
    canvas_.SelectFont(fontCode);
    canvas_.SetRasterOp(kRopCopyPen);
    canvas_.SetBackgroundMode(kOpaque);
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetFillColour(kColourWhite);
}

void Display::ValueText(int x, int y, const QString& text, int wipeTo) {
    UseValueText(canvas_.FontCode());
    canvas_.Text(x, y, text);
    // Opaque text wipes only its own cell; a shorter text must not leave the end of a longer one.
    const int end = x + canvas_.TextWidth(text);
    if (wipeTo > end) {
        canvas_.SetFillStyle(kFillSolid);
        canvas_.SetLineWidth(1);
        canvas_.SetForeColour(kColourWhite);
        canvas_.FilledBox(end, y, wipeTo, y + canvas_.FontHeight());
        canvas_.SetForeColour(kColourBlack);
    }
}

void Display::DrawStatisticsPanel() {
    constexpr int X = 603;
    constexpr int Y = 200;
    DrawPanel(X, Y, 234, 78, 84, QStringLiteral("STATISTIK:"));
    UseValueText(kFontOem);
    canvas_.Text(X + 16, Y + 32, settings_.showDigits ? QStringLiteral("Zahlen") : QStringLiteral("Ziffer"));
    canvas_.Text(X + 16, Y + 52, QStringLiteral("Anzahl"));
    for (int k = 1; k <= 9; ++k) {
        const int x = X + 72 + 16 * (k - 1);
        if (settings_.showDigits) {
            canvas_.Text(x, Y + 32, Number(k));
        } else {
            const int shift = (k == 9 || !LargeFontMode()) ? 8 : 4;
            canvas_.Text(x + shift, Y + 32, Symbol(k));
        }
        canvas_.Text(x, Y + 52, Number(0));
    }
    canvas_.SetLineWidth(1);
    canvas_.SetForeColour(kColourBlack);
    canvas_.Line(X + 12, Y + 46, X + 222, Y + 46);
    canvas_.Line(X + 71, Y + 28, X + 71, Y + 67);
    UpdateDigitCounts();
    DrawStatusPanel();
}

void Display::UpdateDigitCounts() { engine_.UpdateDigitCounts(); }

void Display::PaintCounts() {
    canvas_.SetLineWidth(1);
    canvas_.SetForeColour(kColourBlack);
    canvas_.Line(674, 228, 674, 267);
    UseValueText(kFontOem);
    for (int k = 1; k <= 9; ++k) {
        canvas_.Text(659 + 16 * k, 252, Number(model_.digitCount[static_cast<std::size_t>(k)]) + QLatin1Char(' '));
    }
    AnnouncePanel(AccessiblePanel::Statistics);
}

void Display::DrawStatusPanel() {
    DrawPanel(603, 292, 234, 78, 60, QStringLiteral("STATUSMELDUNG:"));
    engine_.StatusCheck();
    state_.allNine = settings_.complete;
    UpdateStatusMessage();
}

void Display::UpdateStatusMessage() {
    canvas_.SelectFont(kFontStatus);
    const std::string_view text = StatusText(settings_.status);
    ValueText(626, 326, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), kSidePanelInnerRight);
    AnnouncePanel(AccessiblePanel::Status);
}

void Display::DrawDifficultyPanel() {
    constexpr int X = 603;
    constexpr int Y = 384;
    DrawPanel(X, Y, 234, 78, 38, QStringLiteral("SCHWIERIGKEITSGRAD:"));
    UseValueText(kFontOem);
    canvas_.Text(X + 28, LargeFontMode() ? Y + 27 : Y + 30,
                 QStringLiteral("Vorgegebene Zahlen: ") + Number(state_.givensCount));
    UpdateDifficultyPanel();
}

void Display::UpdateDifficultyPanel() {
    int givens = 0;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (model_.given(x, y) != 0) ++givens;
    state_.givensCount = givens;
    UseValueText(kFontOem);
    canvas_.Text(791, LargeFontMode() ? 411 : 414, Number(givens) + QLatin1Char(' '));
    canvas_.SelectFont(kFontStatus);
    const int level = ShownLevel(state_, settings_, model_.givens);
    ValueText(656, 426, QString::fromUtf8(kDifficultyNames[static_cast<std::size_t>(level)].data(),
                                          static_cast<int>(kDifficultyNames[static_cast<std::size_t>(level)].size())) +
                            QStringLiteral("  "),
              kSidePanelInnerRight);
    AnnouncePanel(AccessiblePanel::Difficulty);
}

void Display::DrawHelpWindow() {
    DrawPanel(603, 476, 234, 72, 64, QStringLiteral("HILFEFENSTER:"));
    ShowHelpText();
}

void Display::ShowHelpText() {
    canvas_.SelectFont(kFontOem);
    ValueText(616, 515, state_.helpText, kSidePanelInnerRight);
    AnnouncePanel(AccessiblePanel::Help);
}

void Display::SetHelpText(const QString& text) {
    state_.helpText = text;
    ShowHelpText();
}

void Display::DrawTimerPanel() { DrawPanel(623, 562, 192, 72, 45, QStringLiteral("ZEITMESSUNG:")); }

void Display::DrawCellBase(int column, int row, int value, int colour) {
    canvas_.SetFillStyle(kFillSolid);
    canvas_.SetLineWidth(1);
    canvas_.SetRasterOp(kRopCopyPen);
    const int left = CellLeft(column) + 1;
    const int top = CellTop(row) + 1;
    canvas_.SetForeColour(colour);
    canvas_.SetFillColour(colour);
    // The thick box line intrudes into the last cell of each box.
    canvas_.FilledBox(left, top, left + (column % 3 == 0 ? 57 : 58), top + (row % 3 == 0 ? 57 : 58));
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetFillColour(colour);
    if (value != 0) {
        canvas_.SelectFont(kFontCell);
        canvas_.SetRasterOp(kRopMergePen);
        canvas_.SetBackgroundMode(kTransparent);
        const int dx = settings_.showDigits ? 10 : (value == 9 ? 19 : 5);
        canvas_.Text(left + dx, top + 1, Symbol(value));
        canvas_.SetRasterOp(kRopCopyPen);
        canvas_.SetBackgroundMode(kOpaque);
        canvas_.SelectFont(kFontStatus);
    }
}

void Display::DrawGivenCell(int column, int row, int value) {
    DrawCellBase(column, row, value, kColourLightGrey);
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetFillColour(kColourWhite);
    if (!batchingCells_) DrawDiagonals();
}

void Display::DrawPlayerCell(int column, int row, int value) {
    DrawCellBase(column, row, value, kColourWhite);
    if (!batchingCells_) DrawDiagonals();
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetFillColour(kColourWhite);
}

void Display::DrawCandidates() {
    const MarkWipes wipe = MarkWipeRects();
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) DrawCellMarks(x, y, wipe);
    }
    DrawDiagonals();
}

void Display::DrawCellCandidates(int x, int y) {
    DrawCellMarks(x, y, MarkWipeRects());
    DrawDiagonals();
}

Display::MarkWipes Display::MarkWipeRects() {
    // A mark's glyph reaches beyond the 15 x 16 box at its place (the bottom stroke of a digit
    // lies below it), so each place is wiped over the ink of every symbol that can stand there.
    canvas_.SelectFont(kFontMarks);
    MarkWipes wipe{};
    for (int d = 1; d <= 9; ++d) {
        wipe[d] = QRect(0, 0, 15, 16) | canvas_.InkRect(QString::fromStdString(SymbolText(d, true))) |
                  canvas_.InkRect(QString::fromStdString(SymbolText(d, false))).translated(d == 9 ? 4 : 0, 0);
    }
    return wipe;
}

void Display::DrawCellMarks(int x, int y, const MarkWipes& wipe) {
    if (model_.cell(x, y) != 0) return;
    const int left = state_.boardLeft + kCellSize * (x - 1);
    const int top = state_.boardTop + kCellSize * (y - 1);
    canvas_.SetFillStyle(kFillSolid);
    canvas_.SetLineWidth(1);
    canvas_.SetRasterOp(kRopCopyPen);
    canvas_.SelectFont(kFontMarks);
    // What the cell's own fill covers: a mark never reaches onto the grid lines, and the diagonal
    // outlines are drawn again on top afterwards.
    const QRect inside(left + 1, top + 1, x % 3 == 0 ? 57 : 58, y % 3 == 0 ? 57 : 58);
    auto place = [&](int d) {
        const bool bottomThird = d >= 7 && y % 3 == 0;
        return QPoint(left + 5 + 19 * ((d - 1) % 3), top + (bottomThird ? 0 : 1) + 19 * ((d - 1) / 3));
    };
    canvas_.SetForeColour(kColourWhite);
    canvas_.SetFillColour(kColourWhite);
    for (int d = 1; d <= 9; ++d) {
        const QRect r = wipe[d].translated(place(d)) & inside;
        if (!r.isEmpty()) canvas_.FilledBox(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetBackgroundMode(kTransparent);
    if (QPainter* painter = canvas_.Painter()) painter->setClipRect(inside);
    for (int d = 1; d <= 9; ++d) {
        if (!model_.mark(x, y, d)) continue;
        const int shift = (!settings_.showDigits && d == 9) ? 4 : 0;
        canvas_.Text(place(d).x() + shift, place(d).y(), Symbol(d));
    }
    if (QPainter* painter = canvas_.Painter()) painter->setClipping(false);
    canvas_.SetBackgroundMode(kOpaque);
    canvas_.SetForeColour(kColourBlack);
    canvas_.SetFillColour(kColourWhite);
}

void Display::DrawPicker(int column, int row) {
    state_.pickerBusy = true;
    SetHelpText(state_.noteMode ? kHelpNoteCandidates : kHelpRightClears);
    canvas_.SetFillStyle(kFillSolid);
    canvas_.SetLineWidth(1);
    const int left = PickerLeft(column);
    const int top = PickerTop(row);
    if (!state_.backgroundSaved) {
        state_.pickerBackground = area_.Capture(QRect(left, top, kPickerSize, kPickerSize));
        state_.backgroundX = left;
        state_.backgroundY = top;
        state_.backgroundSaved = true;
        state_.overlay.picker = QRect(left, top, kPickerSize, kPickerSize);
    }
    canvas_.SelectFont(kFontPicker);
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 3; ++c) {
            const int k = 3 * (r - 1) + c;
            const int x = left + kPickerItemSize * (c - 1);
            const int y = top + kPickerItemSize * (r - 1);
            canvas_.SetRasterOp(kRopCopyPen);
            canvas_.SetBackgroundMode(kOpaque);
            canvas_.SetForeColour(kColourBlack);
            canvas_.SetFillColour(k == state_.hoveredItem ? kColourLightGrey : kColourWhite);
            canvas_.FilledBox(x, y, x + kPickerItemSize, y + kPickerItemSize);
            canvas_.SetRasterOp(kRopMergePen);
            canvas_.SetBackgroundMode(kTransparent);
            const int dx = settings_.showDigits ? 6 : (k == 9 ? 10 : 3);
            canvas_.Text(x + dx, y + 1, Symbol(k));
        }
    }
    canvas_.SetRasterOp(kRopCopyPen);
    canvas_.SetBackgroundMode(kOpaque);
    state_.pickerBusy = false;
}

void Display::RestorePickerBackground() {
    if (!state_.backgroundSaved) return;
    area_.Restore(state_.pickerBackground, state_.backgroundX, state_.backgroundY);
    state_.overlay.picker = QRect();
}

void Display::FreePickerBackground() {
    state_.pickerBackground = QImage();
    state_.backgroundSaved = false;
    state_.overlay.picker = QRect();
}

void Display::CellChanged(int x, int y, int value) {
    BoardChanged();
    if (model_.given(x, y) != 0) {
        DrawGivenCell(x, y, model_.given(x, y));
    } else {
        DrawPlayerCell(x, y, value);
    }
    AnnounceCell(x, y);
    // The solver places cells without returning to the event loop: show its progress, but at
    // most once per display frame so that a long guess phase is not slowed down by painting.
    if (!lastFlush_.isValid() || lastFlush_.elapsed() >= kFrameMilliseconds) {
        area_.repaint();
        lastFlush_.restart();
    }
}

void Display::AllCellsChanged() {
    BoardChanged();
    DrawAllCells();
    AnnounceAllCells();
}

void Display::DrawAllCells() {
    state_.cellWidth = state_.cellHeight = kCellSize;
    // A cell's fill covers only its own diagonal outline and nothing is shown before the redraw
    // ends, so one outline pass after the 81 cells gives the same picture as one per cell.
    batchingCells_ = true;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int given = model_.given(x, y);
            if (given != 0) {
                DrawGivenCell(x, y, given);
            } else {
                DrawPlayerCell(x, y, model_.cell(x, y));
            }
        }
    }
    batchingCells_ = false;
    DrawDiagonals();
}

void Display::StatisticsRefreshed(bool beep) {
    BoardChanged();
    PaintCounts();
    if (beep && beep_ && !redrawingScreen_) beep_();
    state_.allNine = settings_.complete;
    UpdateStatusMessage();
}

void Display::CandidatesChanged() {
    BoardChanged();
    DrawCandidates();
    AnnounceAllCells();
}

void Display::MarksChanged(int x, int y) {
    BoardChanged();
    DrawCellCandidates(x, y);
    AnnounceCell(x, y);
}

void Display::AnnounceCell(int x, int y) {
    if (BoardAccessibility* access = BoardAccessibility::Of(&area_)) access->CellChanged(x, y);
}

void Display::AnnounceAllCells() {
    BoardAccessibility* access = BoardAccessibility::Of(&area_);
    if (!access) return;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) access->CellChanged(x, y);
}

void Display::AnnouncePanel(AccessiblePanel panel) {
    if (BoardAccessibility* access = BoardAccessibility::Of(&area_)) access->PanelChanged(panel);
}

void Display::GivensChanged() {
    BoardChanged();
    UpdateDifficultyPanel();
}

void Display::TimedGameEnded() {
    BoardChanged();
    if (timedGameEnded_) timedGameEnded_();
}

}  // namespace tessaro
