#pragma once

#include <QPoint>
#include <QString>
#include <qnamespace.h>

namespace tessaro {

class Display;
class GameClock;

// P in a timed game: the clock stops and the overlay covers every cell until P again or a click.
// Meanwhile the loop keys do nothing but the ways out of the loop.
class GamePause {
public:
    GamePause(Display& display, GameClock& clock) : display_(display), clock_(clock) {}

    // A released loop key; true when it was taken here: P, and while paused every key but Esc and
    // (in digits mode) A.
    bool KeyReleased(int key, bool ownBoard, bool showDigits);
    // A mouse press while paused resumes and is taken; a left press on the Abbruch button is not.
    bool TakesPress(Qt::MouseButton button, QPoint position);
    bool Paused() const { return paused_; }
    void Resume();

private:
    void Pause();

    Display& display_;
    GameClock& clock_;
    bool paused_ = false;
    QString helpBefore_;
};

}  // namespace tessaro
