#include "windows/platform/win32_resources.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

namespace lumora {

std::vector<std::uint8_t> Win32Resources::bytes(const std::string& name) const {
    for (const char* known : {"default_bmp", "nopicture_bmp", "logo_bmp", "icon_png"}) {
        if (name != known) {
            continue;
        }
        HRSRC found = FindResourceW(nullptr, wideFromUtf8(name).c_str(), MAKEINTRESOURCEW(10));
        HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
        const auto* data =
            loaded != nullptr ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
        if (data == nullptr) {
            return {};
        }
        return std::vector<std::uint8_t>(data, data + SizeofResource(nullptr, found));
    }
    return {};
}

} // namespace lumora
