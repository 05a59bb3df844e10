#pragma once
// Start at logon as the Run value "Lumora": the program's path under the machine's Run key, as the
// program has always written it. A standard user may not write there; the check mark must not
// say that the program starts when it does not, so a refused machine-wide write puts the same
// value under the user's own Run key instead. Switched off, the machine's value is kept and
// emptied, and the user's value is deleted.
#include "core/ports/autostart.h"
#include "core/ports/registry_backend.h"

#include <string>

namespace lumora {

struct RunValueLocation {
    RegKey root;
    std::string path;
};

class RunValueAutostart : public Autostart {
public:
    static constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kValueName = "Lumora";

    RunValueAutostart(RunValueLocation machine = {HKEY_LOCAL_MACHINE, kRunKey},
                      RunValueLocation user = {HKEY_CURRENT_USER, kRunKey});

    bool write(const std::string& programPath, bool enabled) override;
    bool isEnabled() const override;

private:
    RunValueLocation m_machine;
    RunValueLocation m_user;
};

} // namespace lumora
