#pragma once
// Keeps the desktop in step with the calendar and the day pictures on disk. Nothing ticks: the
// source calls in just after midnight, after the clock or time zone was set, after a resume, and
// when a day picture or the picture folder changed.
#include "core/engine/engine_routines.h"
#include "core/ports/clock.h"
#include "core/ports/day_watch.h"
#include "core/ports/desktop_backend.h"
#include "core/ports/program_info.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/registry.h"
#include "core/settings_window/settings_editor.h"

namespace lumora {

struct DayWatchServices {
    FrmMainState& state;
    Registry& registry;
    EngineRoutines& engine;
    Clock& clock;
    ProgramInfo& program;
    SettingsEditor& editor;
    DayWatchSource& source;
    DesktopBackend& desktop;
};

class DayWatch {
public:
    explicit DayWatch(DayWatchServices services) : m_s(services) {}

    // Connects the source, compares today with the day start-up saw (a midnight may have passed
    // while start-up drew), checks the day files once and watches them (after start-up).
    void start();
    // The program ends: nothing is checked or set any more, even by a check under way.
    void stop();
    // The day may have changed: the new day's wallpaper, with the day-change report.
    void dayCheck();
    // Every day whose picture file cannot be opened is removed, then today's wallpaper is applied
    // once when some day was.
    void ChckinTime();
    // On the eve of a day: when that day's own picture will be set at midnight, the desktop is
    // told to prepare it in the day's style.
    void prepareNextDay();

private:
    void watchDayFiles();

    DayWatchServices m_s;
    bool m_checking = false;   // a file check is running
    bool m_checkAgain = false; // and another was asked for meanwhile
    bool m_stopped = false;
};

} // namespace lumora
