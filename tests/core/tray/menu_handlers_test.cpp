// The tray menu's handlers, the icon's callbacks and the unload of FrmMain.
#include "core/fakes/fakes.h"

using namespace lumora;
using namespace lumora::fakes;

namespace {

using Act = std::function<void(FrmMainRig&)>;

const auto click = [](MenuId id, int index = 0) -> Act {
    return [=](FrmMainRig& r) { r.logic.tray.menuClicked(id, index); };
};
const auto onTray = [](float x) -> Act {
    return [=](FrmMainRig& r) { r.logic.tray.trayCallback(x); };
};
const auto key = [](int code) -> Act {
    return [=](FrmMainRig& r) { r.logic.tray.Form_KeyDown(code, 0); };
};
// Form_QueryUnload with an unload mode other than the close box goes ahead.
const auto unload = [](int mode) -> Act {
    return [=](FrmMainRig& r) { EXPECT_FALSE(r.logic.tray.Form_QueryUnload(mode)); };
};

const Act aboutWhileShown = [](FrmMainRig& r) {
    r.window.shown = true;
    r.logic.tray.MnAbout_Click();
};
const Act aboutClosed = [](FrmMainRig& r) { r.logic.tray.aboutClosed(); };
// Showing the window activates it: the caption and today's name are read anew.
const CallLog kShown = {"window.show", "clock.now -> 4", "clock.now -> 4", "clock.now -> 4"};
const CallLog kShownOnTop = {"window.show", "clock.now -> 4", "clock.now -> 4", "clock.now -> 4",
                             "window.setTopMost"};

// One action on a started FrmMain and the calls it makes.
struct ActionRow {
    const char* name;
    Act act;
    CallLog log;
};

class Actions : public ::testing::TestWithParam<ActionRow> {};

TEST_P(Actions, MakeTheirCalls) {
    FrmMainRig rig;
    rig.started();
    GetParam().act(rig);
    EXPECT_EQ(rig.log, GetParam().log);
}

const ActionRow kActions[] = {
    {"Refresh", click(MenuId::mnurefresh), {"clock.now -> 4", "engine.ApplyWallpaperForDay(4)"}},
    {"Wednesday",
     click(MenuId::mnuday, 4),
     {"dialogs.openFile(Lumora - Choose wallpaper to use for Wednesday, '')"}},
    {"Color", click(MenuId::DeskCol), {"engine.ColorChange"}},
    {"Separator", click(MenuId::sep2), {}},
    // F1 and the help item open the same help window.
    {"HelpItem", click(MenuId::mnuHelp), {"help.showHelp"}},
    {"F1", key(112), {"help.showHelp"}},
    {"F2", key(113), {}},
    // "About..." hides the settings window and passes whether it was shown.
    {"AboutWhileShown", aboutWhileShown, {"window.hide", "about.StrtPrg(0, true)"}},
    {"AboutWhileHidden", click(MenuId::MnAbout), {"window.hide", "about.StrtPrg(0, false)"}},
    {"AboutClosedBringsTheSettingsWindowBack", aboutClosed, kShown},
    // The icon's callbacks: the double-click opens the settings, the right button the menu.
    // The first opening shows the window, and showing it activates it.
    {"DoubleClick", onTray(515), kShownOnTop},
    {"RightDown", onTray(516), {"window.popupMenu"}},
    {"UnloadByCode", unload(1), {}},
};

INSTANTIATE_TEST_SUITE_P(Rows, Actions, ::testing::ValuesIn(kActions), byName);

// Toggles of a stored option: texts stored and check marks after one and two clicks.
struct ToggleRow {
    const char* name;
    MenuId item;
    const char* key;
    const char* before; // nullptr: absent
    const char* first;
};

class OptionToggles : public ::testing::TestWithParam<ToggleRow> {};

TEST_P(OptionToggles, StoreTheTextAndKeepTheCheckMark) {
    const ToggleRow& row = GetParam();
    FrmMainRig rig;
    if (row.before) {
        rig.option(row.key, row.before);
    }
    rig.started();
    for (const std::string text : {row.first, row.first[0] == 'T' ? "False" : "True"}) {
        rig.logic.tray.menuClicked(row.item, 0);
        EXPECT_EQ(rig.stored(row.key), text);
        EXPECT_EQ(rig.menu.checked(row.item), text == "True");
    }
}

const ToggleRow kOptionTogglesRows[] = {
    {"LogoOn", MenuId::MainAbout, "ShowSplsh", nullptr, "False"},
    {"AlertOn", MenuId::mnuAlert, "DispMess", nullptr, "False"},
    {"AlertBogus", MenuId::mnuAlert, "DispMess", "maybe", "False"}};

INSTANTIATE_TEST_SUITE_P(Rows, OptionToggles, ::testing::ValuesIn(kOptionTogglesRows), byName);

// Autostart from the menu: entry first, then the option; the check shows what is on disk.
struct AutoRunClickRow {
    const char* name;
    const char* stored; // "AddToReg" at start
    bool failWrites;    // writes fail after start
    bool checked;
};

class AutoRunClick : public ::testing::TestWithParam<AutoRunClickRow> {};

TEST_P(AutoRunClick, WritesTheEntryThenTheOption) {
    const AutoRunClickRow& row = GetParam();
    FrmMainRig rig;
    rig.option("AddToReg", row.stored);
    rig.started();
    rig.autostart.failWrites = row.failWrites;
    rig.logic.logon.mnuAutoRun_Click();
    const bool wanted = row.stored == std::string("0");
    EXPECT_EQ(rig.log, (CallLog{"autostart.write(/opt/lumora/bin/lumora, " + b(wanted) + ")"}));
    EXPECT_EQ(rig.menu.checked(MenuId::mnuAutoRun), row.checked);
    EXPECT_EQ(rig.stored("AddToReg"), wanted ? "1" : "0");
    EXPECT_EQ(rig.state.AutoRun, row.checked);
    EXPECT_EQ(rig.autostart.isEnabled(), row.checked);
}

const AutoRunClickRow kAutoRunClickRows[] = {{"Off", "1", false, false},
                                             {"On", "0", false, true},
                                             {"OffFails", "1", true, true},
                                             {"OnFails", "0", true, false}};

INSTANTIATE_TEST_SUITE_P(Rows, AutoRunClick, ::testing::ValuesIn(kAutoRunClickRows), byName);

// The settings item first shows the window, then runs the activation again on every opening.
TEST(MenuHandlers, SettingsItemFirstShowsThenActivatesOnEveryLaterOpening) {
    FrmMainRig rig;
    rig.started();
    rig.logic.tray.mnuabout_Click();
    EXPECT_EQ(rig.log, kShownOnTop);
    EXPECT_FALSE(rig.state.FirstOpen);
    rig.log.clear();
    rig.option("DirectWall", "3");
    rig.window.shown = false; // closed meanwhile
    rig.logic.tray.mnuabout_Click();
    EXPECT_EQ(rig.log, (CallLog{"clock.now -> 4", "clock.now -> 4", "window.show", "clock.now -> 4",
                                "window.show", "window.setTopMost"}));
    EXPECT_EQ(rig.state.DirectWall, 3.0f);
    EXPECT_EQ(rig.window.caption(), "Lumora - v2.2.4 - 03 February 2027 - 09:05:07");
    EXPECT_EQ(rig.label1(8), "No Wallpaper");
}

// The close box only hides the window and reloads the modes; pending edits stay.
TEST(Unload, CloseBoxOnlyHidesAndReloadsTheModes) {
    FrmMainRig rig;
    rig.started();
    rig.option("SelectWall", "3");
    rig.state.Modified = true;
    rig.state.PendingStyle[2] = 3;
    EXPECT_TRUE(rig.logic.tray.Form_QueryUnload(vbFormControlMenu));
    EXPECT_EQ(rig.log, (CallLog{"window.dropThumbnails", "window.hide"}));
    EXPECT_EQ(rig.label1(12), "No Wallpaper");
    EXPECT_EQ(rig.state.EditSelectWall, 3.0f);
    EXPECT_TRUE(rig.state.Modified);
    EXPECT_EQ(rig.state.PendingStyle[2], 3.0f);
    EXPECT_FALSE(rig.logic.tray.unloaded());
}

TEST(Unload, ExitRemovesTheIconAndSavesNothing) {
    FrmMainRig rig;
    rig.started();
    auto optionsBefore = rig.store.options();
    rig.logic.tray.menuClicked(MenuId::mnuexit, 0);
    EXPECT_EQ(rig.log, (CallLog{"tray.NIM_DELETE(flags 19)", "window.destroy"}));
    EXPECT_TRUE(rig.logic.tray.unloaded());
    EXPECT_EQ(rig.store.options(), optionsBefore);
}

// An about window closed after "E&xit" does not start the program again, nor does anything else.
TEST(Unload, AboutWindowClosedAfterExitDoesNotStartTheProgramAgain) {
    FrmMainRig rig;
    rig.started();
    rig.window.shown = true;
    rig.logic.tray.MnAbout_Click();
    rig.logic.tray.mnuexit_Click();
    rig.log.clear();
    rig.logic.tray.aboutClosed();
    rig.logic.tray.trayCallback(515);
    rig.logic.tray.mnuexit_Click();
    EXPECT_EQ(rig.log, CallLog{});
    EXPECT_FALSE(rig.window.shown);
}

} // namespace
