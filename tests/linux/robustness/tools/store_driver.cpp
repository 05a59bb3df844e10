// store_driver: the program's own settings store and day copy in a loop, for a test that kills
// the process at random moments and then checks what is on disk.
//
//   store_driver settings LOG FIRST       step n (from FIRST on): the option "Counter" = n, then
//                                         Monday's picture value = valueFor(n)
//   store_driver copy LOG FIRST A B       step n: Transf of A (n odd) or B (n even) for Monday
//   store_driver choose SOURCE DAY        one Transf of SOURCE (any bytes in its name) for weekday
//                                         DAY (1 Sunday .. 7 Saturday), as a choice makes it;
//                                         prints the day's value as read back by a fresh store, in
//                                         hexadecimal bytes (an empty line when none)
//   store_driver read                     prints "bad <skipped lines>", "counter <n>" and
//                                         "monday <n>" ("monday corrupt" for a value that is not
//                                         valueFor of its own number)
//
// Each step is bracketed in LOG by "W <n>" before and "D <n>" after, each line one write(2), so
// the test knows what was in flight when the kill came. A step that the store refused ends the
// loop with "F <n>" and status 1. Paths come from XDG_CONFIG_HOME and XDG_DATA_HOME.
#include "core/engine/wallpaper_engine.h"
#include "core/settings/frm_main_state.h"
#include "linux/desktop/none_backend.h"
#include "linux/platform/posix_file_access.h"
#include "linux/platform/posix_file_sync.h"
#include "linux/platform/settings_file.h"
#include "linux/platform/xdg_program_info.h"
#include "quiet_services.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

using namespace lumora;

namespace {

// A value whose length changes with n, so that consecutive files differ in size.
std::string valueFor(long n) {
    return "/pictures/value-" + std::to_string(n) + "-" +
           std::string(static_cast<std::size_t>(n * 131 % 4000), 'x');
}

struct Log {
    int fd;
    void line(char kind, long n) const {
        const std::string text = std::string(1, kind) + " " + std::to_string(n) + "\n";
        if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            std::_Exit(3);
        }
    }
};

int readBack(SettingsFile& file, Registry& registry) {
    const std::string counter = file.readOption("Vintrel", "Options", "Counter").value_or("none");
    std::printf("bad %zu\ncounter %s\n", file.lastReport().badLines.size(), counter.c_str());
    const std::string monday = registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday");
    const std::string prefix = "/pictures/value-";
    if (monday.compare(0, prefix.size(), prefix) == 0) {
        const long n = std::strtol(monday.c_str() + prefix.size(), nullptr, 10);
        std::printf("monday %s\n", monday == valueFor(n) ? std::to_string(n).c_str() : "corrupt");
    } else {
        std::printf("monday %s\n", monday.empty() ? "none" : monday.c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    SettingsFile file(SettingsFile::defaultPath());
    Registry registry(file);
    if (mode == "read") {
        return readBack(file, registry);
    }
    if ((mode != "settings" || argc != 4) && (mode != "copy" || argc != 6) &&
        (mode != "choose" || argc != 4)) {
        std::fprintf(stderr, "usage: store_driver settings LOG FIRST | copy LOG FIRST A B | "
                             "choose SOURCE DAY | read\n");
        return 2;
    }
    FrmMainState state;
    for (std::size_t i = 0; i < state.DayNames.size(); ++i) {
        state.DayNames[i] = kDayNames[i];
    }
    Options options(file);
    NoneBackend desktop;
    Quiet quiet;
    XdgProgramInfo program;
    PosixFileSync sync;
    PosixFileAccess files;
    WallpaperEngine engine(
        state, {registry, options, desktop, quiet, quiet, program, quiet, quiet, files});
    engine.setFileSync(&sync);
    if (mode == "choose") {
        const int day = std::atoi(argv[3]);
        engine.Transf(argv[2], day);
        SettingsFile fresh(SettingsFile::defaultPath());
        for (const unsigned char c : Registry(fresh).GetRegValue(
                 HKEY_CURRENT_USER, kLocalSettingsKey, state.dayName(day))) {
            std::printf("%02x", c);
        }
        std::printf("\n");
        return 0;
    }
    const Log log{::open(argv[2], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)};
    if (log.fd < 0) {
        return 2;
    }
    const long first = std::strtol(argv[3], nullptr, 10);
    for (long n = first;; ++n) {
        log.line('W', n);
        bool done = true;
        if (mode == "settings") {
            file.writeOption("Vintrel", "Options", "Counter", std::to_string(n));
            registry.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
            registry.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", valueFor(n),
                                 REG_SZ);
            done =
                file.readOption("Vintrel", "Options", "Counter") == std::to_string(n) &&
                registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday") == valueFor(n);
        } else {
            done = engine.Transf(argv[n % 2 == 1 ? 4 : 5], 2);
        }
        log.line(done ? 'D' : 'F', n);
        if (!done) {
            return 1;
        }
    }
}
