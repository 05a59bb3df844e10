#include "core/tray/start_at_logon.h"

#include "core/menu/menu_checks.h"

namespace lumora {

bool StartAtLogon::writeEntry(bool wanted) {
    try {
        return m_s.autostart.write(m_s.program.executablePath(), wanted);
    } catch (...) {
        return false;
    }
}

void StartAtLogon::settle(bool wanted, bool written) {
    m_s.state.AutoRun = wanted;
    if (!written) {
        try {
            m_s.state.AutoRun = m_s.autostart.isEnabled();
        } catch (...) {
            m_s.state.AutoRun = false;
        }
    }
    checkMenu(m_s.menu, m_s.window, MenuId::mnuAutoRun, m_s.state.AutoRun);
}

void StartAtLogon::AddToReg() {
    const bool wanted = readAddToReg(m_s.options);
    settle(wanted, writeEntry(wanted));
}

void StartAtLogon::mnuAutoRun_Click() {
    const bool wanted = !m_s.menu.checked(MenuId::mnuAutoRun);
    const bool written = writeEntry(wanted);
    // The option follows the request even when the entry could not be written.
    m_s.options.SaveSetting(kAddToReg, wanted ? "1" : "0");
    settle(wanted, written);
}

} // namespace lumora
