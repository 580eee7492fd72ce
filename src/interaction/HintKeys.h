#pragma once

#include <QImage>
#include <QPoint>
#include <qnamespace.h>
#include <QString>

#include <optional>

#include "engine/BoardObserver.h"
#include "engine/Conflicts.h"
#include "engine/Hint.h"

namespace tessaro {

class Display;
class Engine;
class GameClock;

// F or W (show the conflicts; in letters mode, where F is a symbol, only W), T (hint, then place
// it) and P (pause) of the play loops. Markings and the
// pause cover are drawn over the board only; the board's image from before comes back when they go.
// While markings are up this object stands between the engine and its observer, so that the first
// change of the board takes them away before it is painted.
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

    // BoardObserver: each call ends the markings, then goes on to the engine's own observer.
    void CellChanged(int x, int y, int value) override;
    void AllCellsChanged() override;
    void StatisticsRefreshed(bool beep) override;
    void CandidatesChanged() override;
    void TimedGameEnded() override;
    void GivensChanged() override;
    void MarksChanged(int x, int y) override;

private:
    void ShowConflicts(const ConflictSet& conflicts);
    void Tip(bool ownBoard);
    void Place(const Hint& hint, bool ownBoard);
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
    void Repaint();

    Display& display_;
    Engine& engine_;
    GameClock& clock_;
    BoardObserver* next_ = nullptr;  // the engine's observer while markings are up
    QImage unmarked_;
    std::optional<Hint> shownHint_;  // the hint on screen; the next T places it
    bool paused_ = false;
    QImage beforePause_;
    QString helpBeforePause_;
};

}  // namespace tessaro
