#pragma once
// The desktop seam: wallpaper with a style, and the background colour, set through whatever the
// running desktop uses. Calls arrive in the engine's order (colour before wallpaper).
#include <cstdint>
#include <string>

namespace lumora {

// Style values as the engine passes them.
inline constexpr int WPSTYLE_CENTER = 0;
inline constexpr int WPSTYLE_TILE = 1;
inline constexpr int WPSTYLE_STRETCH = 2;
inline constexpr int WPSTYLE_MAX = 3; // scale to fit, keeping the aspect ratio

class DesktopBackend {
public:
    virtual ~DesktopBackend() = default;
    // Short name: "x11", "gnome", "cinnamon", "mate", "xfce", "kde", "sway", "none".
    virtual std::string name() const = 0;
    // An empty path means no wallpaper. Never throws; failures are the backend's own business.
    virtual void setWallpaper(const std::string& path, int style) = 0;
    // 0x00BBGGRR: red in the low byte.
    virtual void setBackgroundColor(std::uint32_t rgb) = 0;
};

} // namespace lumora
