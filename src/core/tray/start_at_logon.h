#pragma once
// Start at logon: the entry written at every start from "AddToReg", and the menu item that
// switches it.
#include "core/menu/tray_menu.h"
#include "core/ports/autostart.h"
#include "core/ports/main_window.h"
#include "core/ports/program_info.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"

namespace lumora {

struct StartAtLogonServices {
    FrmMainState& state;
    Options& options;
    Autostart& autostart;
    ProgramInfo& program;
    TrayMenu& menu;
    MainWindow& window;
};

class StartAtLogon {
public:
    explicit StartAtLogon(StartAtLogonServices services) : m_s(services) {}
    // At every start: writes the entry as "AddToReg" says; never writes the option.
    void AddToReg();
    // The menu item: switches the entry, then stores the option.
    void mnuAutoRun_Click();

private:
    bool writeEntry(bool wanted);
    // The state and check mark follow the request, or what is on disk when the write failed.
    void settle(bool wanted, bool written);

    StartAtLogonServices m_s;
};

} // namespace lumora
