#include "linux/ui/program/linux_services.h"

#include <utility>

namespace {

// The day watch follows the settings file only where the program keeps its settings there.
lumora::DayWatchOptions watchOptions(const LinuxServiceChoices& choices) {
    lumora::DayWatchOptions options;
    if (choices.registry == nullptr) {
        options.settingsFile = lumora::SettingsFile::defaultPath();
    }
    return options;
}

} // namespace

LinuxServices::LinuxServices(LinuxServiceChoices choices)
    : m_choices(std::move(choices)), m_settings(lumora::SettingsFile::defaultPath()),
      m_instance(m_choices.lockFile), m_autostart(m_choices.configHome),
      m_dayWatch(watchOptions(m_choices)),
      m_choice(m_choices.desktop ? *m_choices.desktop
                                 : lumora::chooseDesktopBackend(lumora::probeEnvironment())) {}

ProgramPlatform LinuxServices::platform() {
    if (!m_desktop) {
        m_desktop = lumora::createDesktopBackend(m_choice);
    }
    lumora::RegistryBackend& registry =
        m_choices.registry != nullptr ? *m_choices.registry : m_settings;
    lumora::OptionStore& options = m_choices.options != nullptr ? *m_choices.options : m_settings;
    lumora::Clock& clock = m_choices.clock != nullptr ? *m_choices.clock : m_clock;
    return ProgramPlatform{registry,   options,     *m_desktop,
                           m_events,   m_program,   m_resources,
                           m_instance, m_autostart, clock,
                           m_dayWatch, m_files,     m_choices.fileSync ? &m_fileSync : nullptr};
}
