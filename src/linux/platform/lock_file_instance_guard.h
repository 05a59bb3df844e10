#pragma once
// One running instance per user: a lock file held for the life of the process. A lock file whose
// holder cannot be identified as a live copy of this program (it was killed, the file is empty or
// damaged, or its process number now belongs to another program) is stale and taken over.
//
// When the lock cannot be taken for any other reason (the runtime folder cannot be written), the
// program starts anyway: it says so once on stderr and holds a lock in a second private place
// instead, so that copies started the same way still see each other.
#include "core/ports/instance_guard.h"

#include <memory>
#include <string>

class QLockFile;

namespace lumora {

class LockFileInstanceGuard : public InstanceGuard {
public:
    // `lockPath` empty: defaultLockPath(). `fallbackPath` empty: defaultFallbackPath().
    explicit LockFileInstanceGuard(std::string lockPath = {}, std::string fallbackPath = {});
    ~LockFileInstanceGuard() override;
    LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
    LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;

    // $XDG_RUNTIME_DIR/lumora-<uid>.lock, or the same name in the temporary folder when there is
    // no usable runtime folder.
    static std::string defaultLockPath();
    // $XDG_CACHE_HOME/lumora/lumora-<uid>.lock (normally ~/.cache/lumora/...).
    static std::string defaultFallbackPath();

    bool tryAcquire() override;
    // Gives the lock up (also done on destruction).
    void release();
    const std::string& lockPath() const { return m_path; }
    // The file of the lock held now; empty when none is held.
    std::string heldPath() const;

    // Whether process `pid` runs this program (the same executable file name).
    static bool isLiveCopyOfThisProgram(long long pid);

private:
    enum class Outcome { Acquired, HeldByLiveCopy, Failed };
    // Takes the lock at `path`, taking over a stale one; `why` tells a failure.
    Outcome take(const std::string& path, std::string& why);

    std::string m_path;
    std::string m_fallbackPath;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace lumora
