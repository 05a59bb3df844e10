#pragma once
// Before the application object is made: Qt ends the process with a core dump when its platform
// plugin finds no display, so the display is looked for first, the way Qt will look.
#include <string>

namespace lumora {

// Empty when the platform Qt will use has a display to show on (or needs none: offscreen,
// minimal, ...); otherwise one line saying what is missing. Follows `-platform` on the command
// line, QT_QPA_PLATFORM, XDG_SESSION_TYPE, WAYLAND_DISPLAY and DISPLAY as Qt does.
std::string displayProblem(int argc, char** argv);

} // namespace lumora
