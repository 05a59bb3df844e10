#pragma once
// FrmMain's routines, by concern: start-up, start at logon, the tray and its menu, the settings
// window and the day watch. This object only builds them over the services and keeps them together.
#include "core/ports/autostart.h"
#include "core/ports/program_info.h"
#include "core/settings_window/settings_editor.h"
#include "core/tray/day_watch.h"
#include "core/tray/start_at_logon.h"
#include "core/tray/startup.h"
#include "core/tray/tray_controller.h"

namespace lumora {

struct FrmMainServices {
    FrmMainState& state;
    Options& options;
    Registry& registry;
    EngineRoutines& engine;
    DesktopBackend& desktop;
    InstanceGuard& instance;
    Dialogs& dialogs;
    Autostart& autostart;
    ProgramInfo& program;
    Clock& clock;
    TrayModule& tray;
    TrayMenu& menu;
    MessageSink& alerts;
    MainWindow& window;
    AboutWindow& about;
    HelpWindow& help;
    PreviewWindow& preview;
    DayWatchSource& daySource;
};

class FrmMainLogic {
public:
    explicit FrmMainLogic(const FrmMainServices& s)
        : editor({s.state, s.options, s.registry, s.engine, s.dialogs, s.clock, s.window, s.alerts,
                  s.menu, s.preview}),
          logon({s.state, s.options, s.autostart, s.program, s.menu, s.window}),
          startUp({s.state, s.options, s.registry, s.engine, s.desktop, s.instance, s.dialogs,
                   s.clock, s.tray, s.menu, s.window, s.about, editor, logon}),
          dayWatch(
              {s.state, s.registry, s.engine, s.clock, s.program, editor, s.daySource, s.desktop}),
          tray({s.state, s.options, s.engine, s.clock, s.tray, s.menu, s.window, s.about, s.help,
                editor, logon, dayWatch}) {}

    SettingsEditor editor;
    StartAtLogon logon;
    StartUp startUp;
    DayWatch dayWatch;
    TrayController tray;
};

} // namespace lumora
