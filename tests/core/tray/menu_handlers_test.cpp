// The tray menu's handlers, the icon's callbacks and the unload of FrmMain.
#include "frm_main_fixture.h"

#include <gmock/gmock.h>

using namespace lumora;
using namespace lumora::trayfakes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Toggles of a stored option: texts stored and check marks after one and two clicks.
struct ToggleRow {
    const char* name;
    MenuId item;
    const char* key;
    const char* before; // nullptr: absent
    const char* first;
    const char* second;
};

class OptionToggles : public ::testing::TestWithParam<ToggleRow> {};

TEST_P(OptionToggles, StoreTheTextAndKeepTheCheckMark) {
    const ToggleRow& row = GetParam();
    FrmMainRig rig;
    if (row.before) {
        rig.option(row.key, row.before);
    }
    rig.started();
    rig.logic.menuClicked(row.item, 0);
    EXPECT_EQ(rig.stored(row.key), row.first);
    EXPECT_EQ(rig.menu.checked(row.item), std::string(row.first) == "True");
    rig.logic.menuClicked(row.item, 0);
    EXPECT_EQ(rig.stored(row.key), row.second);
    EXPECT_EQ(rig.menu.checked(row.item), std::string(row.second) == "True");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionToggles,
    ::testing::Values(
        ToggleRow{"LogoOn", MenuId::MainAbout, "ShowSplsh", nullptr, "False", "True"},
        ToggleRow{"LogoOff", MenuId::MainAbout, "ShowSplsh", "False", "True", "False"},
        ToggleRow{"AlertOn", MenuId::mnuAlert, "DispMess", nullptr, "False", "True"},
        ToggleRow{"AlertOff", MenuId::mnuAlert, "DispMess", "False", "True", "False"},
        ToggleRow{"AlertBogus", MenuId::mnuAlert, "DispMess", "maybe", "False", "True"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MenuHandlers, AlertSwitchShowsTheSwitchLabelAndTheMenuCheck) {
    FrmMainRig rig;
    rig.started();
    rig.logic.mnuAlert_Click();
    EXPECT_FALSE(rig.state.DispMess);
    EXPECT_THAT(rig.log, ElementsAre("menu.mnuAlert.checked = false", "window.AffMessage(false)"));
}

TEST(MenuHandlers, LogoSwitchChangesNothingNow) {
    FrmMainRig rig;
    rig.started();
    rig.logic.MainAbout_Click();
    EXPECT_THAT(rig.log, ElementsAre("menu.MainAbout.checked = false"));
}

// Autostart from the menu: entry first, then the option; the check shows what is on disk.
struct AutoRunClickRow {
    const char* name;
    const char* stored; // "AddToReg" at start
    bool failWrites;    // writes fail after start
    bool writeEnabled;  // what the click writes
    const char* saved;
    bool checked;
};

class AutoRunClick : public ::testing::TestWithParam<AutoRunClickRow> {};

TEST_P(AutoRunClick, WritesTheEntryThenTheOption) {
    const AutoRunClickRow& row = GetParam();
    FrmMainRig rig;
    rig.option("AddToReg", row.stored);
    rig.started();
    rig.autostart.failWrites = row.failWrites;
    rig.logic.mnuAutoRun_Click();
    EXPECT_THAT(rig.log, ElementsAre(std::string("autostart.write(/opt/lumora/bin/lumora, ") +
                                         (row.writeEnabled ? "true" : "false") + ")",
                                     std::string("menu.mnuAutoRun.checked = ") +
                                         (row.checked ? "true" : "false")));
    EXPECT_EQ(rig.stored("AddToReg"), row.saved);
    EXPECT_EQ(rig.state.AutoRun, row.checked);
    EXPECT_EQ(rig.autostart.isEnabled(), row.checked);
}

INSTANTIATE_TEST_SUITE_P(Rows, AutoRunClick,
                         ::testing::Values(AutoRunClickRow{"Off", "1", false, false, "0", false},
                                           AutoRunClickRow{"On", "0", false, true, "1", true},
                                           AutoRunClickRow{"OffFails", "1", true, false, "0", true},
                                           AutoRunClickRow{"OnFails", "0", true, true, "1", false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(MenuHandlers, SettingsItemFirstShowsThenActivatesOnEveryLaterOpening) {
    FrmMainRig rig;
    rig.started();
    rig.logic.mnuabout_Click();
    EXPECT_THAT(rig.log, ElementsAre("window.show", "window.setTopMost"));
    EXPECT_FALSE(rig.state.FirstOpen);
    rig.log.clear();
    rig.option("DirectWall", "3");
    rig.logic.mnuabout_Click();
    EXPECT_THAT(rig.log, ElementsAre("window.resetInfoPanel", "window.Label1(8) = No Wallpaper",
                                     "window.Lab18ToolTip(3)",
                                     "window.Label1(12) = Default Wallpaper", "clock.now -> 4",
                                     "window.setCaption(Lumora - v2.2.4 - 03 February 2027 - "
                                     "09:05:07)",
                                     "window.AffMessage(true)", "window.AffPics",
                                     "window.ModifBold", "window.show", "window.setTopMost"));
    EXPECT_EQ(rig.state.DirectWall, 3.0f);
}

struct AboutRow {
    const char* name;
    bool shown;
    const char* call;
};

class AboutItem : public ::testing::TestWithParam<AboutRow> {};

TEST_P(AboutItem, HidesTheSettingsWindowAndPassesItsVisibility) {
    FrmMainRig rig;
    rig.started();
    rig.window.shown = GetParam().shown;
    rig.logic.MnAbout_Click();
    EXPECT_THAT(rig.log, ElementsAre("window.hide", GetParam().call));
}

INSTANTIATE_TEST_SUITE_P(Rows, AboutItem,
                         ::testing::Values(AboutRow{"Shown", true, "about.StrtPrg(0, true)"},
                                           AboutRow{"Hidden", false, "about.StrtPrg(0, false)"}),
                         [](const auto& row) { return std::string(row.param.name); });

struct KeyRow {
    const char* name;
    int key;
    std::size_t helps;
};

class KeyDown : public ::testing::TestWithParam<KeyRow> {};

TEST_P(KeyDown, OnlyF1OpensHelp) {
    FrmMainRig rig;
    rig.started();
    rig.logic.Form_KeyDown(GetParam().key, 0);
    EXPECT_EQ(rig.only("help.showHelp").size(), GetParam().helps);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyDown,
                         ::testing::Values(KeyRow{"F1", 112, 1}, KeyRow{"F2", 113, 0},
                                           KeyRow{"Escape", 27, 0}, KeyRow{"P", 80, 0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(MenuHandlers, HelpItemOpensHelp) {
    FrmMainRig rig;
    rig.started();
    rig.logic.menuClicked(MenuId::mnuHelp, 0);
    EXPECT_THAT(rig.log, ElementsAre("help.showHelp"));
}

struct DispatchRow {
    const char* name;
    MenuId id;
    int index;
    std::vector<std::string> log;
};

class Dispatch : public ::testing::TestWithParam<DispatchRow> {};

TEST_P(Dispatch, ReachesTheHandler) {
    FrmMainRig rig;
    rig.started();
    rig.logic.menuClicked(GetParam().id, GetParam().index);
    EXPECT_EQ(rig.log, GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Dispatch,
    ::testing::Values(DispatchRow{"Refresh",
                                  MenuId::mnurefresh,
                                  0,
                                  {"clock.now -> 4", "engine.ApplyWallpaperForDay(4)"}},
                      DispatchRow{"Wednesday", MenuId::mnuday, 4, {"window.mnuday_Click(4)"}},
                      DispatchRow{"Saturday", MenuId::mnuday, 7, {"window.mnuday_Click(7)"}},
                      DispatchRow{"Color", MenuId::DeskCol, 0, {"engine.ColorChange"}},
                      DispatchRow{"Separator", MenuId::sep2, 0, {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Unload, CloseBoxOnlyHidesAndReloadsTheModes) {
    FrmMainRig rig;
    rig.started();
    rig.option("SelectWall", "3");
    rig.state.Modified = true;
    rig.state.PendingStyle[2] = 3;
    EXPECT_TRUE(rig.logic.Form_QueryUnload(vbFormControlMenu));
    EXPECT_THAT(rig.log, ElementsAre("window.Label1(8) = Selected Wallpaper",
                                     "window.Lab18ToolTip(1)", "window.Label1(12) = No Wallpaper",
                                     "window.dropThumbnails", "window.hide"));
    EXPECT_EQ(rig.state.EditSelectWall, 3.0f);
    EXPECT_TRUE(rig.state.Modified);
    EXPECT_EQ(rig.state.PendingStyle[2], 3.0f);
    EXPECT_FALSE(rig.logic.unloaded());
}

struct ModeRow {
    const char* name;
    int mode;
};

class OtherUnloadModes : public ::testing::TestWithParam<ModeRow> {};

TEST_P(OtherUnloadModes, GoAhead) {
    FrmMainRig rig;
    rig.started();
    EXPECT_FALSE(rig.logic.Form_QueryUnload(GetParam().mode));
    EXPECT_THAT(rig.log, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, OtherUnloadModes,
                         ::testing::Values(ModeRow{"Code", 1}, ModeRow{"Windows", 2},
                                           ModeRow{"TaskManager", 3}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Unload, ExitRemovesTheIconAndSavesNothing) {
    FrmMainRig rig;
    rig.started();
    auto optionsBefore = rig.store.options();
    rig.logic.menuClicked(MenuId::mnuexit, 0);
    EXPECT_THAT(rig.log, ElementsAre("tray.NIM_DELETE(flags 19)", "window.destroy"));
    EXPECT_TRUE(rig.logic.unloaded());
    EXPECT_EQ(rig.store.options(), optionsBefore);
}

TEST(Unload, AboutWindowClosedAfterExitDoesNotStartTheProgramAgain) {
    FrmMainRig rig;
    rig.started();
    rig.window.shown = true;
    rig.logic.MnAbout_Click();
    rig.logic.mnuexit_Click();
    rig.log.clear();
    rig.logic.aboutClosed();
    rig.logic.trayCallback(515);
    rig.logic.mnuexit_Click();
    EXPECT_THAT(rig.log, ElementsAre("window.resetInfoPanel"));
    EXPECT_FALSE(rig.window.shown);
}

TEST(Unload, AboutWindowClosedBeforeExitBringsTheSettingsWindowBack) {
    FrmMainRig rig;
    rig.started();
    rig.logic.aboutClosed();
    EXPECT_THAT(rig.log, ElementsAre("window.show"));
}

// The icon's callbacks.
struct CallbackRow {
    const char* name;
    float x;
    std::vector<std::string> log;
};

class TrayCallbacks : public ::testing::TestWithParam<CallbackRow> {};

TEST_P(TrayCallbacks, OpenTheSettingsOrTheMenu) {
    FrmMainRig rig;
    rig.started();
    rig.logic.trayCallback(GetParam().x);
    EXPECT_EQ(rig.log, GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrayCallbacks,
    ::testing::Values(CallbackRow{"DoubleClick",
                                  515,
                                  {"window.resetInfoPanel", "window.show", "window.setTopMost"}},
                      CallbackRow{"RightDown", 516, {"window.resetInfoPanel", "window.popupMenu"}},
                      CallbackRow{"SingleClick", 514, {"window.resetInfoPanel"}},
                      CallbackRow{"Middle", 519, {"window.resetInfoPanel"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TrayCallbacks, RealMouseMovesOverTheWindowAreNeverTrayClicks) {
    FrmMainRig rig;
    rig.started();
    rig.logic.Form_MouseMove();
    EXPECT_THAT(rig.log, ElementsAre("window.resetInfoPanel"));
}

} // namespace
