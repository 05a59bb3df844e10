#pragma once
// The threads of the root-window backend: a change drawn off the application's thread while its
// events run, and the drawing ahead at start-up that the first change may take.
#include "linux/desktop/x11_drawing.h"

#include <cstdint>
#include <string>

namespace lumora::x11 {

// Draws `scene` on the root window; the reason it failed, or empty.
std::string drawScene(const Scene& scene);
// X11RootBackend::drawAhead and waitForAhead.
void startAhead(const std::string& path, int style, std::uint32_t rgb);
void waitAhead();

// Runs drawScene on a thread of its own. Called on the application's thread, it lets the events
// that arrive meanwhile run (timer ticks, the tray menu), so a large picture never freezes the
// program; the thread wakes the loop when it is done.
std::string drawOffThread(const Scene& scene);

} // namespace lumora::x11
