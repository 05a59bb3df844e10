#pragma once
// One running instance per user: a lock file held for the life of the process. A holder that was
// killed leaves a lock file whose process is gone, which the next start takes over.
#include "core/ports/instance_guard.h"

#include <memory>
#include <string>

class QLockFile;

namespace lumora {

class LockFileInstanceGuard : public InstanceGuard {
public:
    // `lockPath` empty: defaultLockPath().
    explicit LockFileInstanceGuard(std::string lockPath = {});
    ~LockFileInstanceGuard() override;
    LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
    LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;

    // $XDG_RUNTIME_DIR/lumora-<uid>.lock, or the same name in the temporary folder when there is
    // no usable runtime folder.
    static std::string defaultLockPath();

    bool tryAcquire() override;
    // Gives the lock up (also done on destruction).
    void release();
    const std::string& lockPath() const { return m_path; }

private:
    std::string m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace lumora
