// lumora_bench_day_change YESTERDAY TODAY ROUNDS [--not-prepared]
// The change of day as the running program does it on the X11 root-window backend: yesterday's
// picture is on the root, and the day watch's midnight call sets today's (stretch) from a running
// QCoreApplication, the way the engine calls it. Each round sets YESTERDAY untimed and, as the
// day watch does in the hour before midnight, has TODAY prepared (in $XDG_CACHE_HOME/lumora);
// then times the call that sets TODAY, from its start until the server has the new background
// (the backend returns after a round trip that follows the change). With --not-prepared the
// backend keeps nothing prepared and decodes TODAY in the timed call. Prints one time in
// milliseconds per line.
#include "linux/desktop/x11_root_backend.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    const bool prepared = !(argc == 5 && std::strcmp(argv[4], "--not-prepared") == 0);
    if (argc != 4 && prepared) {
        std::fprintf(stderr,
                     "usage: lumora_bench_day_change YESTERDAY TODAY ROUNDS [--not-prepared]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const int rounds = std::atoi(argv[3]);
    int status = 0;
    // From a timer, as the midnight call comes (a posted call would not see the backend's wake-up).
    QTimer::singleShot(1, &app, [&] {
        auto backend = prepared ? std::make_unique<lumora::X11RootBackend>()
                                : std::make_unique<lumora::X11RootBackend>(std::string());
        for (int r = 0; r < rounds && status == 0; ++r) {
            if (!backend->setWallpaper(argv[1], 2).ok) {
                status = 1;
                break;
            }
            backend->prepareWallpaper(argv[2], 2);
            backend->waitForPrepared();
            const auto start = std::chrono::steady_clock::now();
            if (!backend->setWallpaper(argv[2], 2).ok) {
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
