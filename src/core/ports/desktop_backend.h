#pragma once
// The desktop seam: wallpaper with a style, and the background colour, set through whatever the
// running desktop uses. Calls arrive in the engine's order (colour before wallpaper).
#include <cstdint>
#include <string>
#include <utility>

namespace lumora {

// Style values as the engine passes them.
inline constexpr int WPSTYLE_CENTER = 0;
inline constexpr int WPSTYLE_TILE = 1;
inline constexpr int WPSTYLE_STRETCH = 2;
inline constexpr int WPSTYLE_MAX = 3; // scale to fit, keeping the aspect ratio

// What a desktop call did: done, or not done and why. A backend reports only what it knows went
// through; the reason is for the log, not for the user's alerts.
struct DesktopResult {
    bool ok = true;
    std::string reason;

    static DesktopResult success() { return {}; }
    static DesktopResult failure(std::string why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

class DesktopBackend {
public:
    virtual ~DesktopBackend() = default;
    // Short name: "x11", "gnome", "cinnamon", "mate", "xfce", "kde", "sway", "none".
    virtual std::string name() const = 0;
    // An empty path means no wallpaper; any other path must be absolute and name a regular file.
    // Never throws: a failure comes back as the result, its reason told once on stderr.
    virtual DesktopResult setWallpaper(const std::string& path, int style) = 0;
    // 0x00BBGGRR: red in the low byte.
    virtual DesktopResult setBackgroundColor(std::uint32_t rgb) = 0;
    // The picture at `path` will be set soon in `style`: a backend that can do the slow part
    // ahead (decoding it for the screen) starts it in the background. Changes nothing on the
    // desktop and reports nothing; a backend with nothing to prepare ignores it.
    virtual void prepareWallpaper(const std::string& path, int style) {
        static_cast<void>(path);
        static_cast<void>(style);
    }
};

} // namespace lumora
