#include "windows/ui/program/windows_services.h"

#include "windows/platform/win32_desktop.h"

#include <utility>

namespace lumora {

WindowsServices::WindowsServices(WindowsServiceChoices choices)
    : m_choices(std::move(choices)), m_instance(m_choices.instanceName),
      m_autostart(m_choices.runKeys ? std::make_unique<RunValueAutostart>(
                                          m_choices.runKeys->machine, m_choices.runKeys->user)
                                    : std::make_unique<RunValueAutostart>()),
      m_dayWatch(m_choices.dayWatch) {}

Win32Platform WindowsServices::platform() {
    if (m_choices.desktop == nullptr && !m_desktop) {
        m_desktop = std::make_unique<Win32Desktop>(m_program.pictureFolder());
    }
    RegistryBackend& registry = m_choices.registry != nullptr ? *m_choices.registry : m_registry;
    OptionStore& options = m_choices.options != nullptr ? *m_choices.options : m_options;
    DesktopBackend& desktop = m_choices.desktop != nullptr ? *m_choices.desktop : *m_desktop;
    return Win32Platform{registry,
                         options,
                         desktop,
                         m_events,
                         m_program,
                         m_resources,
                         m_instance,
                         *m_autostart,
                         clock(),
                         m_dayWatch,
                         m_files,
                         m_pictures,
                         m_choices.fileSync ? &m_fileSync : nullptr};
}

} // namespace lumora
