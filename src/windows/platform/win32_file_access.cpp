#include "windows/platform/win32_file_access.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

namespace lumora {

namespace {

// The handle as a C stream; the handle is closed when it cannot become one.
std::FILE* streamOf(HANDLE file, int flags, const char* mode) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), flags | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, mode);
    if (stream == nullptr) {
        _close(fd);
    }
    return stream;
}

} // namespace

std::FILE* Win32FileAccess::openRegularFile(const std::filesystem::path& path,
                                            std::uintmax_t& length) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open at all.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return nullptr;
    }
    length = static_cast<std::uintmax_t>(size.QuadPart);
    return streamOf(file, _O_RDONLY, "rb");
}

std::FILE* Win32FileAccess::createNewFile(const std::filesystem::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return streamOf(file, _O_WRONLY, "wb");
}

bool Win32FileAccess::replaceFile(const std::filesystem::path& from,
                                  const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

} // namespace lumora
