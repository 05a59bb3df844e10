#pragma once
// sway and other wlroots compositors: the background is a client of its own, `swaybg`, started
// with the picture, mode and colour for every output ("-o *", which also covers outputs plugged in
// later). Each change starts a new one and then ends the one started before, by the process id
// kept in a file of the runtime directory, so a later run of the program replaces it as well.
// swaybg is started directly with an argument list (never `swaymsg ... bg`, which expands the path
// like a shell), and outlives the program so the desktop keeps its background. A swaybg that
// cannot be started, or ends within its first quarter second (no compositor, a picture it cannot
// load), makes the call fail.
#include "core/ports/desktop_backend.h"
#include "linux/desktop/failure_log.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

class SwayBackend : public DesktopBackend {
public:
    // `program`: the swaybg to start. `pidFile`: where the running one's process id is kept; empty
    // means $XDG_RUNTIME_DIR/lumora-swaybg.pid.
    explicit SwayBackend(std::string program = "swaybg", std::string pidFile = {});

    std::string name() const override { return "sway"; }
    DesktopResult setWallpaper(const std::string& path, int style) override;
    DesktopResult setBackgroundColor(std::uint32_t rgb) override;

    // The process id of the swaybg this backend started last (0 before any).
    long long runningPid() const { return m_pid; }

private:
    DesktopResult restart();

    std::string m_program;
    std::string m_pidFile;
    std::string m_path;
    int m_style = WPSTYLE_CENTER;
    std::uint32_t m_color = 0;
    long long m_pid = 0;
    FailureLog m_log{"sway"};
};

} // namespace lumora
