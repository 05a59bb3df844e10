#include "linux/desktop/x11_ahead.h"

#include "linux/desktop/jpeg_picture.h"
#include "linux/platform/picture_file.h"
#include "linux/platform/qt_main_thread.h"

#include <QCoreApplication>
#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <exception>
#include <future>
#include <mutex>
#include <optional>
#include <utility>

namespace lumora::x11 {

namespace {

// The scene drawn ahead at start-up (drawAhead), until a change takes it or passes it over.
// How much less of the CPU the drawing ahead asks for than start-up's own thread.
constexpr int kAheadNice = 10;

// Declared in this order so that at exit the drawings still under way end (their futures wait)
// before what they use goes.
std::mutex g_aheadMutex;
std::optional<PreparedPictures> g_aheadPrepared;
Scene g_aheadScene;
std::future<std::unique_ptr<DrawnScene>> g_ahead;
std::future<std::unique_ptr<DrawnScene>> g_aheadPassedOver; // not waited for by the change

// The scene drawn ahead when it is exactly `scene` (the same picture file, unchanged since); it is
// let go of either way, so only the first change can take it.
std::unique_ptr<DrawnScene> takeAhead(const Scene& scene) {
    std::future<std::unique_ptr<DrawnScene>> ahead;
    Scene drawnFor;
    {
        std::lock_guard<std::mutex> lock(g_aheadMutex);
        if (!g_ahead.valid()) {
            return nullptr;
        }
        ahead = std::move(g_ahead);
        drawnFor = g_aheadScene;
    }
    const bool same =
        drawnFor.display == scene.display && drawnFor.path == scene.path &&
        drawnFor.style == scene.style && drawnFor.color == scene.color &&
        (scene.prepared == nullptr) == (drawnFor.prepared == nullptr) &&
        (scene.prepared == nullptr || scene.prepared->folder() == drawnFor.prepared->folder());
    if (!same) {
        // Not what this change needs: it ends on its own, and nobody waits for it.
        std::lock_guard<std::mutex> lock(g_aheadMutex);
        g_aheadPassedOver = std::move(ahead);
        return nullptr;
    }
    std::unique_ptr<DrawnScene> drawn = ahead.get(); // waits for the drawing to end
    if (!drawn || drawn->pixmap == XCB_NONE || !drawn->problem.empty() || !drawn->identity ||
        fileIdentity(scene.path) != drawn->identity) {
        return nullptr; // its connection closes, and the server frees its pixmap
    }
    drawn->keeping.store = drawn->keeping.store != nullptr ? scene.prepared : nullptr;
    return drawn;
}

} // namespace

void startAhead(const std::string& path, int style, std::uint32_t rgb) {
    // This runs before the application object exists, on the thread that makes it, and the
    // drawing uses Qt: Qt learns its main thread here, before the drawing thread exists.
    claimQtMainThread();
    std::lock_guard<std::mutex> lock(g_aheadMutex);
    static bool started = false;
    if (started || path.empty()) {
        return;
    }
    started = true;
    g_aheadPrepared.emplace();
    g_aheadScene = Scene{{}, path, style, rgb & 0xffffffu, &*g_aheadPrepared, true};
    g_ahead = std::async(std::launch::async, [scene = g_aheadScene] {
        // Start-up itself (the tray icon first) goes before this drawing when both want the CPU.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kAheadNice);
        // Only a JPEG, which libjpeg decodes and a plain smooth scale resizes: other formats may
        // need Qt's painter, which reads the application's font and so must not run while the
        // application object is still being made on the main thread. Start-up's own change draws
        // those.
        if (JpegPicture::open(scene.path) == nullptr) {
            return std::unique_ptr<DrawnScene>();
        }
        try {
            return drawPixmap(scene);
        } catch (const std::exception&) {
            return std::unique_ptr<DrawnScene>();
        }
    });
}

void waitAhead() {
    std::lock_guard<std::mutex> lock(g_aheadMutex);
    if (g_ahead.valid()) {
        g_ahead.wait();
    }
}

std::string drawScene(const Scene& scene) {
    std::unique_ptr<DrawnScene> drawn = scene.onRoot ? takeAhead(scene) : nullptr;
    if (!drawn) {
        drawn = drawPixmap(scene);
    }
    return showOnRoot(*drawn);
}

std::string drawOffThread(const Scene& scene) {
    QCoreApplication* app = QCoreApplication::instance();
    const bool pumpEvents = app != nullptr && QThread::currentThread() == app->thread();
    // The result is ready before the loop is woken: a wake-up seen before the result would leave
    // the loop waiting for some other event (none comes when nothing else runs).
    std::promise<std::string> result;
    std::future<std::string> done = result.get_future();
    std::future<void> worker = std::async(std::launch::async, [&result, scene, pumpEvents] {
        std::string reason;
        try {
            reason = drawScene(scene);
        } catch (const std::exception&) {
            reason = "the wallpaper could not be drawn";
        }
        result.set_value(std::move(reason));
        if (pumpEvents) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
        }
    });
    while (pumpEvents && done.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    worker.get();
    return done.get();
}

} // namespace lumora::x11
