#pragma once

#include <QDialog>

class QPushButton;

namespace tessaro {

// Form `Inf`: the program's name and version; closed by `cmd15` or by closing it.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
    QPushButton* cmd15;
};

// Opens `Inf` modally at +149, +140 from the main window's top left corner.
void ShowAboutBox(QWidget* mainWindow);

}  // namespace tessaro
