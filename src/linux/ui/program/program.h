#pragma once
// The program as one object: the state and the core's routines, the settings window, the tray
// icon and menu, the about and help windows, connected to one another here and nowhere else.
// The process ends when the program was told to end and none of its windows is open any more.
#include "core/engine/wallpaper_engine.h"
#include "core/engine/wallpaper_engine_routines.h"
#include "core/menu/tray_menu.h"
#include "core/ports/autostart.h"
#include "core/ports/clock.h"
#include "core/ports/day_watch.h"
#include "core/ports/desktop_backend.h"
#include "core/ports/event_pump.h"
#include "core/ports/file_access.h"
#include "core/ports/file_sync.h"
#include "core/ports/instance_guard.h"
#include "core/ports/option_store.h"
#include "core/ports/program_info.h"
#include "core/ports/registry_backend.h"
#include "core/ports/resources.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "core/tray/frm_main_logic.h"
#include "core/tray/tray_alerts.h"
#include "core/tray/tray_module.h"
#include "linux/ui/auxiliary/frm_about.h"
#include "linux/ui/auxiliary/frm_help.h"
#include "linux/ui/preview/preview_reference.h"
#include "linux/ui/settings_window/frm_main.h"
#include "linux/ui/settings_window/qt_dialogs.h"
#include "linux/ui/tray/qt_tray_host.h"
#include "linux/ui/tray/qt_tray_menu.h"

#include <QObject>
#include <QTimer>

#include <memory>

// The platform services the program works with, built by main().
struct ProgramPlatform {
    lumora::RegistryBackend& registry;
    lumora::OptionStore& options;
    lumora::DesktopBackend& desktop;
    lumora::EventPump& events;
    lumora::ProgramInfo& program;
    lumora::Resources& resources;
    lumora::InstanceGuard& instance;
    lumora::Autostart& autostart;
    lumora::Clock& clock;
    lumora::DayWatchSource& dayWatch;
    // Opens the pictures the day copies are made from, and the copies' new files.
    lumora::FileAccess& files;
    // Makes day copies durable before they replace the old ones; none in tests.
    lumora::FileSync* fileSync = nullptr;
};

class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(ProgramPlatform platform, QObject* parent = nullptr);
    ~Program() override;

    // Start-up; false when another instance runs (the box was shown and closed).
    bool start();
    // Sets today's wallpaper once, without the logo, the icon or alerts; false when another
    // instance runs (no box).
    bool startOnce();
    // What the desktop did in the last setting of a day's wallpaper.
    const lumora::DesktopResult& lastApplyResult() const { return m_engine.lastRun(); }

    FrmMain& window() { return *m_window; }
    // The about and help windows are made the first time they are wanted.
    FrmAbout& about();
    FrmHelp& help();
    PreviewReference& preview() { return m_preview; }
    QtTrayHost& trayHost() { return *m_trayHost; }
    QtTrayMenu& trayMenu() { return *m_trayMenu; }
    lumora::FrmMainLogic& logic() { return *m_logic; }
    lumora::FrmMainState& state() { return m_state; }
    QtDialogs& dialogs() { return m_dialogs; }
    bool unloaded() const { return m_logic->tray.unloaded(); }
    // Whether a window of the program other than the settings window is open.
    bool otherWindowOpen() const;

signals:
    // The program was told to end (Exit): the icon is gone, the process ends with its windows.
    void unloadedForGood();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectWindows();
    void quitWhenNoWindowIsLeft();
    // Once the program has sat in the notification area with no window open for a while, the
    // code pages only start-up and the windows used are handed back to the system.
    void handBackPagesSoon();

    QTimer m_handBack;

    lumora::FrmMainState m_state;
    lumora::TrayMenu m_menu;
    lumora::Registry m_registry;
    lumora::Options m_options;
    std::unique_ptr<FrmMain> m_window;
    QtDialogs m_dialogs;
    lumora::Clock& m_clock;
    std::unique_ptr<FrmAbout> m_about;
    std::unique_ptr<FrmHelp> m_help;
    // What the logic opens: each makes its window on first use.
    struct AboutOnDemand : lumora::AboutWindow {
        Program& program;
        explicit AboutOnDemand(Program& p) : program(p) {}
        void StrtPrg(std::int16_t timShw, bool oldStatus) override {
            program.about().StrtPrg(timShw, oldStatus);
        }
    } m_aboutPort{*this};
    struct HelpOnDemand : lumora::HelpWindow {
        Program& program;
        explicit HelpOnDemand(Program& p) : program(p) {}
        void showHelp() override { program.help().showHelp(); }
    } m_helpPort{*this};
    PreviewReference m_preview;
    std::unique_ptr<QtTrayHost> m_trayHost;
    std::unique_ptr<QtTrayMenu> m_trayMenu;
    lumora::TrayModule m_tray;
    lumora::TrayAlerts m_alerts;
    lumora::WallpaperEngine m_engine;
    lumora::WallpaperEngineRoutines m_engineRoutines;
    std::unique_ptr<lumora::FrmMainLogic> m_logic;
};
