#pragma once

#include <QPoint>

class QWidget;

namespace tessaro {

// Under Wayland the compositor places every window: positions asked for are not honoured.
bool CompositorPlacesWindows();

// Moves a window to topLeft (global), except where the compositor places windows.
void PlaceWindow(QWidget* window, QPoint topLeft);

// Widens a fixed-size dialog where the toolkit draws the title bar itself (Wayland), so that its
// title is not cut by the title bar's buttons; elsewhere the size stays as it is.
void WidenForTitle(QWidget* dialog);

}  // namespace tessaro
