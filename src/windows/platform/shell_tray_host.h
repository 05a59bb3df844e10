#pragma once
// The notification icon through Shell_NotifyIconW: the icon record's fields in the wide record of
// the running system's size, the owner window and icon being the real handles the window layer
// gives. The icon speaks version 4 (the callback's low word is the mouse message); a tip is shown
// as the standard tip; a balloon has its title, text, icon kind and time-out. When the shell
// starts again (Explorer restarted) the icon is added again.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/ports/tray_host.h"
#include "core/tray/tray_icon_data.h"

#include <windows.h>

#include <shellapi.h>

#include <optional>

namespace lumora {

// The wide record for `data`, owned by `window` and showing `icon`.
NOTIFYICONDATAW notifyIconDataOf(const TrayIconData& data, HWND window, HICON icon);

class ShellTrayHost : public TrayHost {
public:
    ShellTrayHost(HWND window, HICON icon) : m_window(window), m_icon(icon) {}

    bool notifyIcon(std::uint32_t message, const TrayIconData& data) override;
    // The shell's "TaskbarCreated" message: the owner window calls shellRestarted() on it.
    static UINT taskbarCreatedMessage();
    // Adds the icon again as it last was; false when it was not there.
    bool shellRestarted();

private:
    HWND m_window;
    HICON m_icon;
    std::optional<TrayIconData> m_shown; // the record of the icon while it is there
};

} // namespace lumora
