// Drives one desktop backend the way the wallpaper engine does (colour first, then wallpaper), for
// the end-to-end tests:
//   desktop_driver <backend|auto> <path> <style|-> [colour]
// <backend> is a LUMORA_DESKTOP name, or "auto" for the choice the program itself would make.
// An empty <path> means no wallpaper; style "-" skips the wallpaper call; [colour] is the
// 0x00BBGGRR value in decimal. The choice is told on stderr as the program logs it.
#include "platform/desktop/backend_factory.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: desktop_driver <backend|auto> <path> <style|-> [colour]\n");
        return 2;
    }
    const char* display = std::getenv("DISPLAY");
    std::unique_ptr<QCoreApplication> app;
    if (display != nullptr && *display != '\0') {
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    lumora::Environment env = lumora::probeEnvironment();
    const std::string backendName = argv[1];
    if (backendName != "auto") {
        env.forced = backendName;
    }
    const lumora::BackendChoice choice = lumora::chooseDesktopBackend(env);
    std::fprintf(stderr, "%s\n", lumora::describeBackendChoice(choice).c_str());
    const std::unique_ptr<lumora::DesktopBackend> backend = lumora::createDesktopBackend(choice);

    if (argc == 5) {
        char* end = nullptr;
        const unsigned long colour = std::strtoul(argv[4], &end, 10);
        if (end == argv[4] || *end != '\0' || colour > 0xFFFFFFFFul) {
            std::fprintf(stderr, "desktop_driver: not a colour: %s\n", argv[4]);
            return 2;
        }
        backend->setBackgroundColor(static_cast<std::uint32_t>(colour));
    }
    const std::string style = argv[3];
    if (style != "-") {
        backend->setWallpaper(argv[2], std::atoi(style.c_str()));
    }
    std::printf("%s\n", backend->name().c_str());
    return 0;
}
