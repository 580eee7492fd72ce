#pragma once

#include "engine/Board.h"

#include <QDialog>

#include <array>

class QKeyEvent;
class QPushButton;
class QRadioButton;

namespace tessaro {

class Engine;

// The slot last chosen in the board-slot dialog, kept for the next opening.
struct SlotState {
    int selectedSlot = 0;
};

enum class SlotMode { Load, Save };

// How the dialog ended: nothing chosen, the slot loaded or saved, or the file could not be
// read or written.
enum class SlotOutcome { Cancelled, Done, Failed };

// The form frm1: four option buttons for the slots of the board file, OK and Abbruch.
// A click on a slot, a typed key on a slot or OK loads or saves at once.
class SlotDialog : public QDialog {
    Q_OBJECT

public:
    SlotDialog(SlotMode mode, SlotState& state, Engine& engine, QWidget* parent = nullptr);

    // Opens the dialog modally and returns when it has ended. Save mode points the current
    // file at the board file itself and tells the player when the save failed; load mode reads
    // the current file the caller has set.
    static SlotOutcome Run(SlotMode mode, SlotState& state, Engine& engine, QWidget* parent);

    SlotOutcome outcome() const { return outcome_; }
    QRadioButton* option(int slot) const { return options_[static_cast<std::size_t>(slot)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Confirm();
    void OptionKey(int ownSlot, const QKeyEvent& key);
    void MoveAmongOptions(int fromSlot, int step);

    SlotMode mode_;
    SlotState& state_;
    Engine& engine_;
    std::array<QRadioButton*, 4> options_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    SlotOutcome outcome_ = SlotOutcome::Cancelled;
    QString failure_;
    int pressedKey_ = 0;
};

}  // namespace tessaro
