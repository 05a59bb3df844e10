#pragma once
// The start-up sequence of FrmMain: one instance, the logo, start at logon, the icon, the default
// picture, the stored modes, styles and colour, today's wallpaper and the first-run advice.
#include "core/engine/engine_routines.h"
#include "core/menu/tray_menu.h"
#include "core/ports/desktop_backend.h"
#include "core/ports/dialogs.h"
#include "core/ports/instance_guard.h"
#include "core/ports/main_window.h"
#include "core/ports/windows.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "core/settings_window/settings_editor.h"
#include "core/tray/start_at_logon.h"
#include "core/tray/tray_module.h"

#include <string>

namespace lumora {

// "Lumora is already running on this computer." and the two lines of advice.
std::string alreadyRunningText();
// The first-run advice.
std::string firstRunText();
// The settings file `where` cannot be read, because `why`.
std::string unreadableSettingsText(const std::string& where, const std::string& why);

// Resident: the program stays in the notification area. Once: today's wallpaper is set and the
// program ends; no logo, no icon, no alerts, no start-at-logon entry, and no box when another
// instance runs.
enum class StartMode { Resident, Once };

struct StartUpServices {
    FrmMainState& state;
    Options& options;
    Registry& registry;
    EngineRoutines& engine;
    DesktopBackend& desktop;
    InstanceGuard& instance;
    Dialogs& dialogs;
    Clock& clock;
    TrayModule& tray;
    TrayMenu& menu;
    MainWindow& window;
    AboutWindow& about;
    SettingsEditor& editor;
    StartAtLogon& logon;
};

class StartUp {
public:
    explicit StartUp(StartUpServices services) : m_s(services) {}
    // False when another instance runs: the box was shown (Resident) and the program must end.
    bool Form_Load(StartMode mode = StartMode::Resident);

private:
    StartUpServices m_s;
};

} // namespace lumora
