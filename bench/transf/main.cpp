// lumora_bench_transf SOURCE [--no-pump] [--no-sync] [--no-watch]
// One Transf of SOURCE for Monday, as choosing a picture in the settings window makes it: the
// real engine with the program's Qt event pump and fsync, the settings file and picture folder of
// $XDG_CONFIG_HOME and $XDG_DATA_HOME, inside a running QApplication (offscreen unless
// QT_QPA_PLATFORM says otherwise). A zero-interval timer notes the time of every turn of the event
// loop the copy lets run; the longest gap counts from the start of the call to the first turn,
// between turns, and from the last turn to the return. Prints one line:
//   <ms of the Transf call> <longest gap ms> <turns> <peak resident KiB> <where>
// where the longest gap was: "first" (from the call to the first turn), "between" (two turns) or
// "last" (from the last turn to the return: what follows the last block).
// For the breakdown of where the time goes, --no-pump hands the engine a pump that lets nothing
// run, --no-sync leaves out the fsync, and --no-watch records no turns (the gap is then "-").
#include "../../tests/linux/robustness/tools/quiet_services.h"
#include "../lib/peak_memory.h"
#include "core/engine/wallpaper_engine.h"
#include "core/settings/frm_main_state.h"
#include "linux/desktop/none_backend.h"
#include "linux/platform/posix_file_access.h"
#include "linux/platform/posix_file_sync.h"
#include "linux/platform/qt_event_pump.h"
#include "linux/platform/settings_file.h"
#include "linux/platform/xdg_program_info.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace lumora;
using Clock = std::chrono::steady_clock;

namespace {

bool hasFlag(int argc, char** argv, const char* flag) {
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: lumora_bench_transf SOURCE [--no-pump] [--no-sync] [--no-watch]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::string source = argv[1];
    const bool pump = !hasFlag(argc, argv, "--no-pump");
    const bool sync = !hasFlag(argc, argv, "--no-sync");
    const bool watch = !hasFlag(argc, argv, "--no-watch");

    SettingsFile file(SettingsFile::defaultPath());
    Registry registry(file);
    Options options(file);
    FrmMainState state;
    for (std::size_t i = 0; i < state.DayNames.size(); ++i) {
        state.DayNames[i] = kDayNames[i];
    }
    NoneBackend desktop;
    Quiet quiet;
    QtEventPump events;
    XdgProgramInfo program;
    PosixFileSync fileSync;
    PosixFileAccess files;
    EventPump& chosenPump = pump ? static_cast<EventPump&>(events) : quiet;
    WallpaperEngine engine(
        state, {registry, options, desktop, quiet, chosenPump, program, quiet, quiet, files});
    if (sync) {
        engine.setFileSync(&fileSync);
    }
    program.pictureFolder(); // made before the clock starts, as it is by the time one chooses

    std::vector<Clock::time_point> turns;
    turns.reserve(1 << 17);
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&turns] { turns.push_back(Clock::now()); });

    int status = 0;
    // From the running event loop, as a click on the settings window's button calls it.
    QTimer::singleShot(0, &app, [&] {
        if (watch) {
            turn.start();
        }
        const Clock::time_point start = Clock::now();
        const bool copied = engine.Transf(source, 2);
        const Clock::time_point end = Clock::now();
        turn.stop();
        if (!copied) {
            std::fprintf(stderr, "Transf of %s failed\n", source.c_str());
            status = 1;
        } else {
            using Ms = std::chrono::duration<double, std::milli>;
            turns.push_back(end);
            Ms gap{0};
            const char* where = "first";
            Clock::time_point last = start;
            for (std::size_t i = 0; i < turns.size(); ++i) {
                if (turns[i] - last > gap) {
                    gap = turns[i] - last;
                    where = i == 0 ? "first" : i + 1 == turns.size() ? "last" : "between";
                }
                last = turns[i];
            }
            const Ms took = end - start;
            if (watch) {
                std::printf("%.1f %.2f %zu %ld %s\n", took.count(), gap.count(), turns.size() - 1,
                            peakKilobytes(), where);
            } else {
                std::printf("%.1f - - %ld -\n", took.count(), peakKilobytes());
            }
        }
        QCoreApplication::exit(status);
    });
    return QApplication::exec();
}
