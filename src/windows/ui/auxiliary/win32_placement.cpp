#include "core/viewer/window_placement.h"

#include "windows/ui/auxiliary/win32_placement.h"

namespace lumora {

RECT screenFor(HWND window) {
    HMONITOR monitor = nullptr;
    if (window != nullptr && IsWindowVisible(window)) {
        monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    } else {
        POINT pointer{};
        GetCursorPos(&pointer);
        monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return info.rcMonitor;
}

void centreOnScreen(HWND window) {
    RECT frame{};
    if (window == nullptr || !GetWindowRect(window, &frame)) {
        return;
    }
    const RECT screen = screenFor(window);
    const viewer::PointI origin = viewer::centredOn(
        {screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top},
        frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace lumora
