#include "forms/Question.h"

#include <QMessageBox>
#include <QPushButton>

namespace tessaro {

bool AskJaNein(QWidget* parent, const QString& title, const QString& text, bool yesIsDefault) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&JA"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&NEIN"), QMessageBox::NoRole);
    box.setDefaultButton(yesIsDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tessaro"), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace tessaro
