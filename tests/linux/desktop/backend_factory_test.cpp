// Which backend a session gets, for a table of sessions; and the backends that need no desktop.
#include "linux/desktop/backend_factory.h"
#include "linux/desktop/gnome_backend.h"
#include "linux/desktop/none_backend.h"
#include "linux/desktop/xfce_backend.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

const std::string kGnome = "org.gnome.desktop.background";
const std::string kMate = "org.mate.background";
// The starts of the reasons.
const char *const kXdg = "XDG_CURRENT_DESKTOP", *const kWayland = "a Wayland session",
                  *const kX11 = "an X11 session";

// A session on a machine with every background schema and swaybg, less what `missing` names.
struct Session {
    const char* display = "x11"; // "x11", "wayland" (with Xwayland) or "none"
    std::string desktop{}, session{}, forced{}, type{};
    std::set<std::string> bus{};
    bool swaySocket = false;
    std::set<std::string> missing{}; // schemas, or "swaybg"
};

Environment environment(const Session& s) {
    const std::string display = s.display;
    Environment env(s.forced, s.desktop, s.session, s.type, display == "wayland", display != "none",
                    s.swaySocket, !s.missing.contains("swaybg"), s.bus, {});
    for (const std::string& schema :
         {kGnome, std::string("org.cinnamon.desktop.background"), kMate}) {
        if (!s.missing.contains(schema)) {
            env.schemas.insert(schema);
        }
    }
    return env;
}

struct Row {
    const char* label;
    Session session;
    std::string backend;
    std::string reasonStart;
};
class BackendChoiceTable : public ::testing::TestWithParam<Row> {};
TEST_P(BackendChoiceTable, PicksTheBackend) {
    const BackendChoice choice = chooseDesktopBackend(environment(GetParam().session));
    EXPECT_EQ(choice.name, GetParam().backend) << choice.reason;
    EXPECT_EQ(choice.reason.rfind(GetParam().reasonStart, 0), 0u) << choice.reason;
}
INSTANTIATE_TEST_SUITE_P(
    Sessions, BackendChoiceTable,
    ::testing::Values(
        Row("GNOME", {.desktop = "GNOME"}, "gnome", "XDG_CURRENT_DESKTOP=GNOME"),
        Row("UbuntuGnome", {.display = "wayland", .desktop = "ubuntu:GNOME"}, "gnome",
            "XDG_CURRENT_DESKTOP=ubuntu:GNOME"),
        Row("LowerCase", {.desktop = "gnome"}, "gnome", kXdg),
        Row("Unity", {.desktop = "Unity"}, "gnome", kXdg),
        Row("Pantheon", {.desktop = "Pantheon"}, "gnome", kXdg),
        Row("Cinnamon", {.desktop = "X-Cinnamon"}, "cinnamon", kXdg),
        Row("Mate", {.desktop = "MATE"}, "mate", kXdg),
        Row("Xfce", {.desktop = "XFCE"}, "xfce", kXdg),
        Row("Kde", {.display = "wayland", .desktop = "KDE"}, "kde", kXdg),
        Row("Sway", {.display = "wayland", .desktop = "sway"}, "sway", kXdg),
        Row("FirstKnownWins", {.desktop = "Foo:XFCE:GNOME"}, "xfce", kXdg),
        Row("EmptyTokens", {.desktop = "::mate:"}, "mate", kXdg),
        // The variable wins over the session name and the probe.
        Row("VariableBeforeSession",
            {.desktop = "KDE", .session = "xfce", .bus = {"org.gnome.Shell"}}, "kde", kXdg),
        Row("SessionPlasma", {.session = "plasmawayland"}, "kde", "DESKTOP_SESSION=plasmawayland"),
        Row("SessionPath", {.session = "/usr/share/xsessions/cinnamon"}, "cinnamon",
            "DESKTOP_SESSION"),
        Row("SessionXubuntu", {.session = "xubuntu"}, "xfce", "DESKTOP_SESSION"),
        Row("SessionUnknownThenProbe",
            {.desktop = "LXQt", .session = "lxqt", .bus = {"org.kde.plasmashell"}}, "kde",
            "org.kde.plasmashell is on the session bus"),
        Row("ProbeOrder", {.bus = {"org.mate.Caja", "org.gnome.Shell"}}, "gnome",
            "org.gnome.Shell"),
        Row("ProbeXfdesktop", {.bus = {"org.xfce.xfdesktop"}}, "xfce", "org.xfce.xfdesktop"),
        Row("ProbeSwaySocket", {.display = "wayland", .swaySocket = true}, "sway", "SWAYSOCK"),
        // Nothing known: the root window on X11, swaybg on Wayland, else none.
        Row("PlainX11", {}, "x11", kX11),
        Row("UnknownDesktopOnX11", {.desktop = "LXDE"}, "x11", kX11),
        Row("WaylandNeverRootWindow", {.display = "wayland"}, "sway", kWayland),
        Row("WaylandBySessionType", {.type = "wayland", .missing = {"swaybg"}}, "none", kWayland),
        Row("WaylandWithoutSwaybg", {.display = "wayland", .missing = {"swaybg"}}, "none",
            kWayland),
        Row("NoDisplay", {.display = "none"}, "none", "no X11 or Wayland display"),
        // Passed over when the desktop's own means are missing.
        Row("GnomeWithoutSchema", {.desktop = "GNOME", .missing = {kGnome}}, "x11", kX11),
        Row("GnomeWithoutSchemaOnWayland",
            {.display = "wayland", .desktop = "GNOME", .missing = {kGnome, "swaybg"}}, "none",
            kWayland),
        Row("MateWithoutSchemaThenSession",
            {.desktop = "MATE", .session = "xfce", .missing = {kMate}}, "xfce",
            "DESKTOP_SESSION=xfce"),
        Row("SwayWithoutSwaybg", {.display = "wayland", .desktop = "sway", .missing = {"swaybg"}},
            "none", kWayland),
        // LUMORA_DESKTOP forces one, in any case, whatever else is said.
        Row("ForcedXfce", {.desktop = "GNOME", .forced = "xfce"}, "xfce", "LUMORA_DESKTOP=xfce"),
        Row("ForcedUpperCase", {.forced = "KDE"}, "kde", "LUMORA_DESKTOP=KDE"),
        Row("ForcedNone", {.forced = "none"}, "none", "LUMORA_DESKTOP=none"),
        Row("ForcedX11", {.forced = "x11"}, "x11", "LUMORA_DESKTOP=x11"),
        Row("ForcedUnknownFallsThrough", {.desktop = "MATE", .forced = "amiga"}, "mate",
            "XDG_CURRENT_DESKTOP=MATE")),
    [](const auto& row) { return std::string(row.param.label); });

TEST(BackendChoice, PassedOverDesktopsAreToldInTheReason) {
    const BackendChoice choice =
        chooseDesktopBackend(environment({.desktop = "GNOME", .missing = {kGnome}}));
    EXPECT_EQ(describeBackendChoice(choice),
              "desktop backend: x11 (an X11 session without a known desktop; GNOME passed over: "
              "the settings schema org.gnome.desktop.background is not installed)");
}

TEST(NoneBackend, RecordsTheCallsInOrderAndSetsNothing) {
    NoneBackend backend("testing");
    ::testing::internal::CaptureStderr();
    backend.setBackgroundColor(0xFFFFFF);
    backend.setWallpaper("/p/Default.bmp", 0);
    backend.setWallpaper("", 2);
    const std::string err = ::testing::internal::GetCapturedStderr();
    using K = NoneBackend::Call::Kind;
    const std::vector<NoneBackend::Call> expected{{K::Color, "", 0, 0xFFFFFF},
                                                  {K::Wallpaper, "/p/Default.bmp", 0, 0},
                                                  {K::Wallpaper, "", 2, 0}};
    EXPECT_EQ(backend.calls(), expected);
    // Said once, with the reason.
    EXPECT_EQ(err, "lumora: no way to set the desktop wallpaper here: testing; nothing is set\n");
}

struct GroupRow {
    const char* label;
    std::vector<std::string> properties;
    std::vector<std::string> monitors;
    int workspaces;
    std::set<std::string> groups;
};
class XfceGroups : public ::testing::TestWithParam<GroupRow> {};
TEST_P(XfceGroups, EveryMonitorAndWorkspace) {
    const GroupRow& row = GetParam();
    EXPECT_EQ(XfceBackend::backdropGroups(row.properties, row.monitors, row.workspaces),
              row.groups);
}
const std::string kS = "/backdrop/screen0/monitor";
INSTANTIATE_TEST_SUITE_P(
    Profiles, XfceGroups,
    ::testing::Values(GroupRow("FreshProfile", {}, {"Virtual-1"}, 1, {kS + "Virtual-1/workspace0"}),
                      GroupRow("FreshTwoMonitorsTwoWorkspaces", {}, {"HDMI-1", "eDP-1"}, 2,
                               {kS + "HDMI-1/workspace0", kS + "HDMI-1/workspace1",
                                kS + "eDP-1/workspace0", kS + "eDP-1/workspace1"}),
                      GroupRow("ExistingKeptAndCompleted",
                               {kS + "0/workspace3/last-image", kS + "0/workspace3/rgba1",
                                kS + "screen/workspace0/image-style",
                                "/backdrop/single-workspace-mode", kS + "0/image-path"},
                               {"screen"}, 1, {kS + "0/workspace3", kS + "screen/workspace0"}),
                      GroupRow("NoMonitorKnown", {}, {}, 1, {}),
                      GroupRow("SlashInNameIgnored", {}, {"a/b", ""}, 1, {})),
    [](const auto& row) { return std::string(row.param.label); });

} // namespace
} // namespace lumora
