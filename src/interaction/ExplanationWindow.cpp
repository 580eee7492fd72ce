#include "interaction/ExplanationWindow.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tessaro {

ExplanationWindow::ExplanationWindow(QWidget* board)
    : QWidget(board->window(), Qt::Tool), board_(board), text_(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Tessaro – Tipp erklärt"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    text_->setReadOnly(true);
    text_->setAccessibleName(QStringLiteral("Erklärung des Tipps"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(text_);
    resize(360, 300);
}

void ExplanationWindow::ShowText(const QString& text) {
    text_->setPlainText(text);
    text_->setAccessibleDescription(text);
    if (!isVisible()) move(board_->window()->frameGeometry().topRight() + QPoint(8, 0));
    show();
}

QString ExplanationWindow::Text() const { return text_->toPlainText(); }

QWidget* ExplanationWindow::TextWidget() const { return text_; }

void ExplanationWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tessaro
