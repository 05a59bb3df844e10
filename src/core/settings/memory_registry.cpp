#include "core/settings/memory_registry.h"

#include <algorithm>
#include <cctype>

namespace lumora {

std::string MemoryRegistry::lower(const std::string& s) {
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool CaselessLess::operator()(const std::string& a, const std::string& b) const {
    return MemoryRegistry::lower(a) < MemoryRegistry::lower(b);
}

namespace {
bool validRoot(RegKey root) {
    return root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE;
}

// "a\\b\\" and "a\b" name the same key.
std::string normalPath(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\')) {
            continue;
        }
        out.push_back(c);
    }
    while (!out.empty() && out.back() == '\\') {
        out.pop_back();
    }
    return out;
}
} // namespace

void MemoryRegistry::failIfAsked() const {
    if (m_failure) {
        throw StoreFailure(*m_failure, "the settings store failed");
    }
}

StoredKey* MemoryRegistry::byHandle(RegKey handle) {
    auto it = m_handles.find(handle);
    if (it == m_handles.end()) {
        return nullptr;
    }
    auto key = m_keys.find(it->second);
    return key == m_keys.end() ? nullptr : &key->second;
}

void MemoryRegistry::putKey(RegKey root, const std::string& path) {
    std::string p = normalPath(path);
    auto id = std::make_pair(root, lower(p));
    if (!m_keys.count(id)) {
        m_keys[id].path = p;
    }
}

void MemoryRegistry::putValue(RegKey root, const std::string& path, const std::string& name,
                              StoredValue value) {
    putKey(root, path);
    StoredKey& key = m_keys[std::make_pair(root, lower(normalPath(path)))];
    if (!key.values.count(name)) {
        key.order.push_back(name);
    }
    key.values[name] = std::move(value);
}

void MemoryRegistry::putOption(const std::string& section, const std::string& key,
                               const std::string& text) {
    m_options[section][key] = text;
}

void MemoryRegistry::clear() {
    m_keys.clear();
    m_options.clear();
}

bool MemoryRegistry::operator==(const MemoryRegistry& other) const {
    if (m_options != other.m_options || m_keys.size() != other.m_keys.size()) {
        return false;
    }
    for (const auto& [id, key] : m_keys) {
        auto it = other.m_keys.find(id);
        if (it == other.m_keys.end() || it->second.path != key.path ||
            it->second.values != key.values) {
            return false;
        }
    }
    return true;
}

std::int32_t MemoryRegistry::createKey(RegKey root, const std::string& path, std::uint32_t,
                                       RegKey* opened) {
    failIfAsked();
    if (!validRoot(root)) {
        return ERROR_INVALID_HANDLE;
    }
    if (m_readOnlyRoot && *m_readOnlyRoot == root) {
        return ERROR_ACCESS_DENIED;
    }
    putKey(root, path);
    RegKey handle = m_nextHandle++;
    m_handles[handle] = std::make_pair(root, lower(normalPath(path)));
    if (opened) {
        *opened = handle;
    }
    return ERROR_SUCCESS;
}

std::int32_t MemoryRegistry::openKey(RegKey root, const std::string& path, std::uint32_t access,
                                     RegKey* opened) {
    failIfAsked();
    if (opened) {
        *opened = 0;
    }
    if (!validRoot(root)) {
        return ERROR_INVALID_HANDLE;
    }
    auto id = std::make_pair(root, lower(normalPath(path)));
    if (!m_keys.count(id)) {
        return ERROR_FILE_NOT_FOUND;
    }
    if ((access & KEY_SET_VALUE) && m_readOnlyRoot && *m_readOnlyRoot == root) {
        return ERROR_ACCESS_DENIED;
    }
    RegKey handle = m_nextHandle++;
    m_handles[handle] = id;
    if (opened) {
        *opened = handle;
    }
    return ERROR_SUCCESS;
}

std::int32_t MemoryRegistry::queryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                        std::vector<std::uint8_t>* data, std::uint32_t* size) {
    failIfAsked();
    StoredKey* stored = byHandle(key);
    if (!stored) {
        return ERROR_INVALID_HANDLE;
    }
    auto it = stored->values.find(name);
    if (it == stored->values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type) {
        *type = it->second.type;
    }
    auto actual = static_cast<std::uint32_t>(it->second.data.size());
    if (data) {
        std::uint32_t room = size ? *size : 0;
        if (room < actual) {
            if (size) {
                *size = actual;
            }
            return ERROR_MORE_DATA;
        }
        if (data->size() < actual) {
            data->resize(actual); // never write past the caller's buffer
        }
        std::copy(it->second.data.begin(), it->second.data.end(), data->begin());
    }
    if (size) {
        *size = actual;
    }
    return ERROR_SUCCESS;
}

std::int32_t MemoryRegistry::setValue(RegKey key, const std::string& name, std::uint32_t type,
                                      const std::vector<std::uint8_t>& data) {
    failIfAsked();
    StoredKey* stored = byHandle(key);
    if (!stored) {
        return ERROR_INVALID_HANDLE;
    }
    if (!stored->values.count(name)) {
        stored->order.push_back(name);
    }
    stored->values[name] = StoredValue{type, data};
    return ERROR_SUCCESS;
}

std::int32_t MemoryRegistry::closeKey(RegKey key) {
    return m_handles.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::optional<std::string> MemoryRegistry::readOption(const std::string& app,
                                                      const std::string& section,
                                                      const std::string& key) {
    failIfAsked();
    auto sec = m_options.find(app + "\\" + section);
    if (sec == m_options.end()) {
        return std::nullopt;
    }
    auto it = sec->second.find(key);
    if (it == sec->second.end()) {
        return std::nullopt;
    }
    return it->second;
}

void MemoryRegistry::writeOption(const std::string& app, const std::string& section,
                                 const std::string& key, const std::string& text) {
    failIfAsked();
    putOption(app + "\\" + section, key, text);
}

} // namespace lumora
