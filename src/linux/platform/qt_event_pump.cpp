#include "linux/platform/qt_event_pump.h"

#include <QCoreApplication>

#include <chrono>

namespace lumora {

void QtEventPump::processEvents() {
    if (!QCoreApplication::instance()) {
        return;
    }
    // A copy asks after every block of 1 KiB: the loop turns at most every 2 ms, often enough
    // for clicks, timers and repaints, and a 50 MB copy is not spent turning an idle loop.
    const auto now = std::chrono::steady_clock::now();
    if (m_turned && now - *m_turned < std::chrono::milliseconds(2)) {
        return;
    }
    QCoreApplication::processEvents();
    m_turned = std::chrono::steady_clock::now();
}

} // namespace lumora
