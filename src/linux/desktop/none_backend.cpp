#include "linux/desktop/none_backend.h"

#include <cstdio>

namespace lumora {

NoneBackend::NoneBackend(std::string reason) : m_reason(std::move(reason)) {}

DesktopResult NoneBackend::warnOnce() {
    if (!m_warned) {
        m_warned = true;
        std::fprintf(stderr,
                     "lumora: no way to set the desktop wallpaper here%s%s; nothing is set\n",
                     m_reason.empty() ? "" : ": ", m_reason.c_str());
    }
    return DesktopResult::failure("no desktop backend");
}

DesktopResult NoneBackend::setWallpaper(const std::string& path, int style) {
    m_calls.push_back({Call::Kind::Wallpaper, path, style, 0});
    return warnOnce();
}

DesktopResult NoneBackend::setBackgroundColor(std::uint32_t rgb) {
    m_calls.push_back({Call::Kind::Color, {}, 0, rgb});
    return warnOnce();
}

} // namespace lumora
