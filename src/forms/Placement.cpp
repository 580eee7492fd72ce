#include "forms/Placement.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

namespace tessaro {

bool CompositorPlacesWindows() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

void PlaceWindow(QWidget* window, QPoint topLeft) {
    if (window && !CompositorPlacesWindows()) window->move(topLeft);
}

void WidenForTitle(QWidget* dialog) {
    if (!dialog || !CompositorPlacesWindows()) return;
    // Qt's own decoration: the title in the application font, bold, beside three buttons.
    QFont titleFont = QGuiApplication::font();
    titleFont.setBold(true);
    constexpr int kButtonsAndMargins = 110;
    const int needed = QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + kButtonsAndMargins;
    if (dialog->width() < needed) dialog->setFixedWidth(needed);
}

}  // namespace tessaro
