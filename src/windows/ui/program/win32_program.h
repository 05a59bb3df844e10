#pragma once
// The Windows edition's program as one object: the state and the core's routines, the hidden
// window with the notification icon and the tray menu, and the windows the core opens (settings,
// about, help, preview), connected to one another here and nowhere else. The windows come as the
// core's ports, so the program is the same whichever windows it is given. The program ends when
// it was told to end and none of its windows is open any more.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/engine/wallpaper_engine.h"
#include "core/engine/wallpaper_engine_routines.h"
#include "core/menu/tray_menu.h"
#include "core/ports/autostart.h"
#include "core/ports/clock.h"
#include "core/ports/day_watch.h"
#include "core/ports/desktop_backend.h"
#include "core/ports/dialogs.h"
#include "core/ports/event_pump.h"
#include "core/ports/file_access.h"
#include "core/ports/file_sync.h"
#include "core/ports/instance_guard.h"
#include "core/ports/main_window.h"
#include "core/ports/option_store.h"
#include "core/ports/pictures.h"
#include "core/ports/program_info.h"
#include "core/ports/registry_backend.h"
#include "core/ports/resources.h"
#include "core/ports/windows.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "core/tray/frm_main_logic.h"
#include "core/tray/tray_alerts.h"
#include "core/tray/tray_module.h"
#include "windows/ui/tray/win32_tray_window.h"

#include <functional>
#include <memory>
#include <string>

namespace lumora {

// The platform services the program works with (WindowsServices makes them).
struct Win32Platform {
    RegistryBackend& registry;
    OptionStore& options;
    DesktopBackend& desktop;
    EventPump& events;
    ProgramInfo& program;
    Resources& resources;
    InstanceGuard& instance;
    Autostart& autostart;
    Clock& clock;
    DayWatchSource& dayWatch;
    FileAccess& files;
    Pictures& pictures;
    // Makes day copies durable before they replace the old ones; none in tests.
    FileSync* fileSync = nullptr;
};

// The windows the core opens, and how the program learns that it may end.
struct Win32ProgramWindows {
    MainWindow& window;
    AboutWindow& about;
    HelpWindow& help;
    PreviewWindow& preview;
    Dialogs& dialogs;
    // Whether a window of the program other than the settings window is open; empty: any shown
    // window of the window layer on this thread other than the program's hidden one.
    std::function<bool()> otherWindowOpen;
    // Ends the message loop; empty: PostQuitMessage(0).
    std::function<void()> quit;
    // The title `lumora --refresh` finds the started program by (a test takes one of its own);
    // empty: the program's own.
    std::wstring refreshTitle;
};

class Win32Program {
public:
    Win32Program(Win32Platform platform, Win32ProgramWindows windows);
    ~Win32Program();
    Win32Program(const Win32Program&) = delete;
    Win32Program& operator=(const Win32Program&) = delete;

    // Start-up; false when another instance runs (the box was shown and closed).
    bool start();
    // Sets today's wallpaper once, without the logo, the icon or alerts; false when another
    // instance runs (no box).
    bool startOnce();
    // What the desktop did in the last setting of a day's wallpaper.
    const DesktopResult& lastApplyResult() const { return m_engine.lastRun(); }

    FrmMainLogic& logic() { return *m_logic; }
    FrmMainState& state() { return m_state; }
    TrayMenu& menuTree() { return m_menu; }
    Win32TrayWindow& trayWindow() { return m_trayWindow; }
    const TrayModule& trayModule() const { return m_tray; }
    bool unloaded() const { return m_logic->tray.unloaded(); }
    // Whether the program asked the message loop to end.
    bool quitAsked() const { return m_quitAsked; }
    // A window of the program closed: once the program was told to end, the last one ends it.
    void windowClosed();
    // "&Refresh Wallpaper" as `lumora --refresh` asks it: true when the desktop took today's
    // wallpaper, otherwise false and the reason.
    bool refresh(std::string& reason);

private:
    void connectTray();
    // Ends the program once it was told to end and no other window is open; while one is, looks
    // again a little later.
    void endWhenNoWindowIsLeft();
    bool otherWindowOpen() const;

    Win32ProgramWindows m_windows;
    FrmMainState m_state;
    TrayMenu m_menu;
    Registry m_registry;
    Options m_options;
    Win32TrayWindow m_trayWindow;
    TrayModule m_tray;
    TrayAlerts m_alerts;
    WallpaperEngine m_engine;
    WallpaperEngineRoutines m_engineRoutines;
    std::unique_ptr<FrmMainLogic> m_logic;
    bool m_quitAsked = false;
};

} // namespace lumora
