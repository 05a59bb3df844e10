#pragma once
// KDE Plasma: the shell's own script interface (org.kde.PlasmaShell evaluateScript) sets the
// image wallpaper plugin's `Image`, `FillMode` and `Color` on every desktop; no wallpaper is the
// plain colour plugin. The path travels inside the script as an escaped string literal.
#include "core/ports/desktop_backend.h"
#include "linux/desktop/failure_log.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

class KdeBackend : public DesktopBackend {
public:
    std::string name() const override { return "kde"; }
    // Fails when Plasma does not answer the script, or answers with an error.
    DesktopResult setWallpaper(const std::string& path, int style) override;
    DesktopResult setBackgroundColor(std::uint32_t rgb) override;

private:
    DesktopResult evaluate(const std::string& script);

    std::optional<std::uint32_t> m_color;
    FailureLog m_log{"kde"};
};

} // namespace lumora
