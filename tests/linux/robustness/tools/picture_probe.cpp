// Hands one file, as a day's picture, to each code path that reads pictures, in this process:
//   picture_probe [--vanish] FILE [x11]
// copy (the day copy, into a scratch folder), thumbnail (decoded and kept, as the settings window
// does), preview (the preview window's load, its message box recorded) and, with `x11`, the root
// window backend on $DISPLAY. One line a path: "<path> <outcome> <milliseconds>". With --vanish,
// FILE is copied afresh before each path and, while the path reads it, cut to half its length
// and removed (the copy: after its first block).
#include "core/engine/picture_files.h"
#include "linux/desktop/x11_root_backend.h"
#include "linux/platform/posix_file_access.h"
#include "linux/platform/posix_file_sync.h"
#include "linux/platform/thumbnail_cache.h"
#include "linux/ui/preview/frm_prev.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string g_file; // what the paths read
std::string g_template;

void vanish() {
    std::error_code ec;
    fs::resize_file(g_file, fs::file_size(g_file, ec) / 2, ec);
    fs::remove(g_file, ec);
}

struct Recorder : lumora::Dialogs {
    std::string text;
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t>) override { return {}; }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return {};
    }
    void messageBox(const std::string& t, const std::string&, lumora::MessageIcon) override {
        text = t;
    }
};

struct VanishingPump : lumora::EventPump {
    bool armed = false;
    void processEvents() override {
        if (std::exchange(armed, false)) {
            vanish();
        }
    }
};

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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int arg = 1;
    const bool vanishing = argc > arg && std::string(argv[arg]) == "--vanish";
    arg += vanishing ? 1 : 0;
    if (argc <= arg) {
        std::fprintf(stderr, "usage: picture_probe [--vanish] FILE [x11]\n");
        return 2;
    }
    QTemporaryDir scratch;
    g_file = argv[arg];
    if (vanishing) {
        g_template = g_file;
        g_file = scratch.filePath(QStringLiteral("vanishing.png")).toStdString();
    }
    run("copy", [&] {
        const std::string to = scratch.filePath(QStringLiteral("Monday.png")).toStdString();
        VanishingPump pump;
        if (vanishing) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5)); // the cutter is done
            std::error_code ec;
            fs::copy_file(g_template, g_file, fs::copy_options::overwrite_existing, ec);
            pump.armed = true;
        }
        lumora::PosixFileSync sync;
        lumora::PosixFileAccess files;
        const bool done = lumora::copyInBlocks(g_file, to, files, pump, &sync);
        // What the folder holds afterwards: the copy alone, or nothing at all (no part file).
        int entries = 0;
        for (const auto& e : fs::directory_iterator(scratch.path().toStdString())) {
            entries += e.path().filename().string().find("Monday") != std::string::npos ? 1 : 0;
        }
        std::string what = done ? "copied" : "refused";
        if (entries != (done ? 1 : 0)) {
            what += "-leftovers";
        }
        fs::remove(to);
        return what;
    });
    run("thumbnail", [&] {
        lumora::ThumbnailCache cache(scratch.filePath(QStringLiteral("thumbnails")));
        const auto made = cache.load(1, QByteArray::fromStdString(g_file), QSize(160, 120));
        return made ? "picture:" + std::to_string(made->own.width()) + "x" +
                          std::to_string(made->own.height())
                    : std::string("no-picture");
    });
    run("preview", [&] {
        Recorder boxes;
        FrmPrev preview(&boxes);
        preview.StartProj(g_file);
        QApplication::processEvents();
        const bool shown = !preview.source().isNull();
        preview.close();
        if (!boxes.text.empty()) {
            return "box:" + boxes.text;
        }
        return std::string(shown ? "shown" : "nothing");
    });
    if (argc > arg + 1 && std::string(argv[arg + 1]) == "x11") {
        run("x11", [&] {
            lumora::X11RootBackend backend;
            const lumora::DesktopResult result = backend.setWallpaper(g_file, 2);
            return std::string(result ? "set" : "failed");
        });
    }
    return 0;
}
