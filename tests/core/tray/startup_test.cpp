// Start-up: which calls run, in which order, with which arguments.
#include "core/fakes/fakes.h"

using namespace lumora;
using namespace lumora::fakes;

namespace {

const std::string kAlert =
    "tray.NIM_MODIFY(flags 19, tip \"Lumora\", title \"Lumora\", icon 1, 2000 ms)";

TEST(Startup, FirstStartOnAnEmptyProfileRunsEveryStepInOrder) {
    FrmMainRig rig;
    ASSERT_TRUE(rig.logic.startUp.Form_Load());
    EXPECT_EQ(rig.log, (CallLog{"instance.tryAcquire -> true", "about.StrtPrg(1, false)",
                                "autostart.write(/opt/lumora/bin/lumora, true)",
                                "tray.NIM_ADD(flags 7, tip \"Lumora\")", "engine.CreateDefault",
                                "clock.now -> 4", "clock.now -> 4",
                                "engine.ApplyWallpaperForDay(4)", kAlert}));
    // The state start-up leaves; the first-run advice in the icon's balloon; no option written.
    EXPECT_TRUE(rig.state.FirstOpen && !rig.state.Modified && !rig.state.DayChanging);
    EXPECT_EQ(fieldText(rig.tray.data().szInfo), firstRunText());
    EXPECT_TRUE(rig.store.options().empty());
}

TEST(Startup, SecondInstanceShowsTheBoxAndStopsThere) {
    FrmMainRig rig;
    rig.instance.free = false;
    EXPECT_FALSE(rig.logic.startUp.Form_Load());
    EXPECT_EQ(rig.log, (CallLog{"instance.tryAcquire -> false",
                                "dialogs.messageBox(Lumora - v2.2.4, icon 1)"}));
    EXPECT_EQ(rig.dialogs.lastText, alreadyRunningText());
    EXPECT_TRUE(rig.host.records.empty());
}

TEST(Startup, TodayIsTakenAnewForLastDayAndForTheWallpaper) {
    FrmMainRig rig;
    rig.clock.weekdays = {7, 1}; // the clock passes Saturday midnight during start-up
    ASSERT_TRUE(rig.logic.startUp.Form_Load());
    EXPECT_EQ(rig.state.LastDay, 7);
    EXPECT_EQ(rig.only("engine.Apply"), CallLog{"engine.ApplyWallpaperForDay(1)"});
}

// Stored option texts ("Key=text;...") and an autostart entry, and what start-up makes of them:
// the state as "[-]logo [-]alerts SelectWall/DirectWall [-]autorun Tuesday's-style 'BackColor'",
// and the calls whose names begin with one of `prefixes` ("a|b").
struct LoadRow {
    const char* name;
    const char* options;
    const char* state;
    const char* prefixes = "";
    CallLog calls = {};
    bool entryBefore = false; // an enabled entry is on disk before start
    bool failWrites = false;
};

class StartupLoad : public ::testing::TestWithParam<LoadRow> {};

TEST_P(StartupLoad, ReadsTheOptionsWithTheirDefaults) {
    const LoadRow& row = GetParam();
    FrmMainRig rig;
    rig.setOptions(row.options);
    rig.autostart.on = row.entryBefore;
    rig.autostart.failWrites = row.failWrites;
    rig.state.PendingStyle[3] = 2;
    const auto optionsBefore = rig.store.options();
    ASSERT_TRUE(rig.logic.startUp.Form_Load());
    const FrmMainState& st = rig.state;
    std::ostringstream state;
    state << (st.ShowSplsh ? "" : "-") << "logo " << (st.DispMess ? "" : "-") << "alerts "
          << st.SelectWall << '/' << st.DirectWall << (st.AutoRun ? " " : " -") << "autorun "
          << st.DayStyle[3] << " '" << st.BackColor << "'";
    EXPECT_EQ(state.str(), row.state);
    const LabelView& letter = rig.window.view.label3[3];
    if (!letter.toolTip.empty()) {
        rig.log.push_back("window.Label3(3) = " + letter.caption + " / " + letter.toolTip);
    }
    EXPECT_EQ(rig.only(row.prefixes), row.calls);
    // The menu shows what was read, the logo window opens only with the logo on, pending styles
    // are dropped, and start-up writes no option.
    EXPECT_EQ(rig.menu.checked(MenuId::MainAbout), st.ShowSplsh);
    EXPECT_EQ(rig.menu.checked(MenuId::mnuAlert), st.DispMess);
    EXPECT_EQ(rig.menu.checked(MenuId::mnuAutoRun), st.AutoRun);
    EXPECT_EQ(rig.only("about.").size(), st.ShowSplsh ? 1u : 0u);
    EXPECT_EQ(st.EditSelectWall, st.SelectWall);
    EXPECT_EQ(st.EditDirectWall, st.DirectWall);
    EXPECT_EQ(st.PendingStyle[3], 0.0f);
    EXPECT_EQ(rig.store.options(), optionsBefore);
}

const char* const D = "logo alerts 2/1 autorun 1 ''"; // an empty profile
const char* const kColor = "desktop.|engine.Apply";
const char* const kApply = "engine.ApplyWallpaperForDay(4)";
const char* const kLabel = "window.Label3(3)";
const std::string L3 = std::string(kLabel) + " = ";
const char* const kOn = "autostart.write(/opt/lumora/bin/lumora, true)";
const char* const kOff = "autostart.write(/opt/lumora/bin/lumora, false)";

// clang-format off
const LoadRow kLoadRows[] = {
    {"LogoOff", "ShowSplsh=False", "-logo alerts 2/1 autorun 1 ''"},
    // The first-run alert is sent even with messages off.
    {"MessagesOff", "DispMess=False", "logo -alerts 2/1 autorun 1 ''", "tray.NIM_MODIFY", {kAlert}},
    {"Modes", "SelectWall=3;DirectWall=3", "logo alerts 3/3 autorun 1 ''"},
    // The modes are numbers: other spellings of a code are that code, an unknown code is kept,
    // and only a text that is no number counts as absent.
    {"ModesAsNumbers", "SelectWall=3.0;DirectWall= 2", "logo alerts 3/2 autorun 1 ''"},
    {"ModesUnknownCodes", "SelectWall=1;DirectWall=4", "logo alerts 1/4 autorun 1 ''"},
    {"ModesNoNumbers", "SelectWall=x;DirectWall=", D},
    // The stored colour is set before the wallpaper in modes 1 and 3 when it is a number.
    {"ColorAbsent", "", D, kColor, {kApply}},
    {"ColorModeOne", "BackColor=255", "logo alerts 2/1 autorun 1 '255'", kColor, {"desktop.color(255)", kApply}},
    {"ColorModeTwo", "DirectWall=2;BackColor=255", "logo alerts 2/2 autorun 1 '255'", kColor, {kApply}},
    {"ColorModeThree", "DirectWall=3;BackColor=65280", "logo alerts 2/3 autorun 1 '65280'", kColor, {"desktop.color(65280)", kApply}},
    {"ColorNotANumber", "BackColor=blue", "logo alerts 2/1 autorun 1 'blue'", kColor, {kApply}},
    // Style keys and the style labels; a style without a label keeps the label as designed.
    {"StyleAbsent", "", D, kLabel, {L3 + "S / Stretch Wallpaper"}},
    {"StyleCenter", "Styl3=2", "logo alerts 2/1 autorun 2 ''", kLabel, {L3 + "C / Center Wallpaper"}},
    {"StyleTile", "Styl3=3", "logo alerts 2/1 autorun 3 ''", kLabel, {L3 + "T / Tile Wallpaper"}},
    {"StyleZero", "Styl3=0", "logo alerts 2/1 autorun 0 ''", kLabel},
    {"StyleNotANumberKeepsZero", "Styl3=wide", "logo alerts 2/1 autorun 0 ''", kLabel},
    // "AddToReg": the entry follows the option; the check shows what is on disk.
    {"AutoRunAbsent", "", D, "autostart.", {kOn}},
    {"AutoRunOne", "AddToReg=1", D, "autostart.", {kOn}},
    {"AutoRunZero", "AddToReg=0", "logo alerts 2/1 -autorun 1 ''", "autostart.", {kOff}, true},
    {"AutoRunTwo", "AddToReg=2", "logo alerts 2/1 -autorun 1 ''", "autostart.", {kOff}},
    {"AutoRunWord", "AddToReg=yes", D, "autostart.", {kOn}},
    {"AutoRunFailedWrite", "AddToReg=1", "logo alerts 2/1 -autorun 1 ''", "autostart.", {kOn}, false, true},
    {"AutoRunFailedDisable", "AddToReg=0", D, "autostart.", {kOff}, true, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, StartupLoad, ::testing::ValuesIn(kLoadRows), byName);

// The first-run alert: not sent once a day has a picture; empty values count as none.
TEST(Startup, FirstRunAlertIsSentWhileNoDayHasAPicture) {
    for (auto [days, alerted] :
         {std::pair{std::vector<std::string>{"", "", "/p/Tuesday.jpg"}, false},
          {std::vector<std::string>(7, ""), true}}) {
        FrmMainRig rig;
        for (std::size_t w = 0; w < days.size(); ++w) {
            rig.setDayValue(static_cast<int>(w + 1), days[w]);
        }
        ASSERT_TRUE(rig.logic.startUp.Form_Load());
        EXPECT_EQ(rig.only("tray.NIM_MODIFY"), alerted ? CallLog{kAlert} : CallLog{});
    }
}

// A store that cannot be read is said once, last, whatever the message switch (which lives in
// that store) would say; a readable store says nothing of the kind.
TEST(Startup, UnreadableStoreIsToldOnceAtTheEnd) {
    for (bool failing : {false, true}) {
        FrmMainRig rig;
        if (failing) {
            rig.store.setFailure(21);
        }
        ASSERT_TRUE(rig.logic.startUp.Form_Load());
        int told = 0;
        for (const TrayIconData& record : rig.host.records) {
            told += fieldText(record.szInfo).starts_with("Lumora cannot read its settings file");
        }
        EXPECT_EQ(told, failing ? 1 : 0);
        if (failing) {
            EXPECT_EQ(fieldText(rig.host.records.back().szInfo),
                      unreadableSettingsText("", "the settings store failed"));
        }
    }
}

} // namespace
