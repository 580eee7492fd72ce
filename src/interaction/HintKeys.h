#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <qnamespace.h>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "engine/BoardObserver.h"
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
// it) and P (pause) of the play loops. Markings and the
// pause cover are drawn over the board only; the board's image from before comes back when they go.
// While markings are up this object stands between the engine and its observer, so that the first
// change of the board takes them away before it is painted.
// T names a wrong entry first, then the logic engine's easiest step, drawn; T again removes the
// entry, enters the placement, or takes the eliminations into the hint's own candidate state and
// shows the next step. That state lives while the board only gains entries.
class HintKeys final : public BoardObserver {
public:
    HintKeys(Display& display, Engine& engine, GameClock& clock);
    ~HintKeys() override;
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
    // The markings go now (the keyboard cursor is about to move over them).
    void Dismiss() { Unmark(); }
    // Shift+T: the whole explanation of the hint on screen (found first when none is) in a window
    // beside the board, told to assistive technology.
    void Explain(bool ownBoard);
    // Esc while the explanation window is open closes it; true when it did.
    bool CloseExplanation();
    const ExplanationWindow* Explanation() const { return explanation_.get(); }

    // BoardObserver: each call ends the markings, then goes on to the engine's own observer.
    void CellChanged(int x, int y, int value) override;
    void AllCellsChanged() override;
    void StatisticsRefreshed(bool beep) override;
    void CandidatesChanged() override;
    void TimedGameEnded() override;
    void GivensChanged() override;
    void MarksChanged(int x, int y) override;

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

    // The board's image is kept and the engine reports to this object until Unmark.
    void BeginMarking();
    // Puts the kept image and the engine's observer back; returns that observer.
    BoardObserver& Unmark();
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
    BoardObserver* next_ = nullptr;  // the engine's observer while markings are up
    QImage unmarked_;
    std::optional<Shown> shown_;  // the hint on screen; the next T acts on it
    QString shownText_;
    std::optional<logic::LogicState> hintState_;
    Grid hintBoard_{};       // the board hintState_ belongs to
    Grid solvedGivens_{};    // the givens solution_ belongs to
    int solutionCount_ = -1;
    Grid solution_{};
    std::unique_ptr<ExplanationWindow> explanation_;
    bool paused_ = false;
    QImage beforePause_;
    QString helpBeforePause_;
};

}  // namespace tessaro
