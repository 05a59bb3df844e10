#pragma once
// The routines of FrmMain that start the program, answer the tray icon and its menu, register
// start at logon and end the program. They decide; the seams act.
#include "core/engine/wallpaper_engine.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "core/tray/engine_routines.h"
#include "core/tray/tray_alerts.h"
#include "core/tray/tray_menu.h"
#include "core/tray/tray_module.h"
#include "core/ports/autostart.h"
#include "core/ports/clock.h"
#include "core/ports/desktop_backend.h"
#include "core/ports/dialogs.h"
#include "core/ports/instance_guard.h"
#include "core/ports/main_window.h"
#include "core/ports/program_info.h"
#include "core/ports/windows.h"

#include <cstdint>
#include <string>

namespace lumora {

// Unload modes: the close box or system menu, and an unload from code (the Exit item).
inline constexpr int vbFormControlMenu = 0;
inline constexpr int vbFormCode = 1;

inline constexpr int vbKeyF1 = 112;

// "Lumora is already running on this computer." and the two lines of advice.
std::string alreadyRunningText();
// The first-run advice.
std::string firstRunText();

struct FrmMainServices {
    FrmMainState& state;
    TrayMenu& menu;
    TrayModule& tray;
    Options& options;
    Registry& registry;
    EngineRoutines& engine;
    DesktopBackend& desktop;
    InstanceGuard& instance;
    Dialogs& dialogs;
    Autostart& autostart;
    ProgramInfo& program;
    Clock& clock;
    MainWindow& window;
    AboutWindow& about;
    HelpWindow& help;
};

class FrmMainLogic {
public:
    explicit FrmMainLogic(FrmMainServices services) : m_s(services) {}

    // Start-up. False when another instance runs: the box was shown and the program must end.
    bool Form_Load();
    void AddToReg();

    // The icon's callback: `X` carries the mouse message, as the shell delivers it.
    void trayCallback(float X);
    // A real mouse movement over the settings window: never a tray event.
    void Form_MouseMove();

    // Menu handlers.
    void mnurefresh_Click();
    void mnuexit_Click();
    void mnuday_Click(int index);
    void mnuAutoRun_Click();
    void mnuAlert_Click();
    void MainAbout_Click();
    void DeskCol_Click();
    void mnuabout_Click();
    void mnuHelp_Click();
    void MnAbout_Click();
    // Runs the handler of an item of the tray menu.
    void menuClicked(MenuId id, int index);

    // Window events.
    void Form_Activate();
    void Form_KeyDown(int keyCode, int shift);
    // True (Cancel) when the unload is refused.
    bool Form_QueryUnload(int unloadMode);
    void Form_Unload();
    void TempAction();
    // The messages switch, `Label1` index 9.
    void Label1_Click9();

    // The about window closed after being opened from a visible settings window.
    void aboutClosed();

    bool unloaded() const { return m_unloaded; }

private:
    void check(MenuId id, bool checked);
    void loadModes();
    int today() const;

    FrmMainServices m_s;
    bool m_unloaded = false;
};

} // namespace lumora
