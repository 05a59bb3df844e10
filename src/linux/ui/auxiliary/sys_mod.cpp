#include "linux/ui/auxiliary/sys_mod.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace lumora {

namespace {

// Changes the stay-on-top hint of a window. A window with a native window gets the new flags
// directly (on X11 that is a _NET_WM_STATE request to the window manager), so it is neither
// hidden nor moved. A window never shown yet takes the flags the ordinary way; its geometry is put
// back because QWidget::setWindowFlags re-creates it.
void setStaysOnTop(QWidget* window, bool onTop) {
    const Qt::WindowFlags before = window->windowFlags();
    const Qt::WindowFlags after =
        onTop ? (before | Qt::WindowStaysOnTopHint) : (before & ~Qt::WindowStaysOnTopHint);
    if (after == before) {
        return;
    }
    if (QWindow* native = window->windowHandle(); native != nullptr && window->isVisible()) {
        window->overrideWindowFlags(after);
        native->setFlags(after);
        return;
    }
    const QRect geometry = window->geometry();
    const bool moved = window->testAttribute(Qt::WA_Moved);
    const bool visible = window->isVisible();
    window->setWindowFlags(after);
    window->setGeometry(geometry);
    window->setAttribute(Qt::WA_Moved, moved);
    if (visible) {
        const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
        window->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    }
}

} // namespace

void SetTopMost(QWidget* window, int onTop) {
    if (window == nullptr) {
        return;
    }
    window = window->window(); // the top-level window a control belongs to
    QPointer<QWidget> guard(window);
    const bool wasVisible = window->isVisible();
    QCoreApplication::processEvents();
    if (guard.isNull()) {
        return;
    }
    if (wasVisible && !window->isVisible()) {
        return; // closed by an event that ran just now: it stays closed
    }

    if (onTop == kTopMostTrue) {
        setStaysOnTop(window, true);
    } else if (onTop == kTopMostFalse) {
        setStaysOnTop(window, false);
    }
    if (!window->isVisible()) {
        const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
        window->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    }
    window->raise();

    QCoreApplication::processEvents();
}

} // namespace lumora
