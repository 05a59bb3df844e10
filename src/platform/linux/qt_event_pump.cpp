#include "platform/linux/qt_event_pump.h"

#include <QCoreApplication>

namespace lumora {

void QtEventPump::processEvents() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

} // namespace lumora
