#pragma once

#include <QString>

#include <memory>

#include "display/HintMarks.h"
#include "logic/Coach.h"

namespace tessaro {

class Display;
class Engine;
class ExplanationWindow;
class GameClock;

// F or W (show the conflicts; in letters mode, where F is a symbol, only W), T and Shift+T of the
// play loops. T asks the coach and shows its advice on the display's overlay: a wrong entry first,
// else where to look, then the step, then its entry. The first change of the board takes the
// marks away.
class HintKeys final {
public:
    HintKeys(Display& display, Engine& engine, GameClock& clock);
    ~HintKeys();
    HintKeys(const HintKeys&) = delete;
    HintKeys& operator=(const HintKeys&) = delete;

    // A released loop key; true when it was taken here: F (digits mode), W, T.
    bool KeyReleased(int key, bool ownBoard);
    // The loop ends: the marks go.
    void LoopEnded() { Unmark(); }
    // Shift+T: the whole explanation of the hint on screen (found first when none is) in a window
    // beside the board, told to assistive technology.
    void Explain(bool ownBoard);
    // Esc while the explanation window is open closes it; true when it did.
    bool CloseExplanation();
    const ExplanationWindow* Explanation() const { return explanation_.get(); }

private:
    void ShowConflicts();
    void Tip(bool ownBoard);
    void Show(const Overlay::Marks& marks, const QString& line);
    void SetText(const QString& text);
    // The hint (or the conflicts) leaves the screen.
    void Unmark();
    // As the candidate display does: the clock stops and the game can no longer enter the hall of fame.
    void EndTimedGame(bool ownBoard);
    void UpdateExplanation();

    Display& display_;
    Engine& engine_;
    GameClock& clock_;
    logic::Coach coach_;
    QString shownText_;
    std::unique_ptr<ExplanationWindow> explanation_;
};

}  // namespace tessaro
