#pragma once
// The Linux edition's platform services, made and owned in one place: the program, its benchmarks
// and the window tests all start from here. A test replaces only what it must (the store, the
// clock, the desktop, where the lock and the autostart entry go); the rest is what the program
// uses.
#include "linux/desktop/backend_factory.h"
#include "linux/platform/autostart_entry.h"
#include "linux/platform/lock_file_instance_guard.h"
#include "linux/platform/posix_file_access.h"
#include "linux/platform/posix_file_sync.h"
#include "linux/platform/qt_day_watch.h"
#include "linux/platform/qt_event_pump.h"
#include "linux/platform/qt_resources.h"
#include "linux/platform/settings_file.h"
#include "linux/platform/system_clock.h"
#include "linux/platform/xdg_program_info.h"
#include "linux/ui/program/program.h"

#include <memory>
#include <optional>
#include <string>

struct LinuxServiceChoices {
    // The registry and the option store; the user's settings file where none is given.
    lumora::RegistryBackend* registry = nullptr;
    lumora::OptionStore* options = nullptr;
    // The clock; the system's where none is given.
    lumora::Clock* clock = nullptr;
    // The desktop backend; chosen from the session where none is given.
    std::optional<lumora::BackendChoice> desktop;
    // The instance lock (empty: in the user's runtime folder) and the folder of the autostart
    // entry (none: $XDG_CONFIG_HOME).
    std::string lockFile;
    std::optional<std::string> configHome;
    // Day copies are flushed to disk before they replace the old ones.
    bool fileSync = true;
};

class LinuxServices {
public:
    explicit LinuxServices(LinuxServiceChoices choices = {});
    LinuxServices(const LinuxServices&) = delete;
    LinuxServices& operator=(const LinuxServices&) = delete;

    // The services as the program takes them; the desktop backend is made at the first call.
    ProgramPlatform platform();
    const lumora::BackendChoice& desktopChoice() const { return m_choice; }

private:
    LinuxServiceChoices m_choices;
    lumora::SettingsFile m_settings;
    lumora::LockFileInstanceGuard m_instance;
    lumora::SystemClock m_clock;
    lumora::XdgProgramInfo m_program;
    lumora::QtResources m_resources;
    lumora::QtEventPump m_events;
    lumora::AutostartEntry m_autostart;
    lumora::PosixFileSync m_fileSync;
    lumora::PosixFileAccess m_files;
    lumora::QtDayWatch m_dayWatch;
    lumora::BackendChoice m_choice;
    std::unique_ptr<lumora::DesktopBackend> m_desktop;
};
