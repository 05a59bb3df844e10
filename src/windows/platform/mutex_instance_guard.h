#pragma once
// One instance per user session: a named mutex in the session's own namespace ("Local\"). The
// system closes a process's handles when it ends, however it ends, so a killed holder never
// blocks the next start.
#include "core/ports/instance_guard.h"

#include <string>

namespace lumora {

class MutexInstanceGuard : public InstanceGuard {
public:
    explicit MutexInstanceGuard(std::string name = "Local\\Lumora.SingleInstance");
    ~MutexInstanceGuard() override;
    MutexInstanceGuard(const MutexInstanceGuard&) = delete;
    MutexInstanceGuard& operator=(const MutexInstanceGuard&) = delete;

    bool tryAcquire() override;

private:
    std::string m_name;
    void* m_mutex = nullptr;
};

} // namespace lumora
