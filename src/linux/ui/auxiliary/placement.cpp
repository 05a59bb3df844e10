#include "ui/auxiliary/placement.h"

#include "core/viewer/window_placement.h"

#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

namespace lumora {

QScreen* screenFor(const QWidget* window) {
    if (window->isVisible() && window->screen() != nullptr) {
        return window->screen();
    }
    if (QScreen* underPointer = QGuiApplication::screenAt(QCursor::pos())) {
        return underPointer;
    }
    return QGuiApplication::primaryScreen();
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = screenFor(window);
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QRect frame = window->frameGeometry();
    // QWidget::move places the outer frame of a top-level window.
    const lumora::viewer::PointI origin = lumora::viewer::centredOn(
        {area.x(), area.y(), area.width(), area.height()}, frame.width(), frame.height());
    window->move(origin.x, origin.y);
}

namespace {
// Tahoma, where the system has no Tahoma of its own, from the fonts Debian's fonts-wine installs
// outside the font configuration's folders.
void loadTahoma() {
    static const bool done = [] {
        if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
            return true;
        }
        for (const char* file : {"wine/fonts/tahoma.ttf", "wine/fonts/tahomabd.ttf"}) {
            const QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                        QString::fromLatin1(file));
            if (!path.isEmpty()) {
                QFontDatabase::addApplicationFont(path);
            }
        }
        return true;
    }();
    (void)done;
}
} // namespace

QFont windowFont() {
    loadTahoma();
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    return font;
}

QImage builtInImage(const QString& path, const char* format) {
    // Read in the format named, without asking the image plugins: a picture whose format is
    // guessed is probed by every plugin there is (each one loaded, with its libraries).
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        const QImage image =
            builtInImage(QStringLiteral(":/lumora/icons/lumora-%1.png").arg(size), "png");
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

} // namespace lumora
