#include "linux/platform/display_check.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace lumora {

namespace {

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The platform names Qt will try, in order, each without its ":options".
std::vector<std::string> platformsToTry(int argc, char** argv) {
    std::string list;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            list = argv[i + 1];
        }
    }
    if (list.empty()) {
        list = env("QT_QPA_PLATFORM");
    }
    if (list.empty()) {
        list = env("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
    }
    std::vector<std::string> names;
    std::istringstream in(list);
    for (std::string name; std::getline(in, name, ';');) {
        names.push_back(name.substr(0, name.find(':')));
    }
    return names;
}

// Whether a Wayland compositor answers on WAYLAND_DISPLAY's socket.
bool waylandAnswers() {
    std::string name = env("WAYLAND_DISPLAY");
    if (name.empty()) {
        return false;
    }
    if (name.front() != '/') {
        const std::string runtime = env("XDG_RUNTIME_DIR");
        if (runtime.empty()) {
            return false;
        }
        name = runtime + "/" + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

bool xDisplayOpens(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool ok = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return ok;
}

} // namespace

std::string displayProblem(int argc, char** argv) {
    std::string problem;
    for (const std::string& platform : platformsToTry(argc, argv)) {
        if (platform == "xcb") {
            const std::string display = env("DISPLAY");
            if (display.empty()) {
                problem = "lumora: no display to run on: DISPLAY is not set";
            } else if (xDisplayOpens(display)) {
                return {};
            } else {
                problem = "lumora: cannot open the X display \"" + display + "\"";
            }
        } else if (std::string_view(platform).starts_with("wayland")) {
            if (waylandAnswers()) {
                return {};
            }
            problem = "lumora: no Wayland compositor answers on WAYLAND_DISPLAY";
        } else {
            return {}; // offscreen, minimal, vnc, ...: Qt's own business
        }
    }
    return problem;
}

} // namespace lumora
