#pragma once
// The Windows edition's platform services, made and owned in one place: the program, its
// benchmarks and the window tests all start from here. A test replaces only what it must (the
// stores, the clock, the desktop, the instance mutex's name, where the Run value goes); the rest
// is what the program uses.
#include "core/ports/clock.h"
#include "core/ports/desktop_backend.h"
#include "core/ports/option_store.h"
#include "core/ports/registry_backend.h"
#include "windows/platform/mutex_instance_guard.h"
#include "windows/platform/registry_option_store.h"
#include "windows/platform/run_value_autostart.h"
#include "windows/platform/wic_pictures.h"
#include "windows/platform/win32_clock.h"
#include "windows/platform/win32_day_watch.h"
#include "windows/platform/win32_event_pump.h"
#include "windows/platform/win32_file_access.h"
#include "windows/platform/win32_file_sync.h"
#include "windows/platform/win32_program_info.h"
#include "windows/platform/win32_registry.h"
#include "windows/platform/win32_resources.h"
#include "windows/ui/program/win32_program.h"

#include <memory>
#include <optional>
#include <string>

namespace lumora {

struct WindowsServiceChoices {
    // The registry and the option store; the user's registry where none is given.
    RegistryBackend* registry = nullptr;
    OptionStore* options = nullptr;
    // The clock; the system's where none is given.
    Clock* clock = nullptr;
    // The desktop; the Windows desktop where none is given.
    DesktopBackend* desktop = nullptr;
    // The instance mutex's name (a test gives one of its own).
    std::string instanceName = "Local\\Lumora.SingleInstance";
    // Where start at logon writes the Run value: machine-wide first, then the user's; the
    // system's Run keys where none are given.
    struct RunKeys {
        RunValueLocation machine;
        RunValueLocation user;
    };
    std::optional<RunKeys> runKeys;
    // The day watch's options (the registry key watched, the time).
    Win32DayWatchOptions dayWatch;
    // Day copies are flushed to disk before they replace the old ones.
    bool fileSync = true;
};

class WindowsServices {
public:
    explicit WindowsServices(WindowsServiceChoices choices = {});
    WindowsServices(const WindowsServices&) = delete;
    WindowsServices& operator=(const WindowsServices&) = delete;

    // The services as the program takes them; the desktop is made at the first call.
    Win32Platform platform();
    Resources& resources() { return m_resources; }
    Clock& clock() { return m_choices.clock != nullptr ? *m_choices.clock : m_clock; }
    Pictures& pictures() { return m_pictures; }

private:
    WindowsServiceChoices m_choices;
    Win32Registry m_registry;
    RegistryOptionStore m_options;
    MutexInstanceGuard m_instance;
    Win32Clock m_clock;
    Win32ProgramInfo m_program;
    Win32Resources m_resources;
    Win32EventPump m_events;
    std::unique_ptr<RunValueAutostart> m_autostart;
    Win32FileSync m_fileSync;
    Win32FileAccess m_files;
    WicPictures m_pictures;
    Win32DayWatch m_dayWatch;
    std::unique_ptr<DesktopBackend> m_desktop;
};

} // namespace lumora
