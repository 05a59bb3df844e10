#pragma once
// The registry and the option store held in memory: keys under their roots, typed values, and
// option texts by application, section and key. Tests use it as the store; the settings file
// loads into it and saves from it.
#include "core/ports/option_store.h"
#include "core/ports/registry_backend.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

struct StoredValue {
    std::uint32_t type = REG_SZ;
    std::vector<std::uint8_t> data;
    bool operator==(const StoredValue&) const = default;
};

// Names compare without regard to ASCII case, as registry names do; each keeps the spelling it
// was first written with.
struct CaselessLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

struct StoredKey {
    std::string path; // as first created, e.g. "Software\Corvane\Settings"
    std::map<std::string, StoredValue, CaselessLess> values;
    // Value names in the order they were first written, for a stable file.
    std::vector<std::string> order;
};

class MemoryRegistry : public RegistryBackend, public OptionStore {
public:
    // Registry seam
    std::int32_t createKey(RegKey root, const std::string& path, std::uint32_t access,
                           RegKey* opened) override;
    std::int32_t openKey(RegKey root, const std::string& path, std::uint32_t access,
                         RegKey* opened) override;
    std::int32_t queryValue(RegKey key, const std::string& name, std::uint32_t* type,
                            std::vector<std::uint8_t>* data, std::uint32_t* size) override;
    std::int32_t setValue(RegKey key, const std::string& name, std::uint32_t type,
                          const std::vector<std::uint8_t>& data) override;
    std::int32_t closeKey(RegKey key) override;

    // Option store seam
    std::optional<std::string> readOption(const std::string& app, const std::string& section,
                                          const std::string& key) override;
    void writeOption(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& text) override;

    // Direct access for loading, saving and tests. Root keys are 0x80000001 / 0x80000002.
    using KeyMap = std::map<std::pair<RegKey, std::string>, StoredKey>; // (root, lower-case path)
    using OptionMap = std::map<std::string, std::map<std::string, std::string, CaselessLess>,
                               CaselessLess>; // "app\section" -> key -> text
    const KeyMap& keys() const { return m_keys; }
    const OptionMap& options() const { return m_options; }
    void putKey(RegKey root, const std::string& path);
    void putValue(RegKey root, const std::string& path, const std::string& name, StoredValue value);
    // An option text under its joined section name, "application\section".
    void putOption(const std::string& section, const std::string& key, const std::string& text);
    void clear();
    bool operator==(const MemoryRegistry& other) const;

    // Fault injection for tests: every call throws StoreFailure(code) while set.
    void setFailure(std::optional<int> code) { m_failure = code; }
    // Keys that exist but refuse set-value access (like a key the user may not write).
    void setReadOnlyRoot(std::optional<RegKey> root) { m_readOnlyRoot = root; }

    static std::string lower(const std::string& s);

private:
    void failIfAsked() const;
    StoredKey* byHandle(RegKey handle);

    KeyMap m_keys;
    OptionMap m_options;
    std::map<RegKey, std::pair<RegKey, std::string>> m_handles;
    RegKey m_nextHandle = 0x100;
    std::optional<int> m_failure;
    std::optional<RegKey> m_readOnlyRoot;
};

} // namespace lumora
