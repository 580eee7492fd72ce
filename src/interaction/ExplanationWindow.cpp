#include "interaction/ExplanationWindow.h"

#include <QKeyEvent>
#include <QScreen>

#include <algorithm>
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
    if (!isVisible()) move(PlaceBeside(board_->window()->frameGeometry()));
    show();
}

QPoint ExplanationWindow::PlaceBeside(const QRect& main) const {
    // Right of the game where the screen has room, else left of it, else over its right edge.
    const QScreen* shown = board_->screen();
    const QRect room = shown ? shown->availableGeometry() : QRect(main.topRight(), size());
    const int width = frameGeometry().width();
    const int right = main.right() + 1 + 8;
    const int left = main.left() - 8 - width;
    int x = right;
    if (right + width > room.right() + 1) x = left >= room.left() ? left : room.right() + 1 - width;
    return {std::max(x, room.left()), std::max(main.top(), room.top())};
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
