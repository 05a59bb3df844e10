// Drives one desktop backend for the end-to-end tests, one backend object for the whole command
// line, the way the running program keeps one:
//   desktop_driver <backend|auto> [wall PATH STYLE | color RGB | copy FROM TO]...
// <backend> is a LUMORA_DESKTOP name, or "auto" for the choice the program itself would make (its
// name is printed). The choice is told on stderr as the program logs it. RGB is 0x00BBGGRR in
// decimal; an empty PATH means no wallpaper; `copy` overwrites TO with FROM in place, so that a
// test can change a picture file between two calls of the same backend. Exits with 3 when the
// backend reported that a call failed (after making the rest).
#include "linux/desktop/backend_factory.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    std::unique_ptr<QCoreApplication> app;
    if (display != nullptr && *display != '\0') {
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    lumora::Environment env = lumora::probeEnvironment();
    const std::string backendName = argc > 1 ? argv[1] : "auto";
    if (backendName != "auto") {
        env.forced = backendName;
    }
    const lumora::BackendChoice choice = lumora::chooseDesktopBackend(env);
    std::fprintf(stderr, "%s\n", lumora::describeBackendChoice(choice).c_str());
    const std::unique_ptr<lumora::DesktopBackend> backend = lumora::createDesktopBackend(choice);
    bool failed = false;
    for (int i = 2; i < argc;) {
        const std::string cmd = argv[i];
        if (cmd == "wall" && i + 2 < argc) {
            failed |= !backend->setWallpaper(argv[i + 1], std::atoi(argv[i + 2]));
            i += 3;
        } else if (cmd == "color" && i + 1 < argc) {
            failed |= !backend->setBackgroundColor(
                static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10)));
            i += 2;
        } else if (cmd == "copy" && i + 2 < argc) {
            std::error_code error;
            std::filesystem::copy_file(argv[i + 1], argv[i + 2],
                                       std::filesystem::copy_options::overwrite_existing, error);
            if (error) {
                std::fprintf(stderr, "desktop_driver: copy: %s\n", error.message().c_str());
                return 1;
            }
            i += 3;
        } else {
            std::fprintf(stderr, "usage: desktop_driver <backend|auto> [wall PATH STYLE | color "
                                 "RGB | copy FROM TO]...\n");
            return 2;
        }
    }
    if (backendName == "auto") {
        std::printf("%s\n", backend->name().c_str());
    }
    return failed ? 3 : 0;
}
