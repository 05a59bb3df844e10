#pragma once
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QString>
// Placing the auxiliary windows on the screen, and their font.
class QScreen;
class QWidget;

namespace lumora {

// The screen a window is on when shown, or the one under the mouse pointer for a window not shown
// yet (the primary screen when the pointer is on none).
QScreen* screenFor(const QWidget* window);

// Moves a top-level window so that its outer frame is centred on its screen:
// left = (screen width - frame width) / 2, top = (screen height - frame height) / 2.
void centreOnScreen(QWidget* window);

// The font of the program's small windows: Tahoma 8.25 pt where it is installed, otherwise the
// desktop's sans font at the same size.
QFont windowFont();

// The program's icon at 16, 22, 32 and 48 pixels.
QIcon programIcon();

// A picture of the program's own resources, in its known format ("png", "bmp"), read without
// loading any image plugin.
QImage builtInImage(const QString& path, const char* format);

} // namespace lumora
