#pragma once
#include "core/ports/event_pump.h"

namespace lumora {

// Lets the Qt event loop run pending events; does nothing without an application object.
class QtEventPump : public EventPump {
public:
    void processEvents() override;
};

} // namespace lumora
