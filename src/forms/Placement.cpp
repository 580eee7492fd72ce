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
    // Qt's own decoration centres the title, in the application font at 14 pixels, over the whole
    // width and cuts it where its three buttons (about 80 pixels) begin: that room on both sides.
    QFont titleFont = QGuiApplication::font();
    titleFont.setPixelSize(14);
    constexpr int kButtonRoom = 80;
    const int needed = QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + 2 * kButtonRoom;
    if (dialog->width() < needed) dialog->setFixedWidth(needed);
}

}  // namespace tessaro
