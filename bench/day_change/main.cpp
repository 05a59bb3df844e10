// lumora_bench_day_change YESTERDAY TODAY ROUNDS
// The change of day as the running program does it on the X11 root-window backend: yesterday's
// picture is on the root, and the day watch's midnight call sets today's (stretch) from a running
// QCoreApplication, the way the engine calls it. Each round sets YESTERDAY untimed, then times
// the call that sets TODAY, from its start until the server has the new background (the backend
// returns after a round trip that follows the change). Prints one time in milliseconds per line.
#include "platform/desktop/x11_root_backend.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: lumora_bench_day_change YESTERDAY TODAY ROUNDS\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const int rounds = std::atoi(argv[3]);
    int status = 0;
    // From a timer, as the midnight call comes (a posted call would not see the backend's wake-up).
    QTimer::singleShot(1, &app, [&] {
        lumora::X11RootBackend backend;
        for (int r = 0; r < rounds && status == 0; ++r) {
            if (!backend.setWallpaper(argv[1], 2).ok) {
                status = 1;
                break;
            }
            const auto start = std::chrono::steady_clock::now();
            if (!backend.setWallpaper(argv[2], 2).ok) {
                status = 1;
                break;
            }
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            std::printf("%.1f\n", took.count());
        }
        QCoreApplication::exit(status);
    });
    return QCoreApplication::exec();
}
