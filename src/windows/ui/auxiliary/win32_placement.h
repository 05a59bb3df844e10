#pragma once
// Placing the auxiliary windows on the screen.
//
// This header includes <windows.h>: include it after the core's headers.
#include <windows.h>

namespace lumora {

// The screen a window is on when shown, or the one under the mouse pointer for a window not
// shown yet (the primary screen when the pointer is on none): its whole area.
RECT screenFor(HWND window);

// Moves a top-level window so that its outer frame is centred on its screen:
// left = (screen width - frame width) / 2, top = (screen height - frame height) / 2.
void centreOnScreen(HWND window);

} // namespace lumora
