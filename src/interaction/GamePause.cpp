#include "interaction/GamePause.h"

#include "display/Display.h"
#include "halloffame/GameClock.h"
#include "interaction/Interaction.h"

namespace tessaro {

bool GamePause::KeyReleased(int key, bool ownBoard, bool showDigits) {
    if (!paused_) {
        if (key != Qt::Key_P) return false;
        if (!ownBoard && clock_.running) Pause();
        return true;
    }
    if (key == Qt::Key_P) {
        Resume();
        return true;
    }
    return !(key == Qt::Key_Escape || (key == Qt::Key_A && showDigits));
}

bool GamePause::TakesPress(Qt::MouseButton button, QPoint position) {
    if (!paused_) return false;
    const PlayButton* hit = button == Qt::LeftButton ? ButtonAt(position.x(), position.y()) : nullptr;
    if (hit && hit->key == Qt::Key_A) return false;
    Resume();
    return true;
}

void GamePause::Pause() {
    paused_ = true;
    clock_.PauseClock();
    helpBefore_ = display_.state().helpText;
    display_.overlay().paused = true;
    display_.RepaintOverlay();
    display_.SetHelpText(QStringLiteral("Pause: P spielt weiter"));
}

void GamePause::Resume() {
    if (!paused_) return;
    paused_ = false;
    display_.overlay().paused = false;
    display_.RepaintOverlay();
    display_.SetHelpText(helpBefore_);
    clock_.ResumeClock();
}

}  // namespace tessaro
