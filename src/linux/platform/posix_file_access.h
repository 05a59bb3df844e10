#pragma once
#include "core/ports/file_access.h"

namespace lumora {

// The engine's files through POSIX descriptors: sources opened with O_NONBLOCK and checked with
// fstat, new files created with O_CREAT | O_EXCL; each handed over as a stdio stream.
class PosixFileAccess : public FileAccess {
public:
    std::FILE* openRegularFile(const std::filesystem::path& path, std::uintmax_t& length) override;
    std::FILE* createNewFile(const std::filesystem::path& path) override;
};

} // namespace lumora
