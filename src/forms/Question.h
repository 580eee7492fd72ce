#pragma once

#include <QString>

class QWidget;

namespace tessaro {

// A question box with the buttons "&JA" and "&NEIN"; true when "&JA" was pressed. Esc answers
// "&NEIN"; yesIsDefault chooses which button Enter presses.
bool AskJaNein(QWidget* parent, const QString& title, const QString& text, bool yesIsDefault);

}  // namespace tessaro
