#pragma once

namespace lumora {

// Lets pending user-interface events run (timer ticks, clicks) in the middle of a long routine.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

} // namespace lumora
