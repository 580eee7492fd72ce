#include "interaction/Interaction.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>

#include <chrono>

#include "display/Canvas.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "display/Geometry.h"
#include "display/Primitives.h"
#include "engine/Engine.h"
#include "halloffame/GameClock.h"

namespace tessaro {
namespace {

constexpr int kEsc = 27;

}  // namespace

const std::vector<PlayButton>& PlayButtons() {
    static const std::vector<PlayButton> buttons{
        {" _Laden ", 30, 29, 107, Qt::Key_L},      {" _Sichern ", 108, 108, 201, Qt::Key_S},
        {" _Drucken ", 202, 202, 295, Qt::Key_D},  {" _Neustart ", 296, 296, 397, Qt::Key_N},
        {" _Hilfe ", 398, 398, 475, Qt::Key_H},    {" _Abbruch ", 476, 476, 612, Qt::Key_A},
    };
    return buttons;
}

const PlayButton* ButtonAt(int x, int y) {
    if (y < kButtonHitTop || y > kButtonHitBottom) return nullptr;
    for (const PlayButton& button : PlayButtons()) {
        if (x >= button.hitFrom && x <= button.hitTo) return &button;
    }
    return nullptr;
}

Interaction::Interaction(Display& display, Engine& engine, GameClock& clock, InteractionState& state,
                         PlayActions actions)
    : display_(display), engine_(engine), clock_(clock), state_(state), actions_(std::move(actions)) {
    if (!actions_.pause) {
        // The window goes on painting meanwhile; the ended frame ignores the input.
        actions_.pause = [] {
            QEventLoop pause;
            QTimer::singleShot(std::chrono::milliseconds(200), &pause, &QEventLoop::quit);
            pause.exec();
        };
    }
}

Interaction::~Interaction() = default;

// ---- nested loops --------------------------------------------------------------------------

void Interaction::RunFrame(Mode mode) {
    QEventLoop loop;
    Frame frame{mode, &loop};
    frames_.push_back(&frame);
    if (!frame.done) loop.exec();
    frames_.pop_back();
}

void Interaction::EndFrame() {
    if (Frame* frame = Top()) {
        frame->done = true;
        frame->loop->quit();
    }
}

// ---- buttons --------------------------------------------------------------------------------

void Interaction::DrawButton(int key, int sunken) {
    if (sunken) {
        pressedKey_ = key;
    } else if (pressedKey_ == key) {
        pressedKey_ = 0;
    }
    for (const PlayButton& button : PlayButtons()) {
        if (button.key == key) {
            DrawTextButton(display_.canvas(), sunken, button.left, kButtonTop, QString::fromUtf8(button.caption));
        }
    }
}

void Interaction::DrawButtons() {
    buttonsShown_ = true;
    for (const PlayButton& button : PlayButtons()) DrawButton(button.key, 0);
}

void Interaction::RedrawControls() {
    if (buttonsShown_) {
        for (const PlayButton& button : PlayButtons()) DrawButton(button.key, button.key == pressedKey_ ? 1 : 0);
    }
    if (!display_.state().overlay.picker.isEmpty()) {
        display_.FreePickerBackground();
        display_.DrawPicker(state_.pickerColumn, state_.pickerRow);
    }
}

void Interaction::ShowPressed(int key) {
    DrawButton(key, 1);
    // The action may not return to the event loop before the button is raised again: put the
    // pressed button on the screen now.
    for (const PlayButton& button : PlayButtons()) {
        if (button.key == key) {
            const int width = TextButtonWidth(QString::fromUtf8(button.caption));
            display_.area().repaint(QRect(button.left - 1, kButtonTop - 1, width + 2, 28));
        }
    }
}

void Interaction::PressButton(int key, const std::function<void()>& action) {
    ShowPressed(key);
    action();
    DrawButton(key, 0);
}

void Interaction::PressForAction(int key, const std::function<void()>& action) {
    PressButton(key, [&] {
        if (action) action();
        WaitMouseRelease();
    });
}

// ---- the two loops --------------------------------------------------------------------------

void Interaction::GameModeLoop() {
    display_.RedrawBoard();
    DrawButtons();
    display_.DrawTimerPanel();
    if (clock_.running) clock_.ClockThread();
    RunFrame(Mode::Game);
    buttonsShown_ = false;  // the menu command wipes the row next
    pause_.Resume();
    hintKeys_.LoopEnded();
    display_.ShowCursor(0, 0);
}

void Interaction::OwnBoardMode() {
    engine_.Config().ownBoard = true;
    engine_.ForgetMoves();
    DrawButtons();
    RunFrame(Mode::OwnBoard);
    buttonsShown_ = false;
    hintKeys_.LoopEnded();
    display_.ShowCursor(0, 0);
}

void Interaction::Leave(bool ownBoard) {
    ShowPressed(Qt::Key_A);  // stays pressed until the menu command wipes the row
    EndFrame();              // from here on the loop takes no input, also during the pause
    if (!ownBoard) clock_.running = false;
    actions_.pause();
    if (!ownBoard) clock_.StopClock();
}

void Interaction::SolveRequest(bool ownBoard) {
    if (state_.keyLatch == "K") {
        if (!ownBoard) clock_.running = false;
        engine_.SolveWithRestart();
        if (!ownBoard) clock_.StopClock();
    }
    state_.keyLatch.clear();
}

void Interaction::HandleLoopKey(int key, bool ownBoard) {
    Settings& settings = engine_.Config();
    switch (key) {
    case Qt::Key_L:
        PressButton(Qt::Key_L, [&] {
            settings.currentFile = std::string(kBoardFile);
            if (actions_.loadBoard) actions_.loadBoard();
            display_.UpdateDifficultyPanel();
            display_.RedrawBoard();
            if (!ownBoard) clock_.RefreshClock();
            WaitMouseRelease();
        });
        break;
    case Qt::Key_S:
        PressForAction(Qt::Key_S, actions_.saveBoard);
        break;
    case Qt::Key_D:
        PressForAction(Qt::Key_D, actions_.printBoard);
        break;
    case Qt::Key_H:
        PressForAction(Qt::Key_H, actions_.showHelp);
        break;
    case Qt::Key_N:
        PressButton(Qt::Key_N, [&] {
            engine_.Restart();
            display_.RedrawBoard();
        });
        break;
    case Qt::Key_A:
        // In letters mode A is a symbol, not a way out.
        if (settings.showDigits) Leave(ownBoard);
        break;
    case Qt::Key_Escape:
        Leave(ownBoard);
        break;
    case Qt::Key_K:
        state_.keyLatch = "K";
        break;
    case Qt::Key_O:
        SolveRequest(ownBoard);
        break;
    case Qt::Key_M:
        if (!ownBoard) clock_.running = false;
        engine_.ToggleCandidateDisplay();
        break;
    case Qt::Key_X:
        if (ownBoard) engine_.Shuffle();
        break;
    default:
        // A shown cursor takes the digits (letters mode leaves them here).
        if (key >= Qt::Key_0 && key <= Qt::Key_9 && display_.state().overlay.cursorColumn == 0) {
            HighlightSymbol(key - Qt::Key_0);
        }
        break;
    }
}

void Interaction::HighlightSymbol(int symbol) {
    display_.SetHighlight(symbol == display_.state().highlightedSymbol ? 0 : symbol);
}

void Interaction::HandleLoopPress(Qt::MouseButton button, QPoint position, bool ownBoard) {
    if (pause_.TakesPress(button, position)) return;
    state_.pointerX = position.x();
    state_.pointerY = position.y();
    if (button == Qt::LeftButton) {
        if (const int symbol = StatisticsSymbolAt(position.x(), position.y())) {
            HighlightSymbol(symbol);
            return;
        }
        if (const PlayButton* hit = ButtonAt(state_.pointerX, state_.pointerY)) {
            if (hit->key == Qt::Key_A) {
                Leave(ownBoard);
            } else if (hit->key == Qt::Key_N) {
                HandleLoopKey(Qt::Key_N, ownBoard);
                WaitMouseRelease();
            } else {
                HandleLoopKey(hit->key, ownBoard);
            }
            return;
        }
    }
    display_.state().noteMode = false;
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    const CellPosition cell = CellAt(state_.pointerX, state_.pointerY);
    if (cell.column == 0) return;
    state_.clickedColumn = cell.column;
    state_.clickedRow = cell.row;
    if (display_.state().overlay.cursorColumn != 0) MoveCursor(cell.column, cell.row);
    if (ownBoard) {
        OwnBoardCellClick(button == Qt::RightButton);
    } else {
        display_.state().noteMode = button == Qt::RightButton;
        GameCellClick(button == Qt::RightButton);
    }
}

void Interaction::GameCellClick(bool rightButton) {
    const int column = state_.clickedColumn;
    const int row = state_.clickedRow;
    const BoardModel& model = engine_.Model();
    if (model.given(column, row) != 0) return;
    if (rightButton && model.cell(column, row) == 0) {
        display_.DrawPicker(column, row);
        PickSymbol(column, row);
    } else if (rightButton) {
        engine_.EnterSymbol(column, row, 0);
        engine_.EntryDone();
    } else {
        display_.DrawPicker(column, row);
        PickSymbol(column, row);
        engine_.EntryDone();
    }
    FinishIfSolved();
}

void Interaction::FinishIfSolved() {
    if (engine_.StatusSolved() && clock_.running) {
        clock_.boardSolved = true;
        clock_.RefreshClock();
        clock_.running = false;
        clock_.boardSolved = false;
    }
}

void Interaction::ClearOwnBoardGiven(int column, int row) {
    if (engine_.Model().given(column, row) == 0) return;
    engine_.SetGiven(column, row, 0);
}

void Interaction::OwnBoardCellClick(bool rightButton) {
    const int column = state_.clickedColumn;
    const int row = state_.clickedRow;
    if (rightButton) {
        ClearOwnBoardGiven(column, row);
    } else {
        display_.DrawPicker(column, row);
        PickSymbol(column, row);
        // A chosen symbol became the given already; a right click clears it.
        if (state_.closedByRightButton) ClearOwnBoardGiven(column, row);
    }
    engine_.EntryDone();
}

// ---- symbol entry ---------------------------------------------------------------------------

void Interaction::PickSymbol(int column, int row) {
    // Published before the wait for the release: moves during it already hover over this picker
    // (with the last picker's place they would draw one there).
    state_.pickerLeft = PickerLeft(column);
    state_.pickerTop = PickerTop(row);
    state_.pickerColumn = column;
    state_.pickerRow = row;
    state_.pickerOpen = true;
    clock_.cellInput = true;
    WaitMouseRelease();
    state_.closedByRightButton = false;
    state_.leaveRequest = false;
    RunFrame(Mode::Picker);
    FinishPicker();
}

void Interaction::TakeChoice(int value) {
    DisplayState& look = display_.state();
    const int column = state_.pickerColumn;
    const int row = state_.pickerRow;
    look.pickerBusy = true;
    display_.RestorePickerBackground();
    if (look.noteMode) {
        engine_.SetMark(column, row, value);
    } else if (engine_.Config().ownBoard) {
        engine_.SetGiven(column, row, value);
    } else {
        engine_.EnterSymbol(column, row, value);
    }
    look.pickerBusy = false;
    EndFrame();
}

void Interaction::PickerPress(Qt::MouseButton button, QPoint position) {
    state_.pointerX = position.x();
    state_.pointerY = position.y();
    if (button == Qt::LeftButton) {
        // The item under the press, even when no pointer movement announced it.
        const int item = PickerItemAt(state_.pickerLeft, state_.pickerTop, position.x(), position.y());
        if (item == 0) return;  // outside the picker: it stays open
        display_.state().hoveredItem = item;
        TakeChoice(item);
        return;
    }
    if (button != Qt::RightButton) return;
    DisplayState& look = display_.state();
    const int column = state_.pickerColumn;
    const int row = state_.pickerRow;
    state_.closedByRightButton = true;
    look.pickerBusy = true;
    display_.RestorePickerBackground();
    if (look.noteMode) {
        engine_.ClearMarks(column, row);
        look.hoveredItem = 10;
    } else if (!engine_.Config().ownBoard) {
        engine_.EnterSymbol(column, row, 0);
    }
    look.pickerBusy = false;
    EndFrame();
}

void Interaction::PickerChar(int code) {
    int symbol = code;
    if (code == kEsc) {
        symbol = '0';
        state_.leaveRequest = true;
        state_.closedByRightButton = false;
    } else if (!engine_.Config().showDigits) {
        symbol = code - 48;  // "a".."i" become "1".."9"
    }
    if (symbol < '0' || symbol > '9') return;
    const int value = symbol - '0';
    if (!display_.state().noteMode) display_.state().hoveredItem = value;
    TakeChoice(value);
}

void Interaction::FinishPicker() {
    DisplayState& look = display_.state();
    if (look.backgroundSaved) display_.FreePickerBackground();
    state_.pickerOpen = false;
    WaitMouseRelease();
    display_.SetHelpText(display_.LargeFontMode() ? QStringLiteral("Bitte ein Feld anklicken!    ")
                                                  : QStringLiteral("Bitte ein Feld anklicken! "));
    // Marks were recomputed by the engine; an entry's caller ends it with EntryDone.
    clock_.cellInput = false;
}

void Interaction::RequestLeave() {
    state_.leaveRequest = true;
    Frame* frame = Top();
    if (frame && frame->mode == Mode::Picker) PickerChar(kEsc);
}

// ---- pointer --------------------------------------------------------------------------------

void Interaction::WaitMouseRelease() {
    if (QGuiApplication::mouseButtons() == Qt::NoButton) return;
    // Released anywhere (also over a dialog): watch the application's events until no button is held.
    struct ReleaseWatch : QObject {
        QEventLoop loop;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::MouseButtonRelease &&
                static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
                loop.quit();
            }
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    if (QGuiApplication::mouseButtons() != Qt::NoButton) watch.loop.exec();
    qApp->removeEventFilter(&watch);
}

void Interaction::Win_0_MouseMove(QPointF position) {
    const int x = qRound(position.x());
    const int y = qRound(position.y());
    if (state_.pickerOpen) {
        const int item = PickerItemAt(state_.pickerLeft, state_.pickerTop, x, y);
        if (item != 0 && item != display_.state().hoveredItem) {
            display_.state().hoveredItem = item;
            display_.DrawPicker(state_.pickerColumn, state_.pickerRow);
        }
    }
    state_.pointerX = x;
    state_.pointerY = y;
}

// ---- input routing --------------------------------------------------------------------------

void Interaction::KeyPressed(int qtKey, bool autoRepeat) {
    Frame* frame = Top();
    // The start screen shows a board too.
    if (!frame && !autoRepeat && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) HighlightSymbol(qtKey - Qt::Key_0);
    if (autoRepeat || !frame || frame->done || frame->mode == Mode::Picker) return;
    keysDownInLoop_.insert(qtKey);
}

void Interaction::ControlKeyPressed(int qtKey, Qt::KeyboardModifiers modifiers) {
    Frame* frame = Top();
    if (!frame || frame->done || frame->mode == Mode::Picker) return;
    // Nothing of the covered board may change or be copied while a game is paused.
    if (pause_.Paused()) {
        keysTakenByControl_.insert(qtKey);
        return;
    }
    if (ExchangeKey(qtKey, modifiers, frame->mode == Mode::OwnBoard)) {
        keysTakenByControl_.insert(qtKey);
        return;
    }
    const bool redo = qtKey == Qt::Key_Y || (qtKey == Qt::Key_Z && (modifiers & Qt::ShiftModifier));
    if (qtKey != Qt::Key_Z && qtKey != Qt::Key_Y) return;
    // The release of this key must not act as a loop key as well.
    keysTakenByControl_.insert(qtKey);
    if (!redo) {
        // The help panel goes back with a paste taken back.
        if (engine_.Undo() && engine_.Moves().LastKind() == ChangeKind::Puzzle) display_.SetHelpText(helpBeforePaste_);
        return;
    }
    if (!engine_.Redo()) return;
    // Only the player's own entry brought back may finish a timed game.
    if (frame->mode == Mode::Game && engine_.Moves().LastKind() == ChangeKind::Symbol) FinishIfSolved();
}

void Interaction::KeyReleased(int qtKey, bool autoRepeat) {
    if (autoRepeat) return;
    if (keysDownInLoop_.erase(qtKey) == 0) return;
    if (keysTakenByControl_.erase(qtKey) != 0) return;
    Frame* frame = Top();
    if (!frame || frame->done || frame->mode == Mode::Picker) return;
    const bool ownBoard = frame->mode == Mode::OwnBoard;
    if (qtKey == Qt::Key_Escape && hintKeys_.CloseExplanation()) return;
    if (pause_.KeyReleased(qtKey, ownBoard, engine_.Config().showDigits)) return;
    if (hintKeys_.KeyReleased(qtKey, ownBoard)) return;
    HandleLoopKey(qtKey, frame->mode == Mode::OwnBoard);
}

void Interaction::CharTyped(int code) {
    Frame* frame = Top();
    if (frame && !frame->done && frame->mode == Mode::Picker) PickerChar(code);
}

void Interaction::MousePressed(Qt::MouseButton button, QPoint position) {
    Frame* frame = Top();
    if (!frame || frame->done) {
        state_.pointerX = position.x();
        state_.pointerY = position.y();
        const int symbol = StatisticsSymbolAt(position.x(), position.y());
        if (!frame && button == Qt::LeftButton && symbol != 0) HighlightSymbol(symbol);
        return;
    }
    if (frame->mode == Mode::Picker) {
        PickerPress(button, position);
    } else {
        HandleLoopPress(button, position, frame->mode == Mode::OwnBoard);
    }
}

void Interaction::MouseMoved(QPointF position) { Win_0_MouseMove(position); }

void Interaction::CloseRequested() {
    if (onCloseRequested) onCloseRequested();
}

}  // namespace tessaro
