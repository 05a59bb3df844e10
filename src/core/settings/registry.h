#pragma once
// The `Registry` module: read and write registry values as text, over the registry seam.
#include "core/ports/registry_backend.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace lumora {

// A value as `QueryTypedValue` delivers it: a text, a 32-bit number, or nothing.
using TypedValue = std::variant<std::monostate, std::string, std::int32_t>;

class Registry {
public:
    explicit Registry(RegistryBackend& backend) : m_backend(backend) {}

    // Creates the key path under root when missing; every failure is ignored.
    void CreateRegKey(const std::string& keyPath, RegKey root);
    // Writes into an existing key only; every failure is ignored. type 1: text, 4: number.
    void SetRegValue(RegKey root, const std::string& keyPath, const std::string& valueName,
                     const TypedValue& value, std::uint32_t valueType);
    // The value as text: the string itself, a number in decimal, or the empty string for a
    // missing key, value, empty value or another type. "Error: <n>" when the store itself failed.
    std::string GetRegValue(RegKey root, const std::string& keyPath, const std::string& valueName);

    // Inner routines, public for the tests.
    std::int32_t PutTypedValue(RegKey key, const std::string& valueName, std::uint32_t valueType,
                               const TypedValue& value);
    std::int32_t QueryTypedValue(RegKey key, const std::string& valueName, TypedValue& out);

private:
    RegistryBackend& m_backend;
};

// Key paths and names the program uses.
inline constexpr const char* kLocalSettingsKey = "Software\\Corvane\\Local Settings";
inline constexpr const char* kSettingsKey = "Software\\Corvane\\Settings";
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Lumora";

} // namespace lumora
