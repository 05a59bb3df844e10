// Hands one file, as a day's picture, to each code path of the Windows edition that reads
// pictures, in this process:
//   windows_picture_probe [--vanish] FILE
// copy (the day copy, into a scratch folder), thumbnail (its size read and the picture decoded at
// 160 x 120, as the settings window does), preview (decoded at its own size, as the preview
// does) and desktop (the wallpaper, stretched; on failure the previous wallpaper must still be
// set). One line a path: "<path> <outcome> <milliseconds>". With --vanish, FILE is copied afresh
// before each path and, while the path reads it, cut to half its length and removed (the copy:
// after its first block).
#include "core/engine/picture_files.h"
#include "core/text/utf8_path.h"
#include "windows/platform/wic_decode.h"
#include "windows/platform/wic_pictures.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_desktop.h"
#include "windows/platform/win32_file_access.h"
#include "windows/platform/win32_file_sync.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>

namespace {

namespace fs = std::filesystem;

fs::path g_file; // what the paths read
fs::path g_template;

void vanish() {
    std::error_code ec;
    fs::resize_file(g_file, fs::file_size(g_file, ec) / 2, ec);
    fs::remove(g_file, ec);
}

struct VanishingPump : lumora::EventPump {
    bool armed = false;
    void processEvents() override {
        if (std::exchange(armed, false)) {
            vanish();
        }
    }
};

std::wstring currentWallpaper() {
    wchar_t path[MAX_PATH] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

void run(const char* name, const std::function<std::string()>& path) {
    std::thread cutter;
    if (!g_template.empty()) {
        std::error_code ec;
        fs::copy_file(g_template, g_file, fs::copy_options::overwrite_existing, ec);
        cutter = std::thread([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
            vanish();
        });
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string outcome = path();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    if (cutter.joinable()) {
        cutter.join();
    }
    std::printf("%s %s %lld\n", name, outcome.c_str(), static_cast<long long>(ms));
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int arg = 1;
    const bool vanishing = argc > arg && std::wstring(argv[arg]) == L"--vanish";
    arg += vanishing ? 1 : 0;
    if (argc <= arg) {
        std::fprintf(stderr, "usage: windows_picture_probe [--vanish] FILE\n");
        return 2;
    }
    const fs::path scratch =
        fs::temp_directory_path() / (L"lumora-probe-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(scratch);
    g_file = argv[arg];
    if (vanishing) {
        g_template = g_file;
        g_file = scratch / L"vanishing.png";
    }
    const std::string file = lumora::utf8FromPath(g_file);

    run("copy", [&] {
        const fs::path to = scratch / L"Monday.png";
        VanishingPump pump;
        if (vanishing) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5)); // the cutter is done
            std::error_code ec;
            fs::copy_file(g_template, g_file, fs::copy_options::overwrite_existing, ec);
            pump.armed = true;
        }
        lumora::Win32FileSync sync;
        lumora::Win32FileAccess files;
        const bool done = lumora::copyInBlocks(file, lumora::utf8FromPath(to), files, pump, &sync);
        // What the folder holds afterwards: the copy alone, or nothing at all (no part file).
        int entries = 0;
        for (const auto& e : fs::directory_iterator(scratch)) {
            entries += e.path().filename().wstring().find(L"Monday") != std::wstring::npos ? 1 : 0;
        }
        std::string what = done ? "copied" : "refused";
        if (entries != (done ? 1 : 0)) {
            what += "-leftovers";
        }
        std::error_code ec;
        fs::remove(to, ec);
        return what;
    });
    run("thumbnail", [&] {
        const auto own = lumora::WicPictures().pixelSize(file);
        const auto made =
            own ? lumora::decodePicture(file, lumora::PixelSize{160, 120}) : std::nullopt;
        return made ? "picture:" + std::to_string(made->source.width) + "x" +
                          std::to_string(made->source.height)
                    : std::string("no-picture");
    });
    run("preview", [&] {
        const auto made = lumora::decodePicture(file);
        return std::string(made ? "shown" : "nothing");
    });
    run("desktop", [&] {
        const std::wstring before = currentWallpaper();
        lumora::Win32Desktop desktop(lumora::utf8FromPath(scratch));
        const lumora::DesktopResult result = desktop.setWallpaper(file, 2);
        if (result) {
            return std::string("set");
        }
        return std::string(currentWallpaper() == before ? "failed" : "failed-changed");
    });
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return 0;
}
