#include "interaction/HintKeys.h"

#include "display/BoardAccessible.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "engine/Conflicts.h"
#include "engine/Engine.h"
#include "halloffame/GameClock.h"
#include "interaction/ExplanationWindow.h"

namespace tessaro {

HintKeys::HintKeys(Display& display, Engine& engine, GameClock& clock)
    : display_(display), engine_(engine), clock_(clock) {
    // The marks went with the change; the next T starts afresh.
    display_.SetBoardChangedHandler([this] { coach_.Forget(); });
}

HintKeys::~HintKeys() {
    if (explanation_) explanation_->close();
    display_.SetBoardChangedHandler(nullptr);
}

bool HintKeys::KeyReleased(int key, bool ownBoard) {
    switch (key) {
    case Qt::Key_F:
        // In letters mode F is a symbol: only W shows the conflicts there.
        if (!engine_.Config().showDigits) return false;
        [[fallthrough]];
    case Qt::Key_W:
        EndTimedGame(ownBoard);
        ShowConflicts();
        return true;
    case Qt::Key_T:
        Tip(ownBoard);
        return true;
    default:
        return false;
    }
}

void HintKeys::EndTimedGame(bool ownBoard) {
    if (!ownBoard && clock_.running) clock_.StopClock();
}

void HintKeys::ShowConflicts() {
    coach_.Forget();
    const ConflictSet conflicts = FindConflicts(engine_.Model().board);
    Show(ConflictMarks(conflicts), QString::fromStdString(ConflictText(conflicts, engine_.Config().showDigits)));
}

void HintKeys::Tip(bool ownBoard) {
    EndTimedGame(ownBoard);
    const BoardModel& model = engine_.Model();
    const logic::Advice advice = coach_.Press(model.board, model.givens);
    const bool digits = engine_.Config().showDigits;
    switch (advice.kind) {
    case logic::Advice::Kind::Conflicts:
        ShowConflicts();
        return;
    case logic::Advice::Kind::Enter:
        // The entry ends the marks, as the picker's would.
        for (const logic::Candidate& c : advice.step.placements) {
            const int x = logic::ColumnOf(c.cell) + 1;
            const int y = logic::RowOf(c.cell) + 1;
            if (ownBoard) {
                engine_.SetGiven(x, y, c.digit);
            } else {
                engine_.EnterSymbol(x, y, c.digit);
            }
        }
        engine_.EntryDone();
        return;
    default:
        Show(AdviceMarks(advice, digits), QString::fromStdString(logic::AdviceLine(advice, digits)));
    }
}

void HintKeys::Show(const Overlay::Marks& marks, const QString& line) {
    Overlay& overlay = display_.overlay();
    overlay.hint = marks;
    display_.RepaintOverlay();
    SetText(line);
}

void HintKeys::SetText(const QString& text) {
    shownText_ = text;
    display_.SetHelpText(text);
    if (explanation_ && explanation_->isVisible()) UpdateExplanation();
}

void HintKeys::Unmark() {
    coach_.Forget();
    if (display_.overlay().hint.Empty()) return;
    display_.overlay().hint.Clear();
    display_.RepaintOverlay();
}

void HintKeys::Explain(bool ownBoard) {
    if (!coach_.Shown()) Tip(ownBoard);
    if (!explanation_) explanation_ = std::make_unique<ExplanationWindow>(&display_.area());
    UpdateExplanation();
}

void HintKeys::UpdateExplanation() {
    const std::string line = shownText_.toStdString();
    const std::string text = coach_.Shown() ? logic::AdviceExplanation(*coach_.Shown(), line, engine_.Config().showDigits) : line;
    explanation_->ShowText(QString::fromStdString(text));
    if (BoardAccessibility* access = BoardAccessibility::Of(&display_.area())) access->Announce(explanation_->TextWidget());
}

bool HintKeys::CloseExplanation() {
    if (!explanation_ || !explanation_->isVisible()) return false;
    explanation_->close();
    return true;
}

}  // namespace tessaro
