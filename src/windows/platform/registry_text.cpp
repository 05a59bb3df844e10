#include "windows/platform/registry_text.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <vector>

namespace lumora {

namespace {

HKEY rootOf(RegKey root) {
    return root == 0x80000002u ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

} // namespace

std::optional<std::string> readRegistryText(RegKey root, const std::string& path,
                                            const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootOf(root), wideFromUtf8(path).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring wideName = wideFromUtf8(name);
    std::optional<std::string> text;
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        type == REG_SZ) {
        std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &got) == ERROR_SUCCESS &&
            type == REG_SZ) {
            std::wstring wide(data.data(), got / sizeof(wchar_t));
            while (!wide.empty() && wide.back() == L'\0') {
                wide.pop_back();
            }
            text = utf8FromWide(wide);
        }
    }
    RegCloseKey(key);
    return text;
}

std::int32_t writeRegistryText(RegKey root, const std::string& path, const std::string& name,
                               const std::string& text, bool create) {
    HKEY key = nullptr;
    const std::wstring widePath = wideFromUtf8(path);
    const LSTATUS opened =
        create ? RegCreateKeyExW(rootOf(root), widePath.c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr)
               : RegOpenKeyExW(rootOf(root), widePath.c_str(), 0, KEY_SET_VALUE, &key);
    if (opened != ERROR_SUCCESS) {
        return static_cast<std::int32_t>(opened);
    }
    const std::wstring wide = wideFromUtf8(text);
    const LSTATUS status = RegSetValueExW(key, wideFromUtf8(name).c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(wide.c_str()),
                                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return static_cast<std::int32_t>(status);
}

std::int32_t deleteRegistryValue(RegKey root, const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    const LSTATUS opened =
        RegOpenKeyExW(rootOf(root), wideFromUtf8(path).c_str(), 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    if (opened != ERROR_SUCCESS) {
        return static_cast<std::int32_t>(opened);
    }
    LSTATUS status = RegDeleteValueW(key, wideFromUtf8(name).c_str());
    RegCloseKey(key);
    if (status == ERROR_FILE_NOT_FOUND) {
        status = ERROR_SUCCESS;
    }
    return static_cast<std::int32_t>(status);
}

} // namespace lumora
