#include "windows/platform/win32_registry.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <cstring>

namespace lumora {

namespace {

// The port's root numbers are the registry's own predefined values; the names are Windows' macros
// here, after <windows.h>.
HKEY rootHandle(RegKey root) {
    switch (root) {
    case 0x80000001u:
        return HKEY_CURRENT_USER;
    case 0x80000002u:
        return HKEY_LOCAL_MACHINE;
    default:
        return nullptr;
    }
}

// The registry's UTF-16 string data as the port's UTF-8 bytes: the characters stored, with the
// terminating zero where the stored data has one.
std::vector<std::uint8_t> utf8Data(const std::vector<std::uint8_t>& stored) {
    std::wstring wide(stored.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), stored.data(), wide.size() * sizeof(wchar_t));
    const bool terminated = !wide.empty() && wide.back() == L'\0';
    if (terminated) {
        wide.pop_back();
    }
    const std::string text = utf8FromWide(wide);
    std::vector<std::uint8_t> out(text.begin(), text.end());
    if (terminated) {
        out.push_back(0);
    }
    return out;
}

// The port's UTF-8 string bytes as UTF-16 data, the terminating zero kept where it was given.
std::vector<std::uint8_t> wideData(const std::vector<std::uint8_t>& given) {
    std::string text(given.begin(), given.end());
    const bool terminated = !text.empty() && text.back() == '\0';
    if (terminated) {
        text.pop_back();
    }
    std::wstring wide = wideFromUtf8(text);
    if (terminated) {
        wide.push_back(L'\0');
    }
    std::vector<std::uint8_t> out(wide.size() * sizeof(wchar_t));
    std::memcpy(out.data(), wide.data(), out.size());
    return out;
}

} // namespace

Win32Registry::~Win32Registry() {
    for (const auto& [number, handle] : m_open) {
        RegCloseKey(static_cast<HKEY>(handle));
    }
}

void* Win32Registry::handleOf(RegKey key) const {
    if (HKEY root = rootHandle(key)) {
        return root;
    }
    const auto it = m_open.find(key);
    return it == m_open.end() ? nullptr : it->second;
}

RegKey Win32Registry::remember(void* handle) {
    while (m_next == 0 || rootHandle(m_next) != nullptr || m_open.count(m_next) != 0) {
        ++m_next;
    }
    m_open[m_next] = handle;
    return m_next++;
}

std::int32_t Win32Registry::createKey(RegKey root, const std::string& path, std::uint32_t access,
                                      RegKey* opened) {
    return open(root, path, access, opened, true);
}

std::int32_t Win32Registry::openKey(RegKey root, const std::string& path, std::uint32_t access,
                                    RegKey* opened) {
    return open(root, path, access, opened, false);
}

std::int32_t Win32Registry::open(RegKey root, const std::string& path, std::uint32_t access,
                                 RegKey* opened, bool create) {
    *opened = 0;
    HKEY parent = static_cast<HKEY>(handleOf(root));
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    HKEY key = nullptr;
    const std::wstring widePath = wideFromUtf8(path);
    const auto sam = static_cast<REGSAM>(access);
    const LSTATUS status =
        create ? RegCreateKeyExW(parent, widePath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, sam,
                                 nullptr, &key, nullptr)
               : RegOpenKeyExW(parent, widePath.c_str(), 0, sam, &key);
    if (status == ERROR_SUCCESS) {
        *opened = remember(key);
    }
    return static_cast<std::int32_t>(status);
}

std::int32_t Win32Registry::queryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                       std::vector<std::uint8_t>* data, std::uint32_t* size) {
    HKEY handle = static_cast<HKEY>(handleOf(key));
    if (handle == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const std::wstring wideName = wideFromUtf8(name);
    // The stored bytes, read until they fit (another writer may change them meanwhile).
    DWORD storedType = REG_NONE;
    std::vector<std::uint8_t> stored;
    LSTATUS status = ERROR_MORE_DATA;
    for (int tries = 0; status == ERROR_MORE_DATA && tries < 8; ++tries) {
        DWORD bytes = 0;
        status = RegQueryValueExW(handle, wideName.c_str(), nullptr, &storedType, nullptr, &bytes);
        if (status != ERROR_SUCCESS) {
            return static_cast<std::int32_t>(status);
        }
        stored.assign(bytes, 0);
        status = RegQueryValueExW(handle, wideName.c_str(), nullptr, &storedType,
                                  stored.empty() ? nullptr : stored.data(), &bytes);
        stored.resize(bytes);
    }
    if (status != ERROR_SUCCESS) {
        return static_cast<std::int32_t>(status);
    }
    std::vector<std::uint8_t> given = storedType == REG_SZ ? utf8Data(stored) : stored;
    if (type != nullptr) {
        *type = storedType;
    }
    if (data == nullptr) {
        if (size != nullptr) {
            *size = static_cast<std::uint32_t>(given.size());
        }
        return ERROR_SUCCESS;
    }
    // As the registry does: a buffer too small for the data gets nothing, and the size needed.
    if (size != nullptr && *size < given.size()) {
        *size = static_cast<std::uint32_t>(given.size());
        return ERROR_MORE_DATA;
    }
    if (size != nullptr) {
        *size = static_cast<std::uint32_t>(given.size());
    }
    *data = std::move(given);
    return ERROR_SUCCESS;
}

std::int32_t Win32Registry::setValue(RegKey key, const std::string& name, std::uint32_t type,
                                     const std::vector<std::uint8_t>& data) {
    HKEY handle = static_cast<HKEY>(handleOf(key));
    if (handle == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const std::vector<std::uint8_t> stored = type == REG_SZ ? wideData(data) : data;
    return static_cast<std::int32_t>(RegSetValueExW(handle, wideFromUtf8(name).c_str(), 0, type,
                                                    stored.empty() ? nullptr : stored.data(),
                                                    static_cast<DWORD>(stored.size())));
}

std::int32_t Win32Registry::closeKey(RegKey key) {
    const auto it = m_open.find(key);
    if (it == m_open.end()) {
        return rootHandle(key) != nullptr ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    }
    const LSTATUS status = RegCloseKey(static_cast<HKEY>(it->second));
    m_open.erase(it);
    return static_cast<std::int32_t>(status);
}

} // namespace lumora
