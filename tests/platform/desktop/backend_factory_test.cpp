// Which backend a session gets, for a table of sessions; and the backends that need no desktop.
#include "platform/desktop/backend_factory.h"
#include "platform/desktop/gnome_backend.h"
#include "platform/desktop/none_backend.h"
#include "platform/desktop/xfce_backend.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

const std::string kGnomeSchema = "org.gnome.desktop.background";
const std::string kCinnamonSchema = "org.cinnamon.desktop.background";
const std::string kMateSchema = "org.mate.background";

// A desktop machine with every schema and swaybg installed.
Environment everything() {
    Environment env;
    env.schemas = {kGnomeSchema, kCinnamonSchema, kMateSchema};
    env.swaybgInstalled = true;
    return env;
}

Environment x11Session() {
    Environment env = everything();
    env.x11Display = true;
    return env;
}

Environment waylandSession() {
    Environment env = everything();
    env.waylandDisplay = true;
    env.x11Display = true; // Xwayland
    return env;
}

template <typename Change> Environment with(Environment env, Change change) {
    change(env);
    return env;
}

struct ChoiceRow {
    const char* label;
    Environment env;
    std::string backend;
    std::string reasonStart;
};

void PrintTo(const ChoiceRow& row, std::ostream* out) {
    *out << row.label;
}

class BackendChoiceTable : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(BackendChoiceTable, PicksTheBackend) {
    const ChoiceRow& row = GetParam();
    const BackendChoice choice = chooseDesktopBackend(row.env);
    EXPECT_EQ(choice.name, row.backend) << choice.reason;
    EXPECT_EQ(choice.reason.rfind(row.reasonStart, 0), 0u) << choice.reason;
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, BackendChoiceTable,
    ::testing::Values(
        ChoiceRow{"GNOME", with(x11Session(), [](Environment& e) { e.currentDesktop = "GNOME"; }),
                  "gnome", "XDG_CURRENT_DESKTOP=GNOME"},
        ChoiceRow{"UbuntuGnome",
                  with(waylandSession(), [](Environment& e) { e.currentDesktop = "ubuntu:GNOME"; }),
                  "gnome", "XDG_CURRENT_DESKTOP=ubuntu:GNOME"},
        ChoiceRow{"LowerCase",
                  with(x11Session(), [](Environment& e) { e.currentDesktop = "gnome"; }), "gnome",
                  "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"Unity", with(x11Session(), [](Environment& e) { e.currentDesktop = "Unity"; }),
                  "gnome", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"Budgie",
                  with(x11Session(), [](Environment& e) { e.currentDesktop = "Budgie:GNOME"; }),
                  "gnome", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"Pantheon",
                  with(x11Session(), [](Environment& e) { e.currentDesktop = "Pantheon"; }),
                  "gnome", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"Cinnamon",
                  with(x11Session(), [](Environment& e) { e.currentDesktop = "X-Cinnamon"; }),
                  "cinnamon", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"Mate", with(x11Session(), [](Environment& e) { e.currentDesktop = "MATE"; }),
                  "mate", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"Xfce", with(x11Session(), [](Environment& e) { e.currentDesktop = "XFCE"; }),
                  "xfce", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"Kde", with(waylandSession(), [](Environment& e) { e.currentDesktop = "KDE"; }),
                  "kde", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"Sway", with(waylandSession(), [](Environment& e) { e.currentDesktop = "sway"; }),
                  "sway", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"FirstKnownWins",
                  with(x11Session(), [](Environment& e) { e.currentDesktop = "Foo:XFCE:GNOME"; }),
                  "xfce", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"EmptyTokens",
                  with(x11Session(), [](Environment& e) { e.currentDesktop = "::mate:"; }), "mate",
                  "XDG_CURRENT_DESKTOP"},
        // The variable wins over the session name and the probe.
        ChoiceRow{"VariableBeforeSession",
                  with(x11Session(),
                       [](Environment& e) {
                           e.currentDesktop = "KDE";
                           e.desktopSession = "xfce";
                           e.busNames = {"org.gnome.Shell"};
                       }),
                  "kde", "XDG_CURRENT_DESKTOP"},
        ChoiceRow{"SessionPlasma",
                  with(x11Session(), [](Environment& e) { e.desktopSession = "plasmawayland"; }),
                  "kde", "DESKTOP_SESSION=plasmawayland"},
        ChoiceRow{"SessionPath",
                  with(x11Session(),
                       [](Environment& e) { e.desktopSession = "/usr/share/xsessions/cinnamon"; }),
                  "cinnamon", "DESKTOP_SESSION"},
        ChoiceRow{"SessionXubuntu",
                  with(x11Session(), [](Environment& e) { e.desktopSession = "xubuntu"; }), "xfce",
                  "DESKTOP_SESSION"},
        ChoiceRow{"SessionUnknownThenProbe",
                  with(x11Session(),
                       [](Environment& e) {
                           e.currentDesktop = "LXQt";
                           e.desktopSession = "lxqt";
                           e.busNames = {"org.kde.plasmashell"};
                       }),
                  "kde", "org.kde.plasmashell is on the session bus"},
        ChoiceRow{"ProbeOrder",
                  with(x11Session(),
                       [](Environment& e) {
                           e.busNames = {"org.mate.Caja", "org.gnome.Shell"};
                       }),
                  "gnome", "org.gnome.Shell"},
        ChoiceRow{"ProbeXfdesktop",
                  with(x11Session(), [](Environment& e) { e.busNames = {"org.xfce.xfdesktop"}; }),
                  "xfce", "org.xfce.xfdesktop"},
        ChoiceRow{"ProbeSwaySocket",
                  with(waylandSession(), [](Environment& e) { e.swaySocket = true; }), "sway",
                  "SWAYSOCK"},
        // Nothing known: the root window on X11, swaybg on Wayland, else none.
        ChoiceRow{"PlainX11", x11Session(), "x11", "an X11 session"},
        ChoiceRow{"UnknownDesktopOnX11",
                  with(x11Session(), [](Environment& e) { e.currentDesktop = "LXDE"; }), "x11",
                  "an X11 session"},
        ChoiceRow{"WaylandNeverRootWindow", waylandSession(), "sway", "a Wayland session"},
        ChoiceRow{"WaylandBySessionType",
                  with(x11Session(),
                       [](Environment& e) {
                           e.sessionType = "wayland";
                           e.swaybgInstalled = false;
                       }),
                  "none", "a Wayland session"},
        ChoiceRow{"WaylandWithoutSwaybg",
                  with(waylandSession(), [](Environment& e) { e.swaybgInstalled = false; }), "none",
                  "a Wayland session"},
        ChoiceRow{"NoDisplay", everything(), "none", "no X11 or Wayland display"},
        // Passed over when the desktop's own means are missing.
        ChoiceRow{"GnomeWithoutSchema",
                  with(x11Session(),
                       [](Environment& e) {
                           e.currentDesktop = "GNOME";
                           e.schemas.erase(kGnomeSchema);
                       }),
                  "x11", "an X11 session"},
        ChoiceRow{"GnomeWithoutSchemaOnWayland",
                  with(waylandSession(),
                       [](Environment& e) {
                           e.currentDesktop = "GNOME";
                           e.schemas.clear();
                           e.swaybgInstalled = false;
                       }),
                  "none", "a Wayland session"},
        ChoiceRow{"MateWithoutSchemaThenSession",
                  with(x11Session(),
                       [](Environment& e) {
                           e.currentDesktop = "MATE";
                           e.desktopSession = "xfce";
                           e.schemas.erase(kMateSchema);
                       }),
                  "xfce", "DESKTOP_SESSION=xfce"},
        ChoiceRow{"SwayWithoutSwaybg",
                  with(waylandSession(),
                       [](Environment& e) {
                           e.currentDesktop = "sway";
                           e.swaybgInstalled = false;
                       }),
                  "none", "a Wayland session"},
        // LUMORA_DESKTOP forces one, in any case, whatever else is said.
        ChoiceRow{"ForcedXfce",
                  with(x11Session(),
                       [](Environment& e) {
                           e.forced = "xfce";
                           e.currentDesktop = "GNOME";
                       }),
                  "xfce", "LUMORA_DESKTOP=xfce"},
        ChoiceRow{"ForcedUpperCase", with(x11Session(), [](Environment& e) { e.forced = "KDE"; }),
                  "kde", "LUMORA_DESKTOP=KDE"},
        ChoiceRow{"ForcedNone", with(x11Session(), [](Environment& e) { e.forced = "none"; }),
                  "none", "LUMORA_DESKTOP=none"},
        ChoiceRow{"ForcedX11", with(x11Session(), [](Environment& e) { e.forced = "x11"; }), "x11",
                  "LUMORA_DESKTOP=x11"},
        ChoiceRow{"ForcedUnknownFallsThrough",
                  with(x11Session(),
                       [](Environment& e) {
                           e.forced = "amiga";
                           e.currentDesktop = "MATE";
                       }),
                  "mate", "XDG_CURRENT_DESKTOP=MATE"}),
    [](const ::testing::TestParamInfo<ChoiceRow>& row) { return std::string(row.param.label); });

TEST(BackendChoice, PassedOverDesktopsAreToldInTheReason) {
    Environment env = x11Session();
    env.currentDesktop = "GNOME";
    env.schemas.clear();
    const BackendChoice choice = chooseDesktopBackend(env);
    EXPECT_EQ(describeBackendChoice(choice),
              "desktop backend: x11 (an X11 session without a known desktop; GNOME passed over: "
              "the settings schema org.gnome.desktop.background is not installed)");
}

struct CreateRow {
    std::string name;
};

class CreateBackend : public ::testing::TestWithParam<std::string> {};

TEST_P(CreateBackend, TheBackendCarriesTheChosenName) {
    Environment env;
    env.forced = GetParam();
    const auto backend = createDesktopBackend(env);
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(backend->name(), GetParam());
}

// x11 and the bus backends construct without touching a display or the bus.
INSTANTIATE_TEST_SUITE_P(Names, CreateBackend,
                         ::testing::Values("gnome", "cinnamon", "mate", "xfce", "kde", "sway",
                                           "x11", "none"));

TEST(NoneBackend, RecordsTheCallsInOrderAndSetsNothing) {
    NoneBackend backend("testing");
    ::testing::internal::CaptureStderr();
    backend.setBackgroundColor(0xFFFFFF);
    backend.setWallpaper("/p/Default.bmp", 0);
    backend.setWallpaper("", 2);
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::vector<NoneBackend::Call> expected{
        {NoneBackend::Call::Kind::Color, "", 0, 0xFFFFFF},
        {NoneBackend::Call::Kind::Wallpaper, "/p/Default.bmp", 0, 0},
        {NoneBackend::Call::Kind::Wallpaper, "", 2, 0},
    };
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

void PrintTo(const GroupRow& row, std::ostream* out) {
    *out << row.label;
}

class XfceGroups : public ::testing::TestWithParam<GroupRow> {};

TEST_P(XfceGroups, EveryMonitorAndWorkspace) {
    const GroupRow& row = GetParam();
    EXPECT_EQ(XfceBackend::backdropGroups(row.properties, row.monitors, row.workspaces),
              row.groups);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, XfceGroups,
    ::testing::Values(GroupRow{"FreshProfile",
                               {},
                               {"Virtual-1"},
                               1,
                               {"/backdrop/screen0/monitorVirtual-1/workspace0"}},
                      GroupRow{"FreshTwoMonitorsTwoWorkspaces",
                               {},
                               {"HDMI-1", "eDP-1"},
                               2,
                               {"/backdrop/screen0/monitorHDMI-1/workspace0",
                                "/backdrop/screen0/monitorHDMI-1/workspace1",
                                "/backdrop/screen0/monitoreDP-1/workspace0",
                                "/backdrop/screen0/monitoreDP-1/workspace1"}},
                      GroupRow{"ExistingKeptAndCompleted",
                               {"/backdrop/screen0/monitor0/workspace3/last-image",
                                "/backdrop/screen0/monitor0/workspace3/rgba1",
                                "/backdrop/screen0/monitorscreen/workspace0/image-style",
                                "/backdrop/single-workspace-mode",
                                "/backdrop/screen0/monitor0/image-path"},
                               {"screen"},
                               1,
                               {"/backdrop/screen0/monitor0/workspace3",
                                "/backdrop/screen0/monitorscreen/workspace0"}},
                      GroupRow{"NoMonitorKnown", {}, {}, 1, {}},
                      GroupRow{"SlashInNameIgnored", {}, {"a/b", ""}, 1, {}}),
    [](const ::testing::TestParamInfo<GroupRow>& row) { return std::string(row.param.label); });

} // namespace
} // namespace lumora
