#include "windows/ui/auxiliary/win32_sys_mod.h"

#include "windows/platform/win32_event_pump.h"

namespace lumora {

HWND topMostPlace(int onTop) {
    if (onTop == kTopMostTrue) {
        return HWND_TOPMOST;
    }
    if (onTop == kTopMostFalse) {
        return HWND_NOTOPMOST;
    }
    return HWND_TOP;
}

void runPendingMessages() {
    Win32EventPump().processEvents();
}

void SetTopMost(HWND window, int onTop) {
    runPendingMessages(); // a window shown just before is painted first
    if (window == nullptr || !IsWindow(window)) {
        return;
    }
    SetWindowPos(window, topMostPlace(onTop), 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    runPendingMessages();
}

} // namespace lumora
