#include "windows/platform/registry_option_store.h"

#include "windows/platform/registry_text.h"

namespace lumora {

std::string RegistryOptionStore::keyPath(const std::string& app, const std::string& section) const {
    return m_base + "\\" + app + "\\" + section;
}

std::optional<std::string> RegistryOptionStore::readOption(const std::string& app,
                                                           const std::string& section,
                                                           const std::string& key) {
    return readRegistryText(HKEY_CURRENT_USER, keyPath(app, section), key);
}

void RegistryOptionStore::writeOption(const std::string& app, const std::string& section,
                                      const std::string& key, const std::string& text) {
    writeRegistryText(HKEY_CURRENT_USER, keyPath(app, section), key, text, true);
}

} // namespace lumora
