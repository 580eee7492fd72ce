#include "interaction/HintKeys.h"

#include <array>

#include "display/BoardAccessible.h"
#include "display/Canvas.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "display/Geometry.h"
#include "engine/Engine.h"
#include "engine/Conflicts.h"
#include "halloffame/GameClock.h"
#include "interaction/ExplanationWindow.h"
#include "interaction/Interaction.h"
#include "logic/Solver.h"
#include "puzzles/SudokuXSolver.h"

namespace tessaro {
namespace {

// The board cell (x, y) of a logic cell index.
CellRef BoardCell(int cell) { return {logic::ColumnOf(cell) + 1, logic::RowOf(cell) + 1}; }

const QString kPauseHelp = QStringLiteral("Pause: P spielt weiter");
constexpr std::size_t kHelpWidth = 26;

// Short enough for the help panel with an effect behind it.
std::string ShortName(logic::Technique technique) {
    using logic::Technique;
    switch (technique) {
    case Technique::FullHouse: return "Letztes Feld";
    case Technique::HiddenSingleBox: return "Einer im Block";
    case Technique::HiddenSingleLine: return "Versteckter Einer";
    case Technique::DirectPointing: case Technique::Pointing: return "Blocksperre";
    case Technique::DirectClaiming: case Technique::Claiming: return "Liniensperre";
    case Technique::DirectHiddenPair: case Technique::HiddenPair: return "Verst. Paar";
    case Technique::NakedSingle: return "Nackter Einer";
    case Technique::DirectHiddenTriple: case Technique::HiddenTriple: return "Verst. Drilling";
    case Technique::GeneralizedLocked: return "Allg. Sperre";
    case Technique::NakedPair: return "Nacktes Paar";
    case Technique::NakedTriple: return "Nackt. Drilling";
    case Technique::NakedQuad: return "Nackt. Vierling";
    case Technique::HiddenQuad: return "Verst. Vierling";
    case Technique::ForcingXChain: return "X-Kette";
    case Technique::ForcingChain: return "Kette";
    case Technique::MultipleForcingChain: return "Mehrfachkette";
    case Technique::NestedForcingChain: return "Verschachtelt";
    default: return std::string(logic::Info(technique).name);
    }
}

// "Z3S5=7" or "Z3S5-7", with the symbol as the board shows it.
std::string CandidateText(const logic::Candidate& c, bool on, bool showDigits) {
    return logic::CellName(c.cell) + (on ? "=" : "-") + logic::RenderText(logic::Sym(c.digit), showDigits);
}

// The technique and its first effect, the count of the others if they fit.
std::string StepHeadline(const logic::Step& step, bool showDigits) {
    const bool places = !step.placements.empty();
    const logic::Candidate& first = places ? step.placements.front() : step.eliminations.front();
    std::string text = ShortName(step.technique) + ": " + CandidateText(first, places, showDigits);
    const std::size_t more = step.placements.size() + step.eliminations.size() - 1;
    if (more == 0) return text;
    const std::string count = " +" + std::to_string(more);
    return text + (text.size() + count.size() <= kHelpWidth ? count : "+");
}

}  // namespace

HintKeys::HintKeys(Display& display, Engine& engine, GameClock& clock)
    : display_(display), engine_(engine), clock_(clock) {
    // The marks went with the change; the next T starts afresh.
    display_.SetBoardChangedHandler([this] { shown_.reset(); });
}

HintKeys::~HintKeys() {
    if (explanation_) explanation_->close();
    display_.SetBoardChangedHandler(nullptr);
}

bool HintKeys::KeyReleased(int key, bool ownBoard) {
    if (key == Qt::Key_Escape && CloseExplanation()) return true;
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
    SetText(QString::fromStdString(ConflictText(conflicts, engine_.Config().showDigits)));
    if (!conflicts.Any()) return;
    for (const Conflict& conflict : conflicts.conflicts) TintUnit(conflict.unit);
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            if (conflicts.Marked(x, y)) FrameCell({x, y}, kColourDarkRed);
        }
    }
    Repaint();
}

void HintKeys::Tip(bool ownBoard) {
    if (shown_ && ActOnShown(ownBoard)) return;
    EndTimedGame(ownBoard);
    const Grid& board = engine_.Model().board;
    const ConflictSet conflicts = FindConflicts(board);
    if (conflicts.Any()) {
        ShowConflicts(conflicts);
        return;
    }
    QString problem;
    const Grid* solution = Solution(problem);
    if (!solution) {
        Unmark();
        SetText(problem);
        return;
    }
    for (int cell = 0; cell < logic::kCellCount; ++cell) {
        const int at = At(BoardCell(cell).x, BoardCell(cell).y);
        if (board[at] != 0 && board[at] != (*solution)[at]) {
            ShowWrongEntry(cell);
            return;
        }
    }
    logic::LogicState state = StateFor(board);
    const std::optional<logic::Step> step = logic::NextStep(state);
    hintState_ = state;
    hintBoard_ = board;
    if (!step) {
        Unmark();
        SetText(state.Solved() ? QStringLiteral("Das Brett ist gelöst") : QStringLiteral("Kein Schritt gefunden"));
        return;
    }
    ShowStep(*step);
}

bool HintKeys::ActOnShown(bool ownBoard) {
    const Shown shown = *shown_;
    if (shown.kind == Shown::Kind::WrongEntry) {
        const int cell = shown.step.cells.front();
        Enter(BoardCell(cell).x, BoardCell(cell).y, 0, ownBoard);
        return true;
    }
    if (hintState_) logic::Apply(*hintState_, shown.step);
    if (shown.step.placements.empty()) return false;  // the eliminations count: on to the next step
    hintBoard_ = hintState_ ? hintState_->ToGrid() : hintBoard_;
    for (const logic::Candidate& c : shown.step.placements) {
        Enter(BoardCell(c.cell).x, BoardCell(c.cell).y, c.digit, ownBoard);
    }
    return true;
}

logic::LogicState HintKeys::StateFor(const Grid& board) {
    logic::LogicState state = *logic::LogicState::FromGrid(board);
    if (!hintState_) return state;
    for (int at = 0; at < static_cast<int>(board.size()); ++at) {
        if (hintBoard_[at] != 0 && board[at] != hintBoard_[at]) {
            hintState_.reset();  // an entry it was built on is gone: its eliminations may be too
            return state;
        }
    }
    for (int cell = 0; cell < logic::kCellCount; ++cell) {
        const logic::DigitMask dropped = state.cand[cell] & ~hintState_->cand[cell];
        if (state.value[cell] != 0 || hintState_->value[cell] != 0) continue;
        for (int digit = 1; digit <= 9; ++digit) {
            if (dropped & logic::Bit(digit)) state.Eliminate(cell, digit);
        }
    }
    return state;
}

const Grid* HintKeys::Solution(QString& problem) {
    const Grid& givens = engine_.Model().givens;
    if (solutionCount_ < 0 || givens != solvedGivens_) {
        solvedGivens_ = givens;
        solutionCount_ = SudokuXSolver::CountSolutions(givens, 2, &solution_);
    }
    if (solutionCount_ == 1) return &solution_;
    problem = solutionCount_ == 0 ? QStringLiteral("Rätsel hat keine Lösung") : QStringLiteral("Mehrere Lösungen möglich");
    return nullptr;
}

void HintKeys::SetText(const QString& text) {
    shownText_ = text;
    display_.SetHelpText(text);
    if (explanation_ && explanation_->isVisible()) UpdateExplanation();
}

void HintKeys::ShowWrongEntry(int cell) {
    Unmark();
    Shown shown{Shown::Kind::WrongEntry, {}};
    shown.step.cells = {cell};
    shown.step.explanation = "Der Eintrag in " + logic::CellName(cell) +
                             " weicht von der einzigen Lösung des Rätsels ab. T nimmt ihn heraus.";
    FrameCell(BoardCell(cell), kColourDarkRed);
    shown_ = shown;
    SetText(QStringLiteral("Z%1 S%2 stimmt nicht").arg(BoardCell(cell).y).arg(BoardCell(cell).x));
    Repaint();
}

void HintKeys::ShowStep(const logic::Step& step) {
    Unmark();
    std::vector<CellRef> tinted;
    for (int house : step.houses) {
        for (int cell : logic::kHouses.cells[house]) tinted.push_back(BoardCell(cell));
    }
    TintCells(tinted);
    for (int cell : step.cells) FrameCell(BoardCell(cell), kColourDarkGreen);
    for (const logic::Candidate& c : step.pattern) DrawCandidate(c.cell, c.digit, kHintPatternInk);
    for (const logic::Candidate& c : step.placements) DrawCandidate(c.cell, c.digit, kHintPatternInk);
    for (const logic::Candidate& c : step.eliminations) DrawCandidate(c.cell, c.digit, kHintEliminatedInk);
    for (const logic::Candidate& c : step.supportingEliminations) DrawCandidate(c.cell, c.digit, kHintEliminatedInk);
    shown_ = Shown{Shown::Kind::Step, step};
    SetText(QString::fromStdString(StepHeadline(step, engine_.Config().showDigits)));
    Repaint();
}

void HintKeys::Enter(int x, int y, int value, bool ownBoard) {
    // The entry ends the marks (and this hint), as the picker's would.
    if (ownBoard) {
        engine_.SetGiven(x, y, value);
    } else {
        engine_.EnterSymbol(x, y, value);
    }
    engine_.EntryDone();
}

void HintKeys::Explain(bool ownBoard) {
    if (!shown_) Tip(ownBoard);
    if (!explanation_) explanation_ = std::make_unique<ExplanationWindow>(&display_.area());
    UpdateExplanation();
}

void HintKeys::UpdateExplanation() {
    explanation_->ShowText(ExplanationText());
    if (BoardAccessibility* access = BoardAccessibility::Of(&display_.area())) access->Announce(explanation_->TextWidget());
}

bool HintKeys::CloseExplanation() {
    if (!explanation_ || !explanation_->isVisible()) return false;
    explanation_->close();
    return true;
}

QString HintKeys::ExplanationText() const {
    const bool digits = engine_.Config().showDigits;
    if (!shown_) return shownText_;
    const logic::Step& step = shown_->step;
    std::string text = shownText_.toStdString() + "\n\n" + logic::RenderText(step.explanation, digits);
    for (std::size_t k = 0; k < step.chains.size(); ++k) {
        text += "\n\n";
        if (step.chains.size() > 1) text += "Kette " + std::to_string(k + 1) + ":\n";
        for (const logic::ChainLink& link : step.chains[k]) {
            text += "  " + CandidateText(link.from, link.fromOn, digits) + "  ⇒  " + CandidateText(link.to, link.toOn, digits) + "\n";
        }
    }
    if (shown_->kind == Shown::Kind::Step) {
        std::string effects;
        for (const logic::Candidate& c : step.placements) effects += " " + CandidateText(c, true, digits);
        for (const logic::Candidate& c : step.eliminations) effects += " " + CandidateText(c, false, digits);
        text += "\n\nWirkung:" + effects;
    }
    return QString::fromStdString(text);
}

void HintKeys::Pause() {
    paused_ = true;
    clock_.PauseClock();
    helpBeforePause_ = display_.state().helpText;
    display_.overlay().paused = true;
    display_.SetHelpText(kPauseHelp);
    Repaint();
}

void HintKeys::Resume() {
    if (!paused_) return;
    paused_ = false;
    display_.overlay().paused = false;
    Repaint();
    display_.SetHelpText(helpBeforePause_);
    clock_.ResumeClock();
}

void HintKeys::Unmark() {
    shown_.reset();
    if (display_.overlay().hint.Empty()) return;
    display_.overlay().hint.Clear();
    Repaint();
}

void HintKeys::FrameCell(CellRef cell, int colour) {
    display_.overlay().hint.frames.push_back({cell.x, cell.y, PaletteColour(colour)});
}

void HintKeys::TintUnit(Unit unit) {
    const std::array<CellRef, 9> cells = CellsOf(unit);
    TintCells({cells.begin(), cells.end()});
}

void HintKeys::TintCells(const std::vector<CellRef>& cells) {
    // Translucent, so the symbols stay readable.
    const QColor tint(255, 160, 0, 70);
    for (const CellRef& cell : cells) display_.overlay().hint.tints.push_back({cell.x, cell.y, tint});
}

void HintKeys::DrawCandidate(int cell, int digit, const QColor& fill) {
    const bool digits = engine_.Config().showDigits;
    display_.overlay().hint.squares.push_back({logic::ColumnOf(cell) + 1, logic::RowOf(cell) + 1, digit,
                                               QString::fromStdString(SymbolText(digit, digits)), fill});
}

void HintKeys::Repaint() { display_.RepaintOverlay(); }

}  // namespace tessaro
