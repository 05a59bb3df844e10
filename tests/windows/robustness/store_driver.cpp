// The Windows edition's settings store and day copy in a loop, for a test that kills the process
// at random moments and then checks what the registry and the picture folder hold.
//
//   windows_store_driver settings LOG FIRST   step n (from FIRST on): the option "Counter" = n,
//                                             then Monday's picture value = valueFor(n)
//   windows_store_driver copy LOG FIRST A B   step n: Transf of A (n odd) or B (n even) for Monday
//   windows_store_driver read                 prints "counter <n>", "monday <n>" ("monday corrupt"
//                                             for a value that is not valueFor of its own number,
//                                             else the value itself) and "folder <picture folder>"
//
// Each step is bracketed in LOG by "W <n>" before and "D <n>" after, each line one write, so the
// test knows what was in flight when the kill came. A step the store refused ends the loop with
// "F <n>" and status 1.
#include "core/engine/wallpaper_engine.h"
#include "core/settings/frm_main_state.h"
#include "linux/robustness/tools/quiet_services.h"
#include "windows/platform/registry_option_store.h"
#include "windows/platform/win32_file_access.h"
#include "windows/platform/win32_file_sync.h"
#include "windows/platform/win32_program_info.h"
#include "windows/platform/win32_registry.h"

// The core's names, taken before <windows.h> makes macros of the same names.
namespace {
constexpr lumora::RegKey kCurrentUser = lumora::HKEY_CURRENT_USER;
constexpr std::uint32_t kText = lumora::REG_SZ;
} // namespace

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace lumora;

namespace {

// A value whose length changes with n, so that consecutive values differ in size.
std::string valueFor(long n) {
    return "C:\\pictures\\value-" + std::to_string(n) + "-" +
           std::string(static_cast<std::size_t>(n * 131 % 4000), 'x');
}

struct Log {
    HANDLE file;
    void line(char kind, long n) const {
        const std::string text = std::string(1, kind) + " " + std::to_string(n) + "\n";
        DWORD wrote = 0;
        if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) ||
            wrote != text.size()) {
            std::_Exit(3);
        }
    }
};

struct NoDesktop : DesktopBackend {
    std::string name() const override { return "none"; }
    DesktopResult setWallpaper(const std::string&, int) override { return {}; }
    DesktopResult setBackgroundColor(std::uint32_t) override { return {}; }
};

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    Win32Registry backend;
    Registry registry(backend);
    RegistryOptionStore store;
    Options options(store);
    Win32ProgramInfo program;
    if (mode == "read") {
        const std::string counter =
            store.readOption("Vintrel", "Options", "Counter").value_or("none");
        const std::string monday = registry.GetRegValue(kCurrentUser, kLocalSettingsKey, "Monday");
        const std::string prefix = "C:\\pictures\\value-";
        std::string shown = monday.empty() ? "none" : monday;
        if (monday.compare(0, prefix.size(), prefix) == 0) {
            const long n = std::strtol(monday.c_str() + prefix.size(), nullptr, 10);
            shown = monday == valueFor(n) ? std::to_string(n) : "corrupt";
        }
        std::printf("counter %s\nmonday %s\nfolder %s\n", counter.c_str(), shown.c_str(),
                    program.pictureFolder().c_str());
        return 0;
    }
    if ((mode != "settings" || argc != 4) && (mode != "copy" || argc != 6)) {
        std::fprintf(stderr, "usage: windows_store_driver settings LOG FIRST | copy LOG FIRST A B "
                             "| read\n");
        return 2;
    }
    FrmMainState state;
    for (std::size_t i = 0; i < state.DayNames.size(); ++i) {
        state.DayNames[i] = kDayNames[i];
    }
    NoDesktop desktop;
    Quiet quiet;
    Win32FileSync sync;
    Win32FileAccess files;
    WallpaperEngine engine(
        state, {registry, options, desktop, quiet, quiet, program, quiet, quiet, files});
    engine.setFileSync(&sync);
    const Log log{CreateFileA(argv[2], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (log.file == INVALID_HANDLE_VALUE) {
        return 2;
    }
    const long first = std::strtol(argv[3], nullptr, 10);
    for (long n = first;; ++n) {
        log.line('W', n);
        bool done = true;
        if (mode == "settings") {
            store.writeOption("Vintrel", "Options", "Counter", std::to_string(n));
            registry.CreateRegKey(kLocalSettingsKey, kCurrentUser);
            registry.SetRegValue(kCurrentUser, kLocalSettingsKey, "Monday", valueFor(n), kText);
            done = store.readOption("Vintrel", "Options", "Counter") == std::to_string(n) &&
                   registry.GetRegValue(kCurrentUser, kLocalSettingsKey, "Monday") == valueFor(n);
        } else {
            done = engine.Transf(argv[n % 2 == 1 ? 4 : 5], 2);
        }
        log.line(done ? 'D' : 'F', n);
        if (!done) {
            return 1;
        }
    }
}
