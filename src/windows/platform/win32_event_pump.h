#pragma once
// Lets the messages waiting for this thread run in the middle of a long routine. A quit message
// met on the way is posted again, for the program's own message loop to end on.
#include "core/ports/event_pump.h"

namespace lumora {

class Win32EventPump : public EventPump {
public:
    void processEvents() override;
};

} // namespace lumora
