#pragma once

#include <QString>

class QWidget;

namespace tessaro {

// A question box with the buttons "&JA" and "&NEIN"; true when "&JA" was pressed. Esc answers
// "&NEIN"; yesIsDefault chooses which button Enter presses.
bool AskJaNein(QWidget* parent, const QString& title, const QString& text, bool yesIsDefault);

// A message box captioned "Tessaro" with an OK button; returns when it is closed.
void ShowMessage(QWidget* parent, const QString& text);

}  // namespace tessaro
