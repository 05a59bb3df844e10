#include "ui/auxiliary/placement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
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
    window->move(area.x() + (area.width() - frame.width()) / 2,
                 area.y() + (area.height() - frame.height()) / 2);
}

QFont windowFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    return font;
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        icon.addFile(QStringLiteral(":/lumora/icons/lumora-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace lumora
