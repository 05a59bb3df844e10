#pragma once
// SysMod: the routine that keeps a shown window above the other windows of the desktop.
//
// This header includes <windows.h>: include it after the core's headers.
#include <windows.h>

namespace lumora {

// Values of SetTopMost's onTop argument.
inline constexpr int kTopMostTrue = -1; // above every ordinary window, until hidden
inline constexpr int kTopMostFalse = 0; // back among the ordinary windows

// The z-order place SetWindowPos is given for onTop: HWND_TOPMOST for True, HWND_NOTOPMOST for
// False, the top of the ordinary windows (HWND_TOP) for any other value.
HWND topMostPlace(int onTop);

// Lets the thread's pending messages run, then puts `window` at the place for onTop without
// moving, resizing or activating it, showing it when it was hidden
// (SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW), and lets pending messages run
// again. A window that goes away while messages run is left alone; SetWindowPos's result is not
// looked at.
void SetTopMost(HWND window, int onTop);

// Lets the messages waiting for this thread run now (a quit message is posted again).
void runPendingMessages();

} // namespace lumora
