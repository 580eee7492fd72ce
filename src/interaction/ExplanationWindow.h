#pragma once

#include <QPoint>
#include <QRect>
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

    // Shows the text beside the board's window, on the side the screen has room for.
    void ShowText(const QString& text);
    QString Text() const;
    // The widget assistive technology reads the text from.
    QWidget* TextWidget() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPoint PlaceBeside(const QRect& main) const;

    QWidget* board_;
    QPlainTextEdit* text_;
};

}  // namespace tessaro
