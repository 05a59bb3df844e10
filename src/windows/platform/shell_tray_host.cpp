#include "windows/platform/shell_tray_host.h"

#include "windows/platform/wide_text.h"

#include <algorithm>

namespace lumora {

namespace {

// A field's UTF-8 text into a wide field of `N`, cut to fit with its terminating zero.
template <std::size_t N> void copyText(wchar_t (&to)[N], const std::string& text) {
    std::wstring wide = wideFromUtf8(text);
    if (wide.size() >= N) {
        wide.resize(N - 1);
        if (!wide.empty() && wide.back() >= 0xD800 && wide.back() <= 0xDBFF) {
            wide.pop_back(); // never half a surrogate pair
        }
    }
    std::fill(std::begin(to), std::end(to), L'\0');
    std::copy(wide.begin(), wide.end(), to);
}

} // namespace

NOTIFYICONDATAW notifyIconDataOf(const TrayIconData& data, HWND window, HICON icon) {
    NOTIFYICONDATAW out{};
    out.cbSize = sizeof out;
    out.hWnd = window;
    out.uID = data.uID;
    // Version 4 hides the standard tip unless every call asks for it.
    out.uFlags = data.uFlags | NIF_SHOWTIP;
    out.uCallbackMessage = data.uCallbackMessage;
    out.hIcon = icon;
    copyText(out.szTip, fieldText(data.szTip));
    copyText(out.szInfo, fieldText(data.szInfo));
    copyText(out.szInfoTitle, fieldText(data.szInfoTitle));
    out.uTimeout = data.uTimeout;
    out.dwInfoFlags = data.dwInfoFlags;
    return out;
}

bool ShellTrayHost::notifyIcon(std::uint32_t message, const TrayIconData& data) {
    NOTIFYICONDATAW record = notifyIconDataOf(data, m_window, m_icon);
    const bool done = Shell_NotifyIconW(message, &record) != FALSE;
    if (message == NIM_ADD && done) {
        record.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconW(NIM_SETVERSION, &record);
    }
    if (message == NIM_DELETE) {
        m_shown.reset();
    } else if (done || message == NIM_ADD) {
        // An icon the shell could not take yet (no taskbar so far) comes when the shell starts.
        TrayIconData shown = data;
        shown.uFlags &= ~NIF_INFO; // the balloon is not shown again
        if ((data.uFlags & NIF_TIP) == 0 && m_shown && (m_shown->uFlags & NIF_TIP) != 0) {
            // A call without the tip bit (an alert) leaves the shell showing the tip it had,
            // whatever tip the record holds now; that tip comes back with the icon.
            shown.szTip = m_shown->szTip;
            shown.uFlags |= NIF_TIP;
        }
        m_shown = shown;
    }
    return done;
}

UINT ShellTrayHost::taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

bool ShellTrayHost::shellRestarted() {
    if (!m_shown) {
        return false;
    }
    const TrayIconData shown = *m_shown;
    return notifyIcon(NIM_ADD, shown);
}

} // namespace lumora
