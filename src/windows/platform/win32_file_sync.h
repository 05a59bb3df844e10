#pragma once
// A written file made durable before it replaces the old one: FlushFileBuffers on a handle of
// its own.
#include "core/ports/file_sync.h"

namespace lumora {

class Win32FileSync : public FileSync {
public:
    bool syncFile(const std::string& path) override;
};

} // namespace lumora
