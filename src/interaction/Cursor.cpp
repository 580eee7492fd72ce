// The keyboard cursor of the play loops. Its keys act on their press, as the Ctrl chords do, and
// are then taken: their release never reaches a loop and Enter or Space never types into the
// picker they open.

#include <algorithm>

#include "display/Display.h"
#include "display/Geometry.h"
#include "engine/Engine.h"
#include "interaction/Interaction.h"

namespace tessaro {
namespace {

bool IsCursorKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Home:
    case Qt::Key_End: case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Space: case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool Interaction::CursorKeyPressed(int qtKey, Qt::KeyboardModifiers modifiers, bool autoRepeat) {
    Frame* frame = Top();
    if (!frame || frame->done) return false;
    if (frame->mode == Mode::Picker) {
        // Shift+Enter in the picker is its right click, as Shift+Enter on the board is.
        const bool rightClick = (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) &&
                                (modifiers & Qt::ShiftModifier) && display_.state().overlay.cursorColumn != 0;
        if (rightClick && !autoRepeat) PickerPress(Qt::RightButton, {});
        return rightClick;
    }
    // The cover of a paused game stays; the keys are taken so that nothing else sees them.
    if (pause_.Paused()) return IsCursorKey(qtKey);
    const bool ownBoard = frame->mode == Mode::OwnBoard;
    if (qtKey == Qt::Key_T && (modifiers & Qt::ShiftModifier) &&
        !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (!autoRepeat) hintKeys_.Explain(ownBoard);
        return true;
    }
    const DisplayState& look = display_.state();
    int column = look.overlay.cursorColumn;
    int row = look.overlay.cursorRow;
    int dx = 0;
    int dy = 0;
    switch (qtKey) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: break;
    }
    if (dx != 0 || dy != 0) {
        if (column == 0) {
            // The first arrow shows the cursor where the player last clicked.
            column = state_.clickedColumn != 0 ? state_.clickedColumn : 1;
            row = state_.clickedColumn != 0 ? state_.clickedRow : 1;
        } else {
            column = std::clamp(column + dx, 1, 9);
            row = std::clamp(row + dy, 1, 9);
        }
        MoveCursor(column, row);
        return true;
    }
    // Until an arrow shows the cursor, the other keys keep their old (lack of) meaning.
    if (column == 0) return false;
    const bool control = modifiers & Qt::ControlModifier;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9 && engine_.Config().showDigits &&
        !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (!autoRepeat) EnterAtCursor(qtKey - Qt::Key_0, ownBoard);
        return true;
    }
    switch (qtKey) {
    case Qt::Key_Home:
        MoveCursor(1, control ? 1 : row);
        return true;
    case Qt::Key_End:
        MoveCursor(9, control ? 9 : row);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!autoRepeat) {
            const bool right = qtKey != Qt::Key_Space && (modifiers & Qt::ShiftModifier);
            CursorClick(right ? Qt::RightButton : Qt::LeftButton, ownBoard);
        }
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace: {
        // Only what a right click empties: on an empty cell that click would open the note picker.
        const BoardModel& model = engine_.Model();
        const bool emptiable = ownBoard ? model.given(column, row) != 0
                                        : model.given(column, row) == 0 && model.cell(column, row) != 0;
        if (!autoRepeat && emptiable) CursorClick(Qt::RightButton, ownBoard);
        return true;
    }
    default:
        return false;
    }
}

void Interaction::MoveCursor(int column, int row) { display_.ShowCursor(column, row); }

void Interaction::EnterAtCursor(int value, bool ownBoard) {
    const int column = display_.state().overlay.cursorColumn;
    const int row = display_.state().overlay.cursorRow;
    display_.state().noteMode = false;
    if (ownBoard) {
        // As the picker does: the symbol becomes the given, 0 clears it.
        if (value == 0) {
            ClearOwnBoardGiven(column, row);
        } else {
            engine_.SetGiven(column, row, value);
        }
        engine_.EntryDone();
        return;
    }
    const BoardModel& model = engine_.Model();
    if (model.given(column, row) != 0 || model.cell(column, row) == value) return;
    engine_.EnterSymbol(column, row, value);
    engine_.EntryDone();
    FinishIfSolved();
}

void Interaction::CursorClick(Qt::MouseButton button, bool ownBoard) {
    const DisplayState& look = display_.state();
    HandleLoopPress(button, {CellLeft(look.overlay.cursorColumn) + kCellSize / 2, CellTop(look.overlay.cursorRow) + kCellSize / 2},
                    ownBoard);
}

}  // namespace tessaro
