#include "linux/desktop/backend_factory.h"

#include "linux/desktop/gnome_backend.h"
#include "linux/desktop/kde_backend.h"
#include "linux/desktop/none_backend.h"
#include "linux/desktop/sway_backend.h"
#include "linux/desktop/x11_root_backend.h"
#include "linux/desktop/xfce_backend.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace lumora {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

const std::array<const char*, 8> kBackendNames = {"gnome", "cinnamon", "mate", "xfce",
                                                  "kde",   "sway",     "x11",  "none"};

// Bus names owned by a desktop's running shell, and the backend each means, in probe order.
const std::array<std::pair<const char*, const char*>, 5> kBusProbes = {{
    {"org.kde.plasmashell", "kde"},
    {"org.gnome.Shell", "gnome"},
    {"org.Cinnamon", "cinnamon"},
    {"org.xfce.xfdesktop", "xfce"},
    {"org.mate.Caja", "mate"},
}};

std::string schemaOf(const std::string& backend) {
    if (backend == "gnome") {
        return GnomeFamilyBackend::schemaId(GsettingsDesktop::Gnome);
    }
    if (backend == "cinnamon") {
        return GnomeFamilyBackend::schemaId(GsettingsDesktop::Cinnamon);
    }
    if (backend == "mate") {
        return GnomeFamilyBackend::schemaId(GsettingsDesktop::Mate);
    }
    return {};
}

bool isWayland(const Environment& env) {
    return env.waylandDisplay || lower(env.sessionType) == "wayland";
}

// Whether a detected backend can work here; when not, `why` says what is missing.
bool usable(const std::string& backend, const Environment& env, std::string& why) {
    const std::string schema = schemaOf(backend);
    if (!schema.empty() && env.schemas.count(schema) == 0) {
        why = "the settings schema " + schema + " is not installed";
        return false;
    }
    if (backend == "sway" && !env.swaybgInstalled) {
        why = "swaybg is not installed";
        return false;
    }
    if (backend == "x11" && (isWayland(env) || !env.x11Display)) {
        why = isWayland(env) ? "the root window is not shown in a Wayland session" : "no X display";
        return false;
    }
    return true;
}

std::string backendForSession(const std::string& session) {
    std::string name = lower(session);
    const std::size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) {
        name = name.substr(slash + 1);
    }
    const std::string direct = backendForDesktopName(name);
    if (!direct.empty()) {
        return direct;
    }
    static const std::array<std::pair<const char*, const char*>, 11> prefixes = {{
        {"plasma", "kde"},
        {"kde", "kde"},
        {"gnome", "gnome"},
        {"ubuntu", "gnome"},
        {"budgie", "gnome"},
        {"pantheon", "gnome"},
        {"cinnamon", "cinnamon"},
        {"mate", "mate"},
        {"xfce", "xfce"},
        {"xubuntu", "xfce"},
        {"sway", "sway"},
    }};
    for (const auto& [prefix, backend] : prefixes) {
        if (startsWith(name, prefix)) {
            return backend;
        }
    }
    return {};
}

} // namespace

const std::set<std::string>& probedBusNames() {
    static const std::set<std::string> names = [] {
        std::set<std::string> result;
        for (const auto& probe : kBusProbes) {
            result.insert(probe.first);
        }
        return result;
    }();
    return names;
}

std::string backendForDesktopName(const std::string& name) {
    static const std::array<std::pair<const char*, const char*>, 20> names = {{
        {"gnome", "gnome"},
        {"gnome-classic", "gnome"},
        {"gnome-flashback", "gnome"},
        {"unity", "gnome"},
        {"budgie", "gnome"},
        {"budgie-desktop", "gnome"},
        {"pantheon", "gnome"},
        {"cinnamon", "cinnamon"},
        {"x-cinnamon", "cinnamon"},
        {"mate", "mate"},
        {"xfce", "xfce"},
        {"kde", "kde"},
        {"plasma", "kde"},
        {"sway", "sway"},
        {"wlroots", "sway"},
        {"hyprland", "sway"},
        {"river", "sway"},
        {"labwc", "sway"},
        {"wayfire", "sway"},
        {"x11", "x11"},
    }};
    const std::string key = lower(name);
    for (const auto& [desktop, backend] : names) {
        if (key == desktop) {
            return backend;
        }
    }
    if (key == "none") {
        return "none";
    }
    return {};
}

BackendChoice chooseDesktopBackend(const Environment& env) {
    std::string notes; // what was passed over, told with the final reason
    const auto note = [&notes](const std::string& text) {
        notes += (notes.empty() ? "" : "; ") + text;
    };
    const auto withNotes = [&notes](std::string reason) {
        return notes.empty() ? reason : reason + "; " + notes;
    };

    if (!env.forced.empty()) {
        const std::string forced = lower(env.forced);
        if (std::find(kBackendNames.begin(), kBackendNames.end(), forced) != kBackendNames.end()) {
            return {forced, "LUMORA_DESKTOP=" + env.forced};
        }
        note("LUMORA_DESKTOP=" + env.forced + " is not a backend name");
    }

    // Each candidate from the environment, in order, with what named it.
    std::string why;
    std::size_t start = 0;
    while (start <= env.currentDesktop.size() && !env.currentDesktop.empty()) {
        const std::size_t colon = env.currentDesktop.find(':', start);
        const std::string token = env.currentDesktop.substr(
            start, colon == std::string::npos ? std::string::npos : colon - start);
        const std::string backend = backendForDesktopName(token);
        if (!backend.empty() && backend != "none") {
            if (usable(backend, env, why)) {
                return {backend, withNotes("XDG_CURRENT_DESKTOP=" + env.currentDesktop)};
            }
            note(token + " passed over: " + why);
        }
        if (colon == std::string::npos) {
            break;
        }
        start = colon + 1;
    }

    if (!env.desktopSession.empty()) {
        const std::string backend = backendForSession(env.desktopSession);
        if (!backend.empty() && backend != "none") {
            if (usable(backend, env, why)) {
                return {backend, withNotes("DESKTOP_SESSION=" + env.desktopSession)};
            }
            note(env.desktopSession + " passed over: " + why);
        }
    }

    for (const auto& [busName, backend] : kBusProbes) {
        if (env.busNames.count(busName) != 0) {
            if (usable(backend, env, why)) {
                return {backend, withNotes(std::string(busName) + " is on the session bus")};
            }
            note(std::string(busName) + " passed over: " + why);
        }
    }
    if (env.swaySocket) {
        if (usable("sway", env, why)) {
            return {"sway", withNotes("SWAYSOCK is set")};
        }
        note("SWAYSOCK passed over: " + why);
    }

    if (isWayland(env)) {
        if (env.swaybgInstalled) {
            return {"sway", withNotes("a Wayland session without a known desktop")};
        }
        return {"none", withNotes("a Wayland session without a known desktop, and no swaybg")};
    }
    if (env.x11Display) {
        return {"x11", withNotes("an X11 session without a known desktop")};
    }
    return {"none", withNotes("no X11 or Wayland display")};
}

Environment environmentFromVariables() {
    Environment env;
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    env.forced = variable("LUMORA_DESKTOP");
    env.currentDesktop = variable("XDG_CURRENT_DESKTOP");
    env.desktopSession = variable("DESKTOP_SESSION");
    env.sessionType = variable("XDG_SESSION_TYPE");
    env.waylandDisplay = !variable("WAYLAND_DISPLAY").empty();
    env.x11Display = !variable("DISPLAY").empty();
    env.swaySocket = !variable("SWAYSOCK").empty();
    return env;
}

Environment probeEnvironment() {
    Environment env = environmentFromVariables();
    env.swaybgInstalled = !QStandardPaths::findExecutable(QStringLiteral("swaybg")).isEmpty();
    for (const GsettingsDesktop desktop :
         {GsettingsDesktop::Gnome, GsettingsDesktop::Cinnamon, GsettingsDesktop::Mate}) {
        if (GnomeFamilyBackend::schemaInstalled(desktop)) {
            env.schemas.insert(GnomeFamilyBackend::schemaId(desktop));
        }
    }
    // The bus is only asked when the variables leave the question open.
    const BackendChoice fromVariables = chooseDesktopBackend(env);
    const bool decided = fromVariables.reason.rfind("LUMORA_DESKTOP=", 0) == 0 ||
                         fromVariables.reason.rfind("XDG_CURRENT_DESKTOP=", 0) == 0 ||
                         fromVariables.reason.rfind("DESKTOP_SESSION=", 0) == 0;
    if (!decided) {
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        if (bus != nullptr) {
            for (const std::string& name : probedBusNames()) {
                if (bus->isServiceRegistered(QString::fromStdString(name)).value()) {
                    env.busNames.insert(name);
                }
            }
        }
    }
    return env;
}

std::unique_ptr<DesktopBackend> createDesktopBackend(const BackendChoice& choice) {
    const std::string& name = choice.name;
    if (name == "gnome") {
        return std::make_unique<GnomeFamilyBackend>(GsettingsDesktop::Gnome);
    }
    if (name == "cinnamon") {
        return std::make_unique<GnomeFamilyBackend>(GsettingsDesktop::Cinnamon);
    }
    if (name == "mate") {
        return std::make_unique<GnomeFamilyBackend>(GsettingsDesktop::Mate);
    }
    if (name == "xfce") {
        return std::make_unique<XfceBackend>();
    }
    if (name == "kde") {
        return std::make_unique<KdeBackend>();
    }
    if (name == "sway") {
        return std::make_unique<SwayBackend>();
    }
    if (name == "x11") {
        return std::make_unique<X11RootBackend>();
    }
    return std::make_unique<NoneBackend>(choice.reason);
}

std::unique_ptr<DesktopBackend> createDesktopBackend(const Environment& environment) {
    return createDesktopBackend(chooseDesktopBackend(environment));
}

std::string describeBackendChoice(const BackendChoice& choice) {
    return "desktop backend: " + choice.name + " (" + choice.reason + ")";
}

} // namespace lumora
