// lumora_bench_settings_window [--settle MS] [--smaps] [--time-decode PICTURE...]
// Builds the whole program with the real platform services (as main.cpp does), starts it, lets it
// settle, then opens the settings window the way the tray menu's "&Lumora Settings" does (first
// open), waits until it is shown, and closes it with the close box. Prints one line of
// "key=value" pairs on stdout:
//   open_ms      the open request until the event loop is back with the window shown
//   paint_ms     the open request until the window's first paint
//   main_cpu_ms  CPU time of the program's own thread until the event loop was back
//   process_cpu_ms  the same for all its threads (the PSS sampler's included)
//   idle_kib     PSS before the open (/proc/self/smaps_rollup)
//   peak_kib     the highest PSS seen while opening (sampled every 10 ms from a second thread)
//   closed_kib   PSS once the window was closed and the program settled again
//   closed_again_kib  PSS after a second open and close (what each open leaves behind)
//   trimmed_kib  PSS after that and malloc_trim(0) (free heap the allocator had kept)
//   pictures     how many of the seven thumbnails show a picture (not the no-picture image)
// With --smaps it then lists the mappings whose PSS grew from idle to closed ("grown_kib=...").
// With --time-decode it then decodes each PICTURE once more through FrmMain::loadThumbnail and
// prints "decode_ms=..." per picture (where the open's time goes, without the window), then the
// time of decoding them all on one thread and on two.
// Run it with LUMORA_DESKTOP=none and a private XDG_CONFIG_HOME and XDG_DATA_HOME whose settings
// file names the day pictures; ../run_settings_window_bench.sh does that.
#include "linux/ui/program/linux_services.h"
#include "linux/ui/program/program.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QImageReader>
#include <QPixmap>
#include <QTimer>
#include <QWindow>

#include <fcntl.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// CPU time of the calling thread, and of the whole process, in milliseconds.
double cpuMs(clockid_t which) {
    timespec ts{};
    ::clock_gettime(which, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The "Pss:" line of /proc/self/smaps_rollup in KiB; 0 when it cannot be read.
long pssKib() {
    const int fd = ::open("/proc/self/smaps_rollup", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    char buffer[2048];
    const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (n <= 0) {
        return 0;
    }
    buffer[n] = '\0';
    const char* line = std::strstr(buffer, "\nPss:");
    return line != nullptr ? std::strtol(line + 5, nullptr, 10) : 0;
}

// PSS in KiB per mapping name of /proc/self/smaps (a file's path, "[heap]", "[anon]", ...).
std::map<std::string, long> pssByMapping() {
    std::map<std::string, long> result;
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    std::string name = "[anon]";
    while (std::getline(smaps, line)) {
        if (line.starts_with("Pss:")) {
            result[name] += std::strtol(line.c_str() + 4, nullptr, 10);
            continue;
        }
        // A mapping's first line: "start-end perms offset dev inode [name]".
        const std::string first = line.substr(0, line.find(' '));
        const bool range = first.find('-') != std::string::npos &&
                           first.find_first_not_of("0123456789abcdef-") == std::string::npos;
        if (range) {
            std::istringstream fields(line);
            std::string skip;
            for (int f = 0; f < 5; ++f) {
                fields >> skip;
            }
            std::getline(fields >> std::ws, name);
            if (name.empty()) {
                name = "[anon]";
            }
        }
    }
    return result;
}

// printPssGrowth: the mappings whose PSS grew by 64 KiB or more from `before` to `after`.
void printPssGrowth(const char* label, const std::map<std::string, long>& before,
                    const std::map<std::string, long>& after) {
    std::vector<std::pair<long, std::string>> growth;
    for (const auto& [name, kib] : after) {
        const auto old = before.find(name);
        const long delta = kib - (old == before.end() ? 0 : old->second);
        if (delta >= 64 || delta <= -64) {
            growth.emplace_back(delta, name);
        }
    }
    std::sort(growth.begin(), growth.end(), std::greater<>());
    for (const auto& [delta, name] : growth) {
        std::printf("%s_kib=%ld %s\n", label, delta, name.c_str());
    }
}

// Samples PSS every 2 ms on its own thread and keeps the highest value.
class PeakSampler {
public:
    PeakSampler() : m_thread([this] { run(); }) {}
    ~PeakSampler() { stop(); }
    long stop() {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
        return m_peak;
    }

private:
    void run() {
        while (!m_stop) {
            const long now = pssKib();
            if (now > m_peak) {
                m_peak = now;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_peak{0};
    std::thread m_thread;
};

// Runs the event loop for `ms` milliseconds.
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Records when the watched widget is first painted after arm().
class PaintWatch : public QObject {
public:
    void arm() { m_painted = false; }
    bool painted() const { return m_painted; }
    Clock::time_point when() const { return m_when; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_painted && event->type() == QEvent::Paint) {
            m_painted = true;
            m_when = Clock::now();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = true;
    Clock::time_point m_when{};
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    int settleMs = 2000;
    bool smapsDiff = false;
    std::vector<std::string> decodePictures;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--settle" && i + 1 < argc) {
            settleMs = std::atoi(argv[++i]);
        } else if (arg == "--smaps") {
            smapsDiff = true;
        } else if (arg == "--time-decode") {
            for (++i; i < argc; ++i) {
                decodePictures.emplace_back(argv[i]);
            }
        } else {
            std::fprintf(stderr, "usage: lumora_bench_settings_window [--settle MS] "
                                 "[--smaps] [--time-decode PICTURE...]\n");
            return 2;
        }
    }

    LinuxServices services;
    Program lumoraProgram(services.platform());
    if (!lumoraProgram.start()) {
        std::fprintf(stderr, "lumora_bench_settings_window: another instance runs\n");
        return 1;
    }
    FrmMain& window = lumoraProgram.window();
    PaintWatch paints;
    window.installEventFilter(&paints);

    // Start-up done and its after-effects (tray embedding, the first alert) settled.
    runFor(settleMs);
    const long idle = pssKib();
    const std::map<std::string, long> idleMappings =
        smapsDiff ? pssByMapping() : std::map<std::string, long>{};

    // The first open, as the tray menu's "&Lumora Settings" asks for it.
    QAction* open = lumoraProgram.trayMenu().action(lumora::MenuId::mnuabout);
    if (open == nullptr) {
        std::fprintf(stderr, "lumora_bench_settings_window: no mnuabout action\n");
        return 1;
    }
    auto sampler = std::make_unique<PeakSampler>();
    paints.arm();
    const Clock::time_point start = Clock::now();
    const double threadCpuStart = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    const double processCpuStart = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    open->trigger();
    Clock::time_point back{};
    double threadCpu = 0;
    double processCpu = 0;
    {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            back = Clock::now();
            threadCpu = cpuMs(CLOCK_THREAD_CPUTIME_ID) - threadCpuStart;
            processCpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - processCpuStart;
            loop.quit();
        });
        loop.exec();
    }
    // Until the first paint (at most 5 s), then a little longer for what follows it.
    for (int waited = 0; !paints.painted() && waited < 5000; waited += 5) {
        runFor(5);
    }
    runFor(200);
    const long peak = sampler->stop();
    sampler.reset();

    int pictures = 0;
    for (int i = 1; i <= 7; ++i) {
        const ControlLabel* image = window.image1(i);
        if (!image->pixmap().isNull() &&
            image->toolTip().endsWith(QStringLiteral(" - Click here to view the picture"))) {
            ++pictures;
        }
    }
    const bool shown = window.isVisible();

    // The close box: the window is hidden and its thumbnails dropped.
    window.close();
    runFor(1500);
    const long closed = pssKib();
    int left = 0;
    for (int i = 1; i <= 7; ++i) {
        left += window.image1(i)->pixmap().isNull() ? 0 : 1;
    }
    const std::map<std::string, long> closedMappings =
        smapsDiff ? pssByMapping() : std::map<std::string, long>{};

    // A second open and close: what stays after the first one and what each open leaves.
    open->trigger();
    runFor(300);
    window.close();
    runFor(1500);
    const long closedAgain = pssKib();
    // How much of that is free heap that the allocator keeps rather than gives back.
    ::malloc_trim(0);
    const long trimmed = pssKib();

    std::printf("open_ms=%.1f paint_ms=%.1f main_cpu_ms=%.1f process_cpu_ms=%.1f idle_kib=%ld "
                "peak_kib=%ld closed_kib=%ld closed_again_kib=%ld trimmed_kib=%ld pictures=%d "
                "shown=%d hidden_after_close=%d pixmaps_left=%d\n",
                msSince(start, back), paints.painted() ? msSince(start, paints.when()) : -1.0,
                threadCpu, processCpu, idle, peak, closed, closedAgain, trimmed, pictures,
                shown ? 1 : 0, window.isVisible() ? 0 : 1, left);
    if (smapsDiff) {
        printPssGrowth("grown", idleMappings, closedMappings);
    }

    for (std::size_t k = 0; k < decodePictures.size(); ++k) {
        const Clock::time_point t0 = Clock::now();
        const auto size = window.loadThumbnail(static_cast<int>(k % 7) + 1, decodePictures[k]);
        const Clock::time_point t1 = Clock::now();
        std::printf("decode_ms=%.1f size=%dx%d %s\n", msSince(t0, t1), size ? size->width : 0,
                    size ? size->height : 0, decodePictures[k].c_str());
    }
    if (!decodePictures.empty()) {
        // The same decodes, all of them, first one after another and then on two threads (what a
        // decode of the seven together could gain on two cores).
        auto decodeRange = [&decodePictures](std::size_t from, std::size_t step) {
            int ok = 0;
            for (std::size_t k = from; k < decodePictures.size(); k += step) {
                QImageReader reader(QString::fromStdString(decodePictures[k]));
                reader.setDecideFormatFromContent(true);
                if (reader.size().isValid()) {
                    reader.setScaledSize(QSize(FrmMain::kThumbWidth, FrmMain::kThumbHeight));
                }
                ok += reader.read().isNull() ? 0 : 1;
            }
            return ok;
        };
        const Clock::time_point t0 = Clock::now();
        const int serial = decodeRange(0, 1);
        const Clock::time_point t1 = Clock::now();
        auto other = std::async(std::launch::async, decodeRange, 1, 2);
        const int parallel = decodeRange(0, 2) + other.get();
        const Clock::time_point t2 = Clock::now();
        std::printf("decode_all_one_thread_ms=%.1f decoded=%d\n", msSince(t0, t1), serial);
        std::printf("decode_all_two_threads_ms=%.1f decoded=%d\n", msSince(t1, t2), parallel);
    }
    std::fflush(stdout);
    return 0;
}
