#pragma once
// The hidden window that owns the notification icon: a top-level window that is never shown (the
// shell's "TaskbarCreated" broadcast reaches only top-level windows). The icon's callbacks come
// here in the version-4 form (the low word of lParam is the mouse message) and leave as the mouse
// message the core's callback decodes; the pop-up menu's choices come back as WM_COMMAND and leave
// as the item chosen. The end of the session and the request of `lumora --refresh` arrive here
// too. The settings window pops the menu up and tells it of changed check marks through it.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/menu/tray_menu.h"
#include "core/ports/resources.h"
#include "core/ports/tray_host.h"
#include "windows/platform/shell_tray_host.h"
#include "windows/ui/settings_window/tray_menu_view.h"
#include "windows/ui/tray/win32_tray_menu.h"
#include "windows/ui/window/gdi_handles.h"
#include "windows/ui/window/window.h"

#include <functional>
#include <memory>
#include <string>

namespace lumora {

struct TrayWindowEvents {
    // A mouse event on the icon, as the message number the core's callback decodes.
    std::function<void(float)> mouseMessage;
    // An item of the tray menu was chosen: its id and, for a day item, its index 1..7.
    std::function<void(MenuId, int)> chosen;
    // The session ends (logoff or shutdown): the program ends now.
    std::function<void()> sessionEnding;
    // `lumora --refresh` asks; the answer goes to `replyTo` (may be null), the result is returned.
    std::function<LRESULT(HWND replyTo)> refreshRequested;
    // The timer of kEndTimer ticked.
    std::function<void()> endTimer;
};

class Win32TrayWindow : public Window, public TrayHost, public TrayMenuView {
public:
    static constexpr UINT_PTR kEndTimer = 1;

    Win32TrayWindow(const TrayMenu& tree, const Resources& resources);
    ~Win32TrayWindow() override;

    // Makes the hidden window; false when Windows refused it.
    bool build();
    void setEvents(TrayWindowEvents events) { m_events = std::move(events); }

    // TrayHost: the icon record to the shell, owned by this window and showing the program icon.
    bool notifyIcon(std::uint32_t message, const TrayIconData& data) override;

    Win32TrayMenu& menu() { return m_menu; }
    HICON icon() const { return m_icon.get(); }
    // TrayMenuView, for the settings window: pops the menu up at the mouse, unless it is open
    // already; shows the tree's check marks afresh.
    void popupMenu() override;
    void menuChanged() override { m_menu.sync(); }
    // Gives the window the title `lumora --refresh` looks for.
    void announce(const std::wstring& title);

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Win32TrayMenu m_menu;
    IconHandle m_icon;
    std::unique_ptr<ShellTrayHost> m_shell;
    TrayWindowEvents m_events;
};

} // namespace lumora
