// The settings window's opening with seven day pictures, as activation opens it: the seven
// thumbnails decoded side by side at 160 x 120, the view rendered, the window shown and painted;
// then the close box's part (the thumbnails dropped, the window hidden). Prints one line:
//   open_ms=<ms> idle_rss=<KiB> idle_anon=<KiB> shown_rss=.. shown_anon=.. peak_rss=..
//   closed_rss=.. closed_anon=..
// with the process's own VmRSS, RssAnon and VmHWM as Wine reads them from /proc/<pid>/status.
// Usage: lumora_bench_windows_settings_window PICTURE1 .. PICTURE7 (Windows paths).
#include "core/settings_window/settings_view.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_resources.h"
#include "windows/ui/settings_window/win32_frm_main.h"

#include <objbase.h>
#include <psapi.h>

#include <cstdio>
#include <map>
#include <string>

using namespace lumora;

namespace {

// The process's memory in KiB: VmRSS (the working set), VmHWM (its peak) and RssAnon (the
// private anonymous pages: Wine's PagefileUsage is RssAnon plus VmSwap), as Wine reads them from
// the process's own /proc/<pid>/status.
std::map<std::string, long> status() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    std::map<std::string, long> fields;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        fields["VmRSS"] = static_cast<long>(counters.WorkingSetSize / 1024);
        fields["VmHWM"] = static_cast<long>(counters.PeakWorkingSetSize / 1024);
        fields["RssAnon"] = static_cast<long>(counters.PagefileUsage / 1024);
    }
    return fields;
}

void pumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double seconds() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: lumora_bench_windows_settings_window PICTURE1 .. PICTURE7\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<std::pair<int, std::string>> days;
    for (int i = 1; i <= 7; ++i) {
        days.emplace_back(i, utf8FromWide(argv[i]));
    }
    Win32Resources resources;
    // The thumbnails kept between openings, in the folder the program keeps them in.
    Win32FrmMain window(resources);
    pumpPending();
    const auto idle = status();

    // One opening as activation makes it and the close box's part; the time until shown.
    const auto openAndClose = [&](std::map<std::string, long>& shown,
                                  std::map<std::string, long>& closed) {
        const double start = seconds();
        SettingsWindowModel model;
        window.prepareThumbnails(days);
        int loaded = 0;
        for (const auto& [day, path] : days) {
            const auto size = window.loadThumbnail(day, path);
            model.days[static_cast<std::size_t>(day)].thumbnail =
                size ? DayPanelState::Thumbnail::Picture : DayPanelState::Thumbnail::NoPicture;
            loaded += size ? 1 : 0;
        }
        window.render(buildSettingsView(model));
        window.showWindow();
        UpdateWindow(window.hwnd());
        GdiFlush();
        const double shownAt = seconds();
        pumpPending();
        shown = status();
        window.dropThumbnails();
        for (DayPanelState& day : model.days) {
            day.thumbnail = DayPanelState::Thumbnail::Empty;
        }
        window.render(buildSettingsView(model));
        window.hideWindow();
        pumpPending();
        closed = status();
        return std::pair{(shownAt - start) * 1000.0, loaded};
    };
    std::map<std::string, long> shown;
    std::map<std::string, long> closed;
    std::map<std::string, long> shownAgain;
    std::map<std::string, long> closedAgain;
    const auto [openMs, loaded] = openAndClose(shown, closed);
    // The second opening of the same process: what each opening holds once the first has
    // loaded the code and the system's parts it needs.
    const auto [againMs, loadedAgain] = openAndClose(shownAgain, closedAgain);

    const auto kib = [](const std::map<std::string, long>& fields, const char* name) {
        const auto it = fields.find(name);
        return it == fields.end() ? -1L : it->second;
    };
    std::printf("open_ms=%.1f loaded=%d idle_rss=%ld idle_anon=%ld shown_rss=%ld shown_anon=%ld "
                "peak_rss=%ld closed_rss=%ld closed_anon=%ld again_ms=%.1f shown2_anon=%ld "
                "closed2_anon=%ld shown2_rss=%ld closed2_rss=%ld\n",
                openMs, loaded, kib(idle, "VmRSS"), kib(idle, "RssAnon"), kib(shown, "VmRSS"),
                kib(shown, "RssAnon"), kib(shown, "VmHWM"), kib(closed, "VmRSS"),
                kib(closed, "RssAnon"), againMs, kib(shownAgain, "RssAnon"),
                kib(closedAgain, "RssAnon"), kib(shownAgain, "VmRSS"), kib(closedAgain, "VmRSS"));
    std::fflush(stdout);
    window.destroyWindow();
    return loaded == 7 && loadedAgain == 7 ? 0 : 1;
}
