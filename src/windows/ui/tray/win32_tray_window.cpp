#include "windows/ui/tray/win32_tray_window.h"

#include "core/tray/tray_icon_data.h"
#include "windows/ui/program/refresh_request.h"
#include "windows/ui/tray/program_icon.h"

namespace lumora {

Win32TrayWindow::Win32TrayWindow(const TrayMenu& tree, const Resources& resources)
    : m_menu(tree), m_icon(makeProgramIcon(resources, GetSystemMetrics(SM_CXSMICON))) {}

Win32TrayWindow::~Win32TrayWindow() {
    destroy();
}

bool Win32TrayWindow::build() {
    if (exists()) {
        return true;
    }
    WindowSpec spec;
    spec.title = L"Lumora";
    spec.style = WS_POPUP;
    spec.exStyle = WS_EX_TOOLWINDOW;
    spec.icon = m_icon.get();
    if (!create(spec)) {
        return false;
    }
    m_shell = std::make_unique<ShellTrayHost>(hwnd(), m_icon.get());
    return true;
}

bool Win32TrayWindow::notifyIcon(std::uint32_t message, const TrayIconData& data) {
    return m_shell != nullptr && m_shell->notifyIcon(message, data);
}

void Win32TrayWindow::popupMenu() {
    if (!exists() || m_menu.isOpen()) {
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    m_menu.popup(hwnd(), at);
}

void Win32TrayWindow::announce(const std::wstring& title) {
    if (exists()) {
        SetWindowTextW(hwnd(), title.c_str());
    }
}

LRESULT Win32TrayWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) {
        // The icon's callback message is the record's, 0x200. The window is never shown, so no
        // real mouse move comes here. Version 4: the mouse message in the low word of lParam,
        // the icon's id in the high word.
        if (m_events.mouseMessage) {
            m_events.mouseMessage(static_cast<float>(LOWORD(lParam)));
        }
        return 0;
    }
    if (message == ShellTrayHost::taskbarCreatedMessage() && m_shell != nullptr) {
        m_shell->shellRestarted();
        return 0;
    }
    if (message == refreshMessage()) {
        return m_events.refreshRequested ? m_events.refreshRequested(reinterpret_cast<HWND>(wParam))
                                         : 0;
    }
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            if (const auto item = m_menu.itemOf(LOWORD(wParam)); item && m_events.chosen) {
                m_events.chosen(item->first, item->second);
                m_menu.sync();
            }
            return 0;
        }
        break;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE && m_events.sessionEnding) {
            m_events.sessionEnding();
        }
        return 0;
    case WM_TIMER:
        if (wParam == kEndTimer && m_events.endTimer) {
            m_events.endTimer();
            return 0;
        }
        break;
    default:
        break;
    }
    return defaultHandling(message, wParam, lParam);
}

} // namespace lumora
