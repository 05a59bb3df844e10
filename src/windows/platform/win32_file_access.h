#pragma once
// The engine's files through the system's own handles: a source is opened only as a file on disk
// (a folder, a pipe or a device under its name is refused, the check made on what was opened),
// a new file is created only where nothing of that name is; each is handed over as a C stream.
// A finished file replaces the old one in one move written through to the disk.
#include "core/ports/file_access.h"

namespace lumora {

class Win32FileAccess : public FileAccess {
public:
    std::FILE* openRegularFile(const std::filesystem::path& path, std::uintmax_t& length) override;
    std::FILE* createNewFile(const std::filesystem::path& path) override;
    // MoveFileExW replacing the old file, returning once the move is on the disk.
    bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) override;
};

} // namespace lumora
