#pragma once
#include "core/ports/file_sync.h"

namespace lumora {

// Forces a written file's data to the disk with fsync, before the engine renames it into place.
class PosixFileSync : public FileSync {
public:
    bool syncFile(const std::string& path) override;
    // sync_file_range: the kernel starts writing the file's dirty pages out and returns.
    void startWriteOut(const std::string& path) override;
};

} // namespace lumora
