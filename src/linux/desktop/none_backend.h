#pragma once
// The desktop that cannot be reached: the calls are recorded, nothing is set, and the first call
// says so once on stderr. Every call fails: nothing was set.
#include "core/ports/desktop_backend.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

class NoneBackend : public DesktopBackend {
public:
    struct Call {
        enum class Kind { Wallpaper, Color } kind;
        std::string path;        // Wallpaper
        int style = 0;           // Wallpaper
        std::uint32_t color = 0; // Color
        bool operator==(const Call&) const = default;
    };

    // `reason`: why no desktop backend fits, told with the one warning.
    explicit NoneBackend(std::string reason = {});

    std::string name() const override { return "none"; }
    DesktopResult setWallpaper(const std::string& path, int style) override;
    DesktopResult setBackgroundColor(std::uint32_t rgb) override;

    const std::vector<Call>& calls() const { return m_calls; }

private:
    DesktopResult warnOnce();

    std::string m_reason;
    bool m_warned = false;
    std::vector<Call> m_calls;
};

} // namespace lumora
