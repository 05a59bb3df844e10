#include "core/settings/registry.h"

#include <algorithm>
#include <cstring>

namespace lumora {

void Registry::CreateRegKey(const std::string& keyPath, RegKey root) {
    try {
        RegKey key = 0;
        if (m_backend.createKey(root, keyPath, KEY_CREATE_ACCESS, &key) == ERROR_SUCCESS) {
            m_backend.closeKey(key);
        }
    } catch (...) {
        // every failure is ignored
    }
}

void Registry::SetRegValue(RegKey root, const std::string& keyPath, const std::string& valueName,
                           const TypedValue& value, std::uint32_t valueType) {
    try {
        RegKey key = 0;
        m_backend.openKey(root, keyPath, KEY_SET_VALUE, &key);
        PutTypedValue(key, valueName, valueType, value);
        if (key != 0) {
            m_backend.closeKey(key);
        }
    } catch (...) {
        // every failure is ignored
    }
}

std::int32_t Registry::PutTypedValue(RegKey key, const std::string& valueName,
                                     std::uint32_t valueType, const TypedValue& value) {
    std::vector<std::uint8_t> data;
    if (valueType == REG_SZ) {
        std::string text;
        if (const auto* s = std::get_if<std::string>(&value)) {
            text = *s;
        } else if (const auto* n = std::get_if<std::int32_t>(&value)) {
            text = std::to_string(*n);
        }
        data.assign(text.begin(), text.end());
        data.push_back(0); // the terminator counts in the length
        return m_backend.setValue(key, valueName, REG_SZ, data);
    }
    if (valueType == REG_DWORD) {
        std::int32_t number = 0;
        if (const auto* n = std::get_if<std::int32_t>(&value)) {
            number = *n;
        } else if (const auto* s = std::get_if<std::string>(&value)) {
            number = static_cast<std::int32_t>(std::stol(*s)); // a text that is no number fails
        }
        data.resize(4);
        std::memcpy(data.data(), &number, 4);
        return m_backend.setValue(key, valueName, REG_DWORD, data);
    }
    return 0;
}

std::int32_t Registry::QueryTypedValue(RegKey key, const std::string& valueName, TypedValue& out) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::int32_t status = m_backend.queryValue(key, valueName, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (type == REG_SZ) {
        std::vector<std::uint8_t> buffer(size, 0);
        status = m_backend.queryValue(key, valueName, &type, &buffer, &size);
        if (status == ERROR_SUCCESS) {
            // The text without its terminator. A value stored without one (only a hand-edited
            // or foreign store holds such a value) keeps its last character.
            std::size_t length = std::min<std::size_t>(size, buffer.size());
            if (length > 0 && buffer[length - 1] == 0) {
                --length;
            }
            out = std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length));
        }
        return status;
    }
    if (type == REG_DWORD) {
        std::vector<std::uint8_t> buffer(4, 0);
        std::uint32_t four = 4;
        status = m_backend.queryValue(key, valueName, &type, &buffer, &four);
        if (status == ERROR_SUCCESS && buffer.size() >= 4) {
            std::int32_t number = 0;
            std::memcpy(&number, buffer.data(), 4);
            out = number;
        }
        return status;
    }
    return -1;
}

std::string Registry::GetRegValue(RegKey root, const std::string& keyPath,
                                  const std::string& valueName) {
    std::string result;
    RegKey key = 0;
    bool raised = false;
    // A failure the store raises (not a status code) makes the result "Error: <number>".
    auto guarded = [&](auto&& step) {
        try {
            step();
        } catch (const StoreFailure& failure) {
            result = "Error: " + std::to_string(failure.code());
            raised = true;
        } catch (...) {
            result = "Error: 0";
            raised = true;
        }
    };
    guarded([&] { m_backend.openKey(root, keyPath, KEY_QUERY_VALUE, &key); });
    TypedValue value;
    guarded([&] { QueryTypedValue(key, valueName, value); });
    if (!raised) {
        if (const auto* s = std::get_if<std::string>(&value)) {
            result = *s;
        } else if (const auto* n = std::get_if<std::int32_t>(&value)) {
            result = std::to_string(*n);
        }
    }
    try {
        if (key != 0) {
            m_backend.closeKey(key);
        }
    } catch (...) {
    }
    return result;
}

} // namespace lumora
