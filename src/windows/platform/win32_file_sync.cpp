#include "windows/platform/win32_file_sync.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

namespace lumora {

bool Win32FileSync::syncFile(const std::string& path) {
    HANDLE file = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed;
}

} // namespace lumora
