#pragma once

#include <QPoint>
#include <QPointF>
#include <QString>

#include <functional>
#include <set>
#include <vector>

#include "display/InputSink.h"
#include "interaction/GamePause.h"
#include "interaction/HintKeys.h"

class QEventLoop;

namespace tessaro {

class Display;
class Engine;
class GameClock;

// Pointer, picker and key state shared by the play loops, the symbol picker and mouse tracking.
struct InteractionState {
    int pointerX = 0;
    int pointerY = 0;
    int clickedColumn = 0;
    int clickedRow = 0;
    QString keyLatch;
    bool pickerOpen = false;
    int pickerLeft = 0;
    int pickerTop = 0;
    int pickerColumn = 0;
    int pickerRow = 0;
    bool closedByRightButton = false;
    // Set by Esc in the picker and by a declined exit question; cleared by every menu command.
    bool leaveRequest = false;
};

// What the play loops ask of the rest of the program (dialogs, printing, help live above them).
struct PlayActions {
    std::function<void()> loadBoard;  // the slot dialog for loading; "brett.brd" is already current
    std::function<void()> saveBoard;
    std::function<void()> printBoard;
    std::function<void()> showHelp;
    // A German message box (a paste that was refused says why).
    std::function<void(const QString&)> tell;
    // The 200 ms pause of the ways out of a loop (replaceable so tests need not wait).
    std::function<void()> pause;
};

// The button row under the board.
struct PlayButton {
    const char* caption;
    int left;
    int hitFrom;
    int hitTo;
    int key;
};
const std::vector<PlayButton>& PlayButtons();
// The button whose inclusive hit range holds (x, y), or nullptr.
const PlayButton* ButtonAt(int x, int y);

// The game-mode loop, the own-board mode, symbol entry and pointer tracking. Each mode runs a
// nested event loop until it ends; the main window's input arrives through InputSink and goes to
// the innermost mode.
class Interaction final : public InputSink {
public:
    Interaction(Display& display, Engine& engine, GameClock& clock, InteractionState& state,
                PlayActions actions);
    ~Interaction() override;

    void GameModeLoop();
    void OwnBoardMode();
    // Waits for the choice for the cell whose picker is on screen.
    void PickSymbol(int column, int row);
    // Returns once no mouse button is held.
    void WaitMouseRelease();
    void Win_0_MouseMove(QPointF position);
    // The player declined to quit: an open picker ends as if Esc had been pressed.
    void RequestLeave();
    // Into a new image (the window's size changed): the button row as it stands and an open picker.
    void RedrawControls();

    bool InMode() const { return !frames_.empty(); }
    // A mode is running and still takes input (tests wait for this between steps).
    bool AcceptingInput() const { return !frames_.empty() && !frames_.back()->done; }
    bool PickerOpen() const { return AcceptingInput() && frames_.back()->mode == Mode::Picker; }
    void SetPause(std::function<void()> pause) { actions_.pause = std::move(pause); }

    // InputSink
    void KeyPressed(int qtKey, bool autoRepeat) override;
    void KeyReleased(int qtKey, bool autoRepeat) override;
    // Ctrl+Z takes the last change back; Ctrl+Y or Ctrl+Shift+Z brings it back. Ctrl+C, Ctrl+Shift+C
    // and Ctrl+V copy and paste puzzles (ExchangeKey).
    void ControlKeyPressed(int qtKey, Qt::KeyboardModifiers modifiers) override;
    void CharTyped(int code) override;
    // The keyboard cursor of the play loops: arrows, Home/End, Enter, Space, Delete, Backspace, and
    // in digits mode the digits 0..9 (direct entry).
    bool CursorKeyPressed(int qtKey, Qt::KeyboardModifiers modifiers, bool autoRepeat) override;
    void MousePressed(Qt::MouseButton button, QPoint position) override;
    void MouseMoved(QPointF position) override;
    void CloseRequested() override;
    std::function<void()> onCloseRequested;

private:
    enum class Mode { Game, OwnBoard, Picker };
    struct Frame {
        Mode mode;
        QEventLoop* loop;
        bool done = false;
    };

    void RunFrame(Mode mode);
    void EndFrame();
    Frame* Top() { return frames_.empty() ? nullptr : frames_.back(); }

    void DrawButtons();
    void DrawButton(int key, int sunken);
    // Draws the button pressed and shows it at once.
    void ShowPressed(int key);
    // Draws the button pressed, acts, draws it raised.
    void PressButton(int key, const std::function<void()>& action);
    // A button whose action lives above the loops (dialog, printing, help), then the mouse release.
    void PressForAction(int key, const std::function<void()>& action);
    void HandleLoopKey(int key, bool ownBoard);
    // Highlights the symbol, or ends the highlight when it is the one shown; 0 always ends it.
    void HighlightSymbol(int symbol);
    void HandleLoopPress(Qt::MouseButton button, QPoint position, bool ownBoard);
    // Shows the keyboard cursor on a cell; markings on the board go first when it moves.
    void MoveCursor(int column, int row);
    // A typed digit in the cursor's cell, as the picker would enter it (0 empties).
    void EnterAtCursor(int value, bool ownBoard);
    // What a click of the button on the cursor's cell does.
    void CursorClick(Qt::MouseButton button, bool ownBoard);
    void Leave(bool ownBoard);
    void GameCellClick(bool rightButton);
    void OwnBoardCellClick(bool rightButton);
    void ClearOwnBoardGiven(int column, int row);
    void SolveRequest(bool ownBoard);
    // Ctrl+C copies the givens, Ctrl+Shift+C givens and entries, Ctrl+V pastes a puzzle; false for
    // any other key.
    bool ExchangeKey(int qtKey, Qt::KeyboardModifiers modifiers, bool ownBoard);
    // A solved board in a running timed game: the final readout and the hall-of-fame entry.
    void FinishIfSolved();

    void PickerPress(Qt::MouseButton button, QPoint position);
    void PickerChar(int code);
    void TakeChoice(int value);
    void FinishPicker();

    Display& display_;
    Engine& engine_;
    GameClock& clock_;
    InteractionState& state_;
    PlayActions actions_;
    std::vector<Frame*> frames_;  // innermost last
    // Keys pressed while a play loop took input. A loop acts only on the release of such a key, so
    // a keystroke that the picker, a menu or a dialog took does not act a second time.
    std::set<int> keysDownInLoop_;
    std::set<int> keysTakenByControl_;
    HintKeys hintKeys_{display_, engine_, clock_};
    GamePause pause_{display_, clock_};
    QString helpBeforePaste_;
    bool buttonsShown_ = false;
    int pressedKey_ = 0;  // the button drawn pressed
};

}  // namespace tessaro
