#include "interaction/HintKeys.h"

#include <QPainter>

#include "display/Canvas.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "display/Geometry.h"
#include "engine/Engine.h"
#include "halloffame/GameClock.h"
#include "interaction/Interaction.h"

namespace tessaro {
namespace {

const QRect kBoardRect(kBoardLeft, kBoardTop, 9 * kCellSize, 9 * kCellSize);
const QString kPauseHelp = QStringLiteral("Pause: P spielt weiter");

// The part of a cell its own fill covers (the thick box line takes a pixel of the last cell of a box).
QRect CellInside(int x, int y) {
    return {CellLeft(x) + 1, CellTop(y) + 1, x % 3 == 0 ? 57 : 58, y % 3 == 0 ? 57 : 58};
}

}  // namespace

HintKeys::HintKeys(Display& display, Engine& engine, GameClock& clock)
    : display_(display), engine_(engine), clock_(clock) {}

HintKeys::~HintKeys() {
    if (next_) engine_.SetObserver(next_);
}

bool HintKeys::KeyReleased(int key, bool ownBoard) {
    if (paused_) {
        if (key == Qt::Key_P) {
            Resume();
            return true;
        }
        return !(key == Qt::Key_Escape || (key == Qt::Key_A && engine_.Config().showDigits));
    }
    switch (key) {
    case Qt::Key_F:
        // In letters mode F is a symbol: only W shows the conflicts there.
        if (!engine_.Config().showDigits) return false;
        [[fallthrough]];
    case Qt::Key_W:
        EndTimedGame(ownBoard);
        ShowConflicts(FindConflicts(engine_.Model().board));
        return true;
    case Qt::Key_T:
        Tip(ownBoard);
        return true;
    case Qt::Key_P:
        if (!ownBoard && clock_.running) Pause();
        return true;
    default:
        return false;
    }
}

bool HintKeys::TakesPress(Qt::MouseButton button, QPoint position) {
    if (!paused_) return false;
    const PlayButton* hit = button == Qt::LeftButton ? ButtonAt(position.x(), position.y()) : nullptr;
    if (hit && hit->key == Qt::Key_A) return false;
    Resume();
    return true;
}

void HintKeys::LoopEnded() {
    Resume();
    Unmark();
}

void HintKeys::EndTimedGame(bool ownBoard) {
    if (!ownBoard && clock_.running) clock_.StopClock();
}

void HintKeys::ShowConflicts(const ConflictSet& conflicts) {
    Unmark();
    display_.SetHelpText(QString::fromStdString(ConflictText(conflicts, engine_.Config().showDigits)));
    if (!conflicts.Any()) return;
    BeginMarking();
    for (const Conflict& conflict : conflicts.conflicts) TintUnit(conflict.unit);
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            if (conflicts.Marked(x, y)) FrameCell({x, y}, kColourDarkRed);
        }
    }
    Repaint();
}

void HintKeys::Tip(bool ownBoard) {
    if (shownHint_ && (shownHint_->kind == HintKind::NakedSingle || shownHint_->kind == HintKind::HiddenSingle)) {
        Place(*shownHint_, ownBoard);
        return;
    }
    EndTimedGame(ownBoard);
    const Hint hint = FindHint(engine_.Model().board);
    if (hint.kind == HintKind::Conflict) {
        ShowConflicts(hint.conflicts);
        return;
    }
    Unmark();
    display_.SetHelpText(QString::fromStdString(HintText(hint, engine_.Config().showDigits)));
    if (hint.cell.x == 0) return;  // solved, or no step at all
    BeginMarking();
    shownHint_ = hint;
    if (hint.kind == HintKind::HiddenSingle) TintUnit(hint.unit);
    const bool step = hint.kind == HintKind::NakedSingle || hint.kind == HintKind::HiddenSingle;
    FrameCell(hint.cell, step ? kColourDarkGreen : hint.kind == HintKind::Guess ? kColourDarkCyan : kColourDarkRed);
    Repaint();
}

void HintKeys::Place(const Hint& hint, bool ownBoard) {
    // The entry ends the markings (and this hint) through the observer, as the picker's would.
    if (ownBoard) {
        engine_.SetGiven(hint.cell.x, hint.cell.y, hint.symbol);
    } else {
        engine_.EnterSymbol(hint.cell.x, hint.cell.y, hint.symbol);
    }
    if (engine_.Config().showCandidates) engine_.ComputeCandidates();
    display_.UpdateDigitCounts();
    if (ownBoard) display_.UpdateDifficultyPanel();
}

void HintKeys::Pause() {
    paused_ = true;
    clock_.PauseClock();
    beforePause_ = display_.area().Capture(kBoardRect);
    helpBeforePause_ = display_.state().helpText;
    Canvas& canvas = display_.canvas();
    canvas.SetRasterOp(kRopCopyPen);
    canvas.SetFillStyle(kFillSolid);
    canvas.SetLineWidth(1);
    canvas.SetForeColour(kColourDarkGrey);
    canvas.SetFillColour(kColourDarkGrey);
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            const QRect inside = CellInside(x, y);
            canvas.FilledBox(inside.left(), inside.top(), inside.right() + 1, inside.bottom() + 1);
        }
    }
    canvas.SetForeColour(kColourBlack);
    canvas.SetFillColour(kColourWhite);
    display_.SetHelpText(kPauseHelp);
    Repaint();
}

void HintKeys::Resume() {
    if (!paused_) return;
    paused_ = false;
    display_.area().Restore(beforePause_, kBoardRect.x(), kBoardRect.y());
    beforePause_ = QImage();
    display_.SetHelpText(helpBeforePause_);
    clock_.ResumeClock();
}

void HintKeys::BeginMarking() {
    if (next_) return;
    unmarked_ = display_.area().Capture(kBoardRect);
    next_ = &engine_.Observer();
    engine_.SetObserver(this);
}

BoardObserver& HintKeys::Unmark() {
    shownHint_.reset();
    if (!next_) return engine_.Observer();
    BoardObserver& next = *next_;
    next_ = nullptr;
    engine_.SetObserver(&next);
    display_.area().Restore(unmarked_, kBoardRect.x(), kBoardRect.y());
    unmarked_ = QImage();
    return next;
}

void HintKeys::FrameCell(CellRef cell, int colour) {
    QPainter* painter = display_.canvas().Painter();
    if (!painter) return;
    // Three pixels wide, inside the diagonals' outline.
    const QRect frame = CellInside(cell.x, cell.y).adjusted(2, 2, -2, -2);
    const QColor ink = PaletteColour(colour);
    painter->save();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->fillRect(frame.left(), frame.top(), frame.width(), 3, ink);
    painter->fillRect(frame.left(), frame.bottom() - 2, frame.width(), 3, ink);
    painter->fillRect(frame.left(), frame.top(), 3, frame.height(), ink);
    painter->fillRect(frame.right() - 2, frame.top(), 3, frame.height(), ink);
    painter->restore();
}

void HintKeys::TintUnit(Unit unit) {
    QPainter* painter = display_.canvas().Painter();
    if (!painter) return;
    // Translucent, so the symbols stay readable.
    const QColor tint(255, 160, 0, 70);
    painter->save();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (const CellRef& cell : CellsOf(unit)) painter->fillRect(CellInside(cell.x, cell.y), tint);
    painter->restore();
}

void HintKeys::Repaint() { display_.area().update(kBoardRect); }

void HintKeys::CellChanged(int x, int y, int value) { Unmark().CellChanged(x, y, value); }
void HintKeys::AllCellsChanged() { Unmark().AllCellsChanged(); }
void HintKeys::StatisticsRefreshed(bool beep) { Unmark().StatisticsRefreshed(beep); }
void HintKeys::CandidatesChanged() { Unmark().CandidatesChanged(); }
void HintKeys::TimedGameEnded() { Unmark().TimedGameEnded(); }
void HintKeys::GivensChanged() { Unmark().GivensChanged(); }
void HintKeys::MarksChanged(int x, int y) { Unmark().MarksChanged(x, y); }

}  // namespace tessaro
