#include "windows/platform/win32_program_info.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

namespace lumora {

std::string Win32ProgramInfo::executablePath() const {
    // Long paths: the buffer grows until the whole path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            return utf8FromWide(std::wstring(buffer.data(), n));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string Win32ProgramInfo::pictureFolder() const {
    PWSTR base = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &base) != S_OK) {
        CoTaskMemFree(base);
        return {};
    }
    std::wstring folder = std::wstring(base) + L"\\Lumora";
    CoTaskMemFree(base);
    CreateDirectoryW(folder.c_str(), nullptr); // there already, or made now
    return utf8FromWide(folder);
}

} // namespace lumora
