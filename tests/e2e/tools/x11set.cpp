// Drives the X11 root-window backend for the end-to-end tests, one backend object for the whole
// command line, the way the running program keeps one:
//   x11set wall PATH STYLE | color RGB | copy FROM TO ...
// e.g. `x11set color 16711935 wall /tmp/a.png 0 color 65280`. RGB is decimal 0x00BBGGRR; an
// empty PATH ("") means no wallpaper. The backend tells its caller nothing: the tests read the
// root window back. `copy` overwrites TO with FROM in place, so a test can change a picture file
// between two calls of the same backend.
#include "platform/desktop/x11_root_backend.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    lumora::X11RootBackend backend;
    for (int i = 1; i < argc;) {
        const std::string cmd = argv[i];
        if (cmd == "wall" && i + 2 < argc) {
            backend.setWallpaper(argv[i + 1], std::atoi(argv[i + 2]));
            i += 3;
        } else if (cmd == "color" && i + 1 < argc) {
            backend.setBackgroundColor(
                static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10)));
            i += 2;
        } else if (cmd == "copy" && i + 2 < argc) {
            std::error_code error;
            std::filesystem::copy_file(argv[i + 1], argv[i + 2],
                                       std::filesystem::copy_options::overwrite_existing, error);
            if (error) {
                std::fprintf(stderr, "x11set: copy: %s\n", error.message().c_str());
                return 1;
            }
            i += 3;
        } else {
            std::fprintf(stderr, "usage: x11set wall PATH STYLE | color RGB | copy FROM TO ...\n");
            return 2;
        }
    }
    return 0;
}
