#pragma once

#include <QColor>
#include <QPoint>
#include <qnamespace.h>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "engine/Conflicts.h"
#include "logic/LogicState.h"
#include "logic/Step.h"

namespace tessaro {

// The squares T draws for the candidates that form a step's pattern, and for the ones it removes.
inline const QColor kHintPatternInk(0, 110, 230);
inline const QColor kHintEliminatedInk(215, 0, 0);

class Display;
class Engine;
class ExplanationWindow;
class GameClock;

// F or W (show the conflicts; in letters mode, where F is a symbol, only W), T (hint, then act on
// it) and P (pause) of the play loops. Marks and the pause cover live on the display's overlay;
// the first change of the board takes the marks away.
// T names a wrong entry first, then the logic engine's easiest step, drawn; T again removes the
// entry, enters the placement, or takes the eliminations into the hint's own candidate state and
// shows the next step. That state lives while the board only gains entries.
class HintKeys final {
public:
    HintKeys(Display& display, Engine& engine, GameClock& clock);
    ~HintKeys();
    HintKeys(const HintKeys&) = delete;
    HintKeys& operator=(const HintKeys&) = delete;

    // A released loop key; true when it was taken here: F (digits mode), W, T, P, and while paused
    // every key but the ways out of the loop (Esc, and A in digits mode).
    bool KeyReleased(int key, bool ownBoard);
    // A mouse press while paused resumes and is taken; a left press on the Abbruch button is not.
    bool TakesPress(Qt::MouseButton button, QPoint position);
    bool Paused() const { return paused_; }
    // The loop ends: a pause ends and the markings go.
    void LoopEnded();
    // Shift+T: the whole explanation of the hint on screen (found first when none is) in a window
    // beside the board, told to assistive technology.
    void Explain(bool ownBoard);
    // Esc while the explanation window is open closes it; true when it did.
    bool CloseExplanation();
    const ExplanationWindow* Explanation() const { return explanation_.get(); }

private:
    // What T has on screen.
    struct Shown {
        enum class Kind { Step, WrongEntry } kind = Kind::Step;
        logic::Step step;  // for a wrong entry: its cell in step.cells
    };

    void ShowConflicts(const ConflictSet& conflicts);
    void Tip(bool ownBoard);
    // T again on the hint shown: true when that was all (an entry removed or placed).
    bool ActOnShown(bool ownBoard);
    // The candidate state for the board: the kept one while the board only gained entries.
    logic::LogicState StateFor(const Grid& board);
    // The puzzle's one solution, or why there is none to compare with (cached per givens).
    const Grid* Solution(QString& problem);
    void ShowStep(const logic::Step& step);
    void ShowWrongEntry(int cell);
    void SetText(const QString& text);
    void Enter(int x, int y, int value, bool ownBoard);
    void Pause();
    void Resume();
    // As the candidate display does: the clock stops and the game can no longer enter the hall of fame.
    void EndTimedGame(bool ownBoard);

    // The hint (or the conflicts) leaves the screen.
    void Unmark();
    void FrameCell(CellRef cell, int colour);
    void TintUnit(Unit unit);
    void TintCells(const std::vector<CellRef>& cells);
    // A candidate of a pattern drawn as a coloured square with its symbol, at its mark's place.
    void DrawCandidate(int cell, int digit, const QColor& fill);
    QString ExplanationText() const;
    void UpdateExplanation();
    void Repaint();

    Display& display_;
    Engine& engine_;
    GameClock& clock_;
    std::optional<Shown> shown_;  // the hint on screen; the next T acts on it
    QString shownText_;
    std::optional<logic::LogicState> hintState_;
    Grid hintBoard_{};       // the board hintState_ belongs to
    Grid solvedGivens_{};    // the givens solution_ belongs to
    int solutionCount_ = -1;
    Grid solution_{};
    std::unique_ptr<ExplanationWindow> explanation_;
    bool paused_ = false;
    QString helpBeforePause_;
};

}  // namespace tessaro
