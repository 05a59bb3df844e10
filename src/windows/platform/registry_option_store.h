#pragma once
// The option store in the registry: the texts of application "Vintrel", section "Options" are
// string values of HKEY_CURRENT_USER\Software\Vintrel\Options. A read never writes; a value of
// another type than text counts as absent, so its default is used.
#include "core/ports/option_store.h"

#include <string>
#include <utility>

namespace lumora {

class RegistryOptionStore : public OptionStore {
public:
    // Where the applications' keys are, under the current user ("Software" normally).
    explicit RegistryOptionStore(std::string base = "Software") : m_base(std::move(base)) {}

    std::optional<std::string> readOption(const std::string& app, const std::string& section,
                                          const std::string& key) override;
    // A write that fails leaves the store as it was.
    void writeOption(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& text) override;

private:
    std::string keyPath(const std::string& app, const std::string& section) const;

    std::string m_base;
};

} // namespace lumora
