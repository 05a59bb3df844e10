#include "windows/platform/run_value_autostart.h"

#include "windows/platform/registry_text.h"

#include <utility>

namespace lumora {

RunValueAutostart::RunValueAutostart(RunValueLocation machine, RunValueLocation user)
    : m_machine(std::move(machine)), m_user(std::move(user)) {}

bool RunValueAutostart::write(const std::string& programPath, bool enabled) {
    if (enabled) {
        // The machine's key is never created: it is expected to be there.
        if (writeRegistryText(m_machine.root, m_machine.path, kValueName, programPath, false) ==
            ERROR_SUCCESS) {
            deleteRegistryValue(m_user.root, m_user.path, kValueName); // one start, not two
            return true;
        }
        return writeRegistryText(m_user.root, m_user.path, kValueName, programPath, true) ==
               ERROR_SUCCESS;
    }
    writeRegistryText(m_machine.root, m_machine.path, kValueName, "", false);
    deleteRegistryValue(m_user.root, m_user.path, kValueName);
    return !isEnabled();
}

bool RunValueAutostart::isEnabled() const {
    for (const RunValueLocation* where : {&m_machine, &m_user}) {
        const auto text = readRegistryText(where->root, where->path, kValueName);
        if (text && !text->empty()) {
            return true;
        }
    }
    return false;
}

} // namespace lumora
