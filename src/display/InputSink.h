#pragma once

#include <QPoint>
#include <QPointF>
#include <Qt>

namespace tessaro {

// Whoever handles the main window's input right now (a play loop, the picker, the menu shell).
// Keys pressed or released with Alt held never arrive: they belong to the menu bar.
class InputSink {
public:
    virtual ~InputSink() = default;
    // A key went down (before the character it types, if any).
    virtual void KeyPressed(int /*qtKey*/, bool /*autoRepeat*/) {}
    // A key went down with Ctrl held (once, not on auto-repeat), before KeyPressed.
    virtual void ControlKeyPressed(int /*qtKey*/, Qt::KeyboardModifiers /*modifiers*/) {}
    // A key that moves or uses the keyboard cursor went down (also on auto-repeat). True when it
    // was taken: then nothing else sees the press, nor its release, nor a character it types.
    virtual bool CursorKeyPressed(int /*qtKey*/, Qt::KeyboardModifiers /*modifiers*/, bool /*autoRepeat*/) {
        return false;
    }
    // A key went up; qtKey is the virtual key (Qt::Key_A for "a" and "A").
    virtual void KeyReleased(int qtKey, bool autoRepeat) = 0;
    // A character was typed: its code, 27 for Esc.
    virtual void CharTyped(int code) = 0;
    virtual void MousePressed(Qt::MouseButton button, QPoint position) = 0;
    virtual void MouseMoved(QPointF position) = 0;
    virtual void CloseRequested() = 0;
};

}  // namespace tessaro
