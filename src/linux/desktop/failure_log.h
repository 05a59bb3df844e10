#pragma once
// A backend's failures, each reason told once on stderr ("lumora: <backend> desktop: <reason>"),
// however often it comes back; the result carries it every time.
#include "core/ports/desktop_backend.h"

#include <set>
#include <string>

namespace lumora {

class FailureLog {
public:
    explicit FailureLog(std::string backend) : m_backend(std::move(backend)) {}

    DesktopResult fail(const std::string& reason);
    // A failure for a wallpaper path no desktop should be handed (relative, missing, not a
    // regular file, no picture by its header, or more pixels than kMaxPicturePixels); success
    // for the empty path (no wallpaper) and for a usable one.
    DesktopResult checkPicturePath(const std::string& path);
    // checkPicturePath for a desktop that takes the path as text (a D-Bus string, a command line
    // argument): a name whose bytes are no UTF-8 would reach it as another name, so it is refused.
    DesktopResult checkPicturePathAsText(const std::string& path);

private:
    std::string m_backend;
    std::set<std::string> m_told;
};

} // namespace lumora
