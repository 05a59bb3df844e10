#include "core/text/texts.h"
#include "core/text/window_texts.h"

#include "windows/platform/wide_text.h"
#include "windows/ui/auxiliary/win32_frm_help.h"
#include "windows/ui/auxiliary/win32_placement.h"
#include "windows/ui/auxiliary/win32_sys_mod.h"

namespace lumora {

namespace {

// Whether `window` is one of this process's windows.
bool ours(HWND window) {
    DWORD process = 0;
    return window != nullptr && GetWindowThreadProcessId(window, &process) != 0 &&
           process == GetCurrentProcessId();
}

} // namespace

Win32FrmHelp::Win32FrmHelp(const Clock& clock) : m_clock(clock) {}

std::wstring Win32FrmHelp::captionNow() const {
    return wideFromUtf8(helpCaption(m_clock.now(), m_clock));
}

void Win32FrmHelp::Form_Load() {
    // A title bar with its close box, a thin fixed border; the design caption until activated.
    if (!create({wideFromUtf8(kProductName), WS_CAPTION | WS_SYSMENU, 0, kClientWidth,
                 kClientHeight, nullptr, GetSysColorBrush(COLOR_BTNFACE)})) {
        return;
    }
    m_timer1On = SetTimer(hwnd(), kTimer1, kClockInterval, nullptr) != 0;
}

void Win32FrmHelp::showHelp() {
    if (!exists()) {
        Form_Load();
        if (!exists()) {
            return;
        }
        centreOnScreen(hwnd());
    }
    m_inActivate = true; // the activation of the showing itself is the one below
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    m_inActivate = false;
    Form_Activate();
}

void Win32FrmHelp::Form_Activate() {
    if (!exists() || m_inActivate) {
        return;
    }
    m_inActivate = true;
    SetWindowTextW(hwnd(), captionNow().c_str());
    centreOnScreen(hwnd());
    SetTopMost(hwnd(), kTopMostTrue);
    m_inActivate = false;
}

void Win32FrmHelp::Timer1_Timer() {
    if (exists()) {
        SetWindowTextW(hwnd(), captionNow().c_str());
    }
}

void Win32FrmHelp::onDestroyed() {
    m_timer1On = false; // the timer went with the window
    m_inActivate = false;
}

LRESULT Win32FrmHelp::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        // Coming back from another of the program's windows counts; coming back from another
        // application (the window losing the activation is not ours) does not.
        if (LOWORD(wParam) != WA_INACTIVE && ours(reinterpret_cast<HWND>(lParam))) {
            Form_Activate();
        }
        return defaultHandling(message, wParam, lParam);
    case WM_TIMER:
        if (wParam == kTimer1) {
            Timer1_Timer();
        }
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kTimer1);
        return 0;
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

} // namespace lumora
