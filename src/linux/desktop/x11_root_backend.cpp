#include "linux/desktop/x11_root_backend.h"

#include "linux/desktop/x11_ahead.h"
#include "linux/desktop/x11_drawing.h"

#include <exception>
#include <utility>

namespace lumora {

using x11::Scene;

X11RootBackend::X11RootBackend() : m_prepared(std::in_place) {}

X11RootBackend::X11RootBackend(std::string display, std::optional<std::string> preparedFolder)
    : m_display(std::move(display)) {
    if (preparedFolder) {
        m_prepared.emplace(std::move(*preparedFolder));
    }
}

DesktopResult X11RootBackend::setWallpaper(const std::string& path, int style) {
    m_path = path;
    if (style >= WPSTYLE_CENTER && style <= WPSTYLE_MAX) {
        m_style = style;
    }
    return redraw();
}

void X11RootBackend::drawAhead(const std::string& path, int style, std::uint32_t rgb) {
    x11::startAhead(path, style, rgb);
}

void X11RootBackend::waitForAhead() {
    x11::waitAhead();
}

void X11RootBackend::prepareWallpaper(const std::string& path, int style) {
    if (!m_prepared || path.empty()) {
        return;
    }
    if (m_preparing.joinable()) {
        m_preparing.join();
    }
    const int drawn = style >= WPSTYLE_CENTER && style <= WPSTYLE_MAX ? style : m_style;
    const Scene scene{m_display, path, drawn, m_color, &*m_prepared, false};
    m_preparing = std::thread([scene] {
        try {
            x11::drawScene(scene);
        } catch (const std::exception&) {
            // nothing prepared: the picture is decoded when it is set
        }
    });
}

void X11RootBackend::waitForPrepared() {
    if (m_preparing.joinable()) {
        m_preparing.join();
    }
}

X11RootBackend::~X11RootBackend() {
    waitForPrepared();
}

DesktopResult X11RootBackend::setBackgroundColor(std::uint32_t rgb) {
    m_color = rgb & 0xffffffu;
    return redraw();
}

DesktopResult X11RootBackend::redraw() {
    if (m_drawing) {
        // Called from an event that ran while a change is drawn: the running change draws again
        // with the newest state when it is done, and reports for both.
        m_again = true;
        return DesktopResult::success();
    }
    m_drawing = true;
    std::string reason;
    do {
        m_again = false;
        reason = x11::drawOffThread(
            Scene{m_display, m_path, m_style, m_color, m_prepared ? &*m_prepared : nullptr});
    } while (m_again);
    m_drawing = false;
    return reason.empty() ? DesktopResult::success() : m_log.fail(reason);
}

} // namespace lumora
