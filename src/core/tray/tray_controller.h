#pragma once
// The notification icon's mouse actions, the tray menu's handlers and the end of the program.
#include "core/engine/engine_routines.h"
#include "core/menu/tray_menu.h"
#include "core/ports/clock.h"
#include "core/ports/main_window.h"
#include "core/ports/windows.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"
#include "core/settings_window/settings_editor.h"
#include "core/tray/day_watch.h"
#include "core/tray/start_at_logon.h"
#include "core/tray/tray_module.h"

namespace lumora {

// Unload modes: the close box or system menu, and an unload from code (the Exit item).
inline constexpr int vbFormControlMenu = 0;
inline constexpr int vbFormCode = 1;

inline constexpr int vbKeyF1 = 112;

struct TrayControllerServices {
    FrmMainState& state;
    Options& options;
    EngineRoutines& engine;
    Clock& clock;
    TrayModule& tray;
    TrayMenu& menu;
    MainWindow& window;
    AboutWindow& about;
    HelpWindow& help;
    SettingsEditor& editor;
    StartAtLogon& logon;
    DayWatch& dayWatch;
};

class TrayController {
public:
    explicit TrayController(TrayControllerServices services) : m_s(services) {}

    // The icon's callback: `X` carries the mouse message, as the shell delivers it.
    void trayCallback(float X);
    // Runs the handler of an item of the tray menu.
    void menuClicked(MenuId id, int index);

    void mnurefresh_Click();
    void mnuexit_Click();
    void mnuAlert_Click();
    void MainAbout_Click();
    void mnuabout_Click();
    void mnuHelp_Click();
    void MnAbout_Click();

    void Form_KeyDown(int keyCode, int shift);
    // True (Cancel) when the unload is refused.
    bool Form_QueryUnload(int unloadMode);
    void Form_Unload();
    // The about window closed after being opened from a visible settings window.
    void aboutClosed();

    bool unloaded() const { return m_unloaded; }

private:
    TrayControllerServices m_s;
    bool m_unloaded = false;
};

} // namespace lumora
