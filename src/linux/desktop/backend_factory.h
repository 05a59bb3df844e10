#pragma once
// Which desktop backend the session gets. The choice, in this order:
//  1. LUMORA_DESKTOP names one (gnome, cinnamon, mate, xfce, kde, sway, x11, none);
//  2. XDG_CURRENT_DESKTOP, a colon-separated list read left to right, case-insensitive;
//  3. DESKTOP_SESSION;
//  4. a probe: a desktop's own name on the session bus, a sway socket;
//  5. the X11 root window on X11; swaybg on another Wayland compositor; else none.
// A GNOME-family desktop whose settings schema is not installed, or sway without swaybg, is
// passed over. The root window is never chosen by detection in a Wayland session (it is not what
// the user sees there).
#include "core/ports/desktop_backend.h"

#include <memory>
#include <set>
#include <string>

namespace lumora {

// What the choice looks at: the environment variables and the probes' answers, as plain data.
struct Environment {
    std::string forced;          // LUMORA_DESKTOP
    std::string currentDesktop;  // XDG_CURRENT_DESKTOP
    std::string desktopSession;  // DESKTOP_SESSION
    std::string sessionType;     // XDG_SESSION_TYPE
    bool waylandDisplay = false; // WAYLAND_DISPLAY is set
    bool x11Display = false;     // DISPLAY is set
    bool swaySocket = false;     // SWAYSOCK is set
    bool swaybgInstalled = false;
    std::set<std::string> busNames; // those of probedBusNames() present on the session bus
    std::set<std::string> schemas;  // the background schemas that are installed
};

struct BackendChoice {
    std::string name;   // "gnome", "cinnamon", "mate", "xfce", "kde", "sway", "x11", "none"
    std::string reason; // what decided it, for the start-up log line
    bool operator==(const BackendChoice&) const = default;
};

// The bus names the probe asks about, each naming a desktop's own running shell.
const std::set<std::string>& probedBusNames();

// The backend for a desktop name as it appears in XDG_CURRENT_DESKTOP or LUMORA_DESKTOP
// (case-insensitive); empty when the name is not one we know.
std::string backendForDesktopName(const std::string& name);

BackendChoice chooseDesktopBackend(const Environment& environment);

// The environment of this process, with the probes asked (the session bus, the installed GSettings
// schemas, swaybg on PATH).
Environment probeEnvironment();
// The environment variables only, nothing probed: quick, for a first guess.
Environment environmentFromVariables();

// The backend of chooseDesktopBackend(environment).
std::unique_ptr<DesktopBackend> createDesktopBackend(const Environment& environment);
std::unique_ptr<DesktopBackend> createDesktopBackend(const BackendChoice& choice);

// One line for the start-up log: "desktop backend: gnome (XDG_CURRENT_DESKTOP=ubuntu:GNOME)".
std::string describeBackendChoice(const BackendChoice& choice);

} // namespace lumora
