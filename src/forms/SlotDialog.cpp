#include "forms/SlotDialog.h"

#include "forms/Placement.h"
#include "forms/Question.h"
#include "engine/Engine.h"
#include "persistence/RecordFile.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaro {
namespace {

constexpr QPoint kOffsetFromMainWindow{595, 235};

}  // namespace

SlotDialog::SlotDialog(SlotMode mode, SlotState& state, Engine& engine, QWidget* parent)
    : QDialog(parent), mode_(mode), state_(state), engine_(engine) {
    setObjectName("frm1");
    setWindowTitle(mode == SlotMode::Load ? QStringLiteral("Welches Brett laden?")
                                          : QStringLiteral("Sichern unter ..."));
    setFont(QFont(QStringLiteral("Arial")));

    auto* slotColumn = new QVBoxLayout;
    for (int slot = 0; slot < 4; ++slot) {
        auto* option = new QRadioButton(QStringLiteral("Nr. &%1").arg(slot + 1), this);
        option->setObjectName(QStringLiteral("opt%1").arg(slot + 1));
        option->installEventFilter(this);
        // clicked, unlike toggled, comes only from the player, never from setChecked.
        connect(option, &QRadioButton::clicked, this, &SlotDialog::Confirm);
        slotColumn->addWidget(option);
        options_[static_cast<std::size_t>(slot)] = option;
    }
    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setObjectName("cmd1");
    cancel_ = new QPushButton(QStringLiteral("&Abbruch"), this);
    cancel_->setObjectName("cmd2");
    connect(ok_, &QPushButton::clicked, this, &SlotDialog::Confirm);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(slotColumn);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
    WidenForTitle(this);

    if (parent != nullptr) PlaceWindow(this, parent->frameGeometry().topLeft() + kOffsetFromMainWindow);

    QRadioButton* preselected = option(std::clamp(state_.selectedSlot, 0, 3));
    preselected->setChecked(true);
    preselected->setFocus();
}

SlotOutcome SlotDialog::Run(SlotMode mode, SlotState& state, Engine& engine, QWidget* parent) {
    if (mode == SlotMode::Save) engine.Config().currentFile = std::string(kBoardFile);
    SlotDialog dialog(mode, state, engine, parent);
    dialog.exec();
    if (mode == SlotMode::Save && dialog.outcome() == SlotOutcome::Failed) {
        ShowMessage(parent, SaveFailedText(QString::fromStdString(engine.Config().currentFile), dialog.failure_));
    }
    return dialog.outcome();
}

void SlotDialog::Confirm() {
    for (int slot = 0; slot < 4; ++slot) {
        if (option(slot)->isChecked()) state_.selectedSlot = slot;
    }
    const FileResult result = mode_ == SlotMode::Load
                                  ? LoadRecord(engine_, state_.selectedSlot)
                                  : SaveRecord(engine_.Model(), engine_.Config(), state_.selectedSlot);
    outcome_ = result ? SlotOutcome::Done : SlotOutcome::Failed;
    failure_ = result.reason;
    accept();
}

// Typed keys act when released, so the release never reaches the window behind the dialog.
// Keys without a printable character (Tab, arrows, modifiers) only move the focus; Esc cancels,
// because confirming on Esc would overwrite a slot the player meant to keep.
bool SlotDialog::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto own = std::find(options_.begin(), options_.end(), watched);
    // An arrow key on a radio button would click its neighbour, and a click confirms.
    const int step = key->key() == Qt::Key_Up || key->key() == Qt::Key_Left      ? -1
                     : key->key() == Qt::Key_Down || key->key() == Qt::Key_Right ? 1
                                                                                 : 0;
    if (step != 0 && own != options_.end() && key->modifiers() == Qt::NoModifier) {
        if (type == QEvent::KeyPress) MoveAmongOptions(static_cast<int>(own - options_.begin()), step);
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool printable = !key->text().isEmpty() && key->text()[0].isPrint();
    if (key->key() == Qt::Key_Escape || (!enter && !printable)) return QDialog::eventFilter(watched, event);

    if (type == QEvent::KeyPress) {
        if (!key->isAutoRepeat()) pressedKey_ = key->key();
        return true;
    }
    if (key->isAutoRepeat() || key->key() != pressedKey_) return true;
    pressedKey_ = 0;
    for (int slot = 0; slot < 4; ++slot) {
        if (watched == option(slot)) {
            OptionKey(slot, *key);
            break;
        }
    }
    return true;
}

void SlotDialog::MoveAmongOptions(int fromSlot, int step) {
    QRadioButton* next = option((fromSlot + step + 4) % 4);
    next->setChecked(true);
    next->setFocus(Qt::OtherFocusReason);
}

void SlotDialog::OptionKey(int ownSlot, const QKeyEvent& key) {
    const QString text = key.text();
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        state_.selectedSlot = ownSlot;
    } else if (text.size() == 1 && text[0] >= QLatin1Char('1') && text[0] <= QLatin1Char('4')) {
        state_.selectedSlot = text[0].unicode() - '1';
    }
    QRadioButton* chosen = option(std::clamp(state_.selectedSlot, 0, 3));
    chosen->setChecked(true);
    chosen->setFocus();
    Confirm();
}

}  // namespace tessaro
