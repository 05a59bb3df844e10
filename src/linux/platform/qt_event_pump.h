#pragma once
#include "core/ports/event_pump.h"

#include <chrono>
#include <optional>

namespace lumora {

// Lets the Qt event loop run pending events; does nothing without an application object.
class QtEventPump : public EventPump {
public:
    void processEvents() override;

private:
    std::optional<std::chrono::steady_clock::time_point> m_turned;
};

} // namespace lumora
