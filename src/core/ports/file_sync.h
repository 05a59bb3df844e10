#pragma once
#include <string>

namespace lumora {

// Makes a written file durable before it is renamed into place (fsync on Linux). Optional: the
// engine flushes and closes its files either way.
class FileSync {
public:
    virtual ~FileSync() = default;
    // True when the file's data reached the disk.
    virtual bool syncFile(const std::string& path) = 0;
    // Starts writing what the file holds so far to the disk without waiting for it, so that a
    // later syncFile has little left to wait for. Nothing by default.
    virtual void startWriteOut(const std::string& path) { (void)path; }
};

} // namespace lumora
