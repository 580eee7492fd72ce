#include "forms/AboutBox.h"

#include "forms/Placement.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaro {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("Inf");
    setWindowTitle(QStringLiteral("über Tessaro"));
    setFont(QFont("Arial", 10));
    auto* text = new QLabel(QStringLiteral(
        "<p><b>Tessaro V5.0</b></p>"
        "<p>Sudoku X für den Linux-Desktop:<br>jede Zeile, jede Spalte, jeder 3&times;3-Block<br>"
        "und beide Hauptdiagonalen enthalten die Zahlen 1 bis 9 genau einmal.</p>"
        "<p>Vier Schwierigkeitsgrade, Kandidaten, Zeitmessung und Ruhmeshalle.</p>"));
    text->setObjectName("lbl1");
    text->setTextFormat(Qt::RichText);
    text->setAlignment(Qt::AlignCenter);
    cmd15 = new QPushButton(QStringLiteral("&OK"));
    cmd15->setObjectName("cmd15");
    cmd15->setDefault(true);
    connect(cmd15, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(cmd15, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ShowAboutBox(QWidget* mainWindow) {
    AboutBox box(mainWindow);
    if (mainWindow) PlaceWindow(&box, mainWindow->frameGeometry().topLeft() + QPoint(149, 140));
    box.exec();
}

}  // namespace tessaro
