#pragma once

#include <QString>
#include <QWidget>

class QKeyEvent;
class QPlainTextEdit;

namespace tessaro {

// A small read-only window beside the board with the whole explanation of a hint. It does not take
// the keyboard from the board when it appears; Esc closes it.
class ExplanationWindow final : public QWidget {
public:
    explicit ExplanationWindow(QWidget* board);

    // Shows the text right of the board's window.
    void ShowText(const QString& text);
    QString Text() const;
    // The widget assistive technology reads the text from.
    QWidget* TextWidget() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* board_;
    QPlainTextEdit* text_;
};

}  // namespace tessaro
