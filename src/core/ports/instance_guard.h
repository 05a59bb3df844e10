#pragma once

namespace lumora {

// One running instance per user. A holder that was killed never blocks the next start.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // True when this process is now the one instance; false when another instance runs.
    virtual bool tryAcquire() = 0;
};

} // namespace lumora
