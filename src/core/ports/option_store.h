#pragma once
// The per-user option store: texts addressed by application, section and key.
#include <optional>
#include <string>

namespace lumora {

class OptionStore {
public:
    virtual ~OptionStore() = default;
    // The stored text, or nothing when the key is absent. May throw StoreFailure.
    virtual std::optional<std::string>
    readOption(const std::string& app, const std::string& section, const std::string& key) = 0;
    // May throw StoreFailure.
    virtual void writeOption(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& text) = 0;
};

} // namespace lumora
