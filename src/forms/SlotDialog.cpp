#include "forms/SlotDialog.h"

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

    if (parent != nullptr) move(parent->frameGeometry().topLeft() + kOffsetFromMainWindow);

    QRadioButton* preselected = option(std::clamp(state_.selectedSlot, 0, 3));
    preselected->setChecked(true);
    preselected->setFocus();
}

SlotOutcome SlotDialog::Run(SlotMode mode, SlotState& state, Engine& engine, QWidget* parent) {
    if (mode == SlotMode::Save) engine.Config().currentFile = std::string(kBoardFile);
    SlotDialog dialog(mode, state, engine, parent);
    dialog.exec();
    return dialog.outcome();
}

void SlotDialog::Confirm() {
    for (int slot = 0; slot < 4; ++slot) {
        if (option(slot)->isChecked()) state_.selectedSlot = slot;
    }
    const bool ok = mode_ == SlotMode::Load
                        ? LoadRecord(engine_, state_.selectedSlot)
                        : SaveRecord(engine_.Model(), engine_.Config(), state_.selectedSlot);
    outcome_ = ok ? SlotOutcome::Done : SlotOutcome::Failed;
    accept();
}

// Typed keys act when released, so the release never reaches the window behind the dialog.
// Keys without text (Tab, arrows, modifiers) keep their usual meaning; Esc cancels, because
// confirming on Esc would overwrite a slot the player meant to keep.
bool SlotDialog::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) return QDialog::eventFilter(watched, event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter && key->text().isEmpty()) return QDialog::eventFilter(watched, event);

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
