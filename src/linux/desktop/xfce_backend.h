#pragma once
// XFCE: xfdesktop draws the background from the xfconf channel "xfce4-desktop", which is reached
// over D-Bus (org.xfce.Xfconf). Each monitor and workspace has its own group
// /backdrop/screen0/monitor<NAME>/workspace<N>/ with `last-image` (string), `image-style` (int:
// 0 none, 1 centred, 2 tiled, 3 stretched, 4 scaled), `color-style` (int, 0 solid) and `rgba1`
// (an array of four doubles). Every existing group is set; a fresh profile has none, so groups are
// created for every monitor of the display and every workspace.
#include "core/ports/desktop_backend.h"
#include "linux/desktop/failure_log.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class QString;
class QVariant;

namespace lumora {

class XfceBackend : public DesktopBackend {
public:
    // `monitorNames`: the display's outputs (RandR names, as xfdesktop uses them); empty asks the
    // running QGuiApplication's screens. `workspaces` < 1 asks the window manager
    // (_NET_NUMBER_OF_DESKTOPS, 1 without one).
    explicit XfceBackend(std::vector<std::string> monitorNames = {}, int workspaces = 0);

    std::string name() const override { return "xfce"; }
    // Fails when xfconf answers a change with an error, or no backdrop is known.
    DesktopResult setWallpaper(const std::string& path, int style) override;
    DesktopResult setBackgroundColor(std::uint32_t rgb) override;

    // The groups "/backdrop/screen0/monitor<NAME>/workspace<N>" found in `propertyNames`, plus one
    // per monitor and workspace given. Sorted, without repeats.
    static std::set<std::string> backdropGroups(const std::vector<std::string>& propertyNames,
                                                const std::vector<std::string>& monitorNames,
                                                int workspaces);

private:
    std::set<std::string> groups() const;
    std::string getString(const std::string& property) const;
    // False when xfconf refused; the first refusal of a call is kept in m_problem.
    bool setProperty(const std::string& property, const QVariant& value);
    DesktopResult finish();

    std::vector<std::string> m_monitorNames;
    int m_workspaces;
    std::string m_problem;
    FailureLog m_log{"xfce"};
};

} // namespace lumora
