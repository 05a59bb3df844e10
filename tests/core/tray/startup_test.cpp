// Start-up: which calls run, in which order, with which arguments.
#include "frm_main_fixture.h"

#include "core/text/texts.h"

#include <gmock/gmock.h>

using namespace lumora;
using namespace lumora::trayfakes;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

const char* const kAlert = "tray.NIM_MODIFY(flags 19, tip \"Lumora\", title \"Lumora\", icon 1, "
                           "2000 ms)";

TEST(Startup, FirstStartOnAnEmptyProfileRunsEveryStepInOrder) {
    FrmMainRig rig;
    ASSERT_TRUE(rig.logic.Form_Load());
    std::vector<std::string> expected = {
        "instance.tryAcquire -> true",
        "menu.MainAbout.checked = true",
        "about.StrtPrg(1, false)",
        "autostart.write(/opt/lumora/bin/lumora, true)",
        "menu.mnuAutoRun.checked = true",
        "window.AffDays",
        "tray.NIM_ADD(flags 7, tip \"Lumora\")",
        "engine.CreateDefault",
        "window.Label1(8) = Selected Wallpaper",
        "window.Lab18ToolTip(1)",
        "window.Label1(12) = Default Wallpaper",
        "window.AffModif",
        "clock.now -> 4",
        "menu.mnuAlert.checked = true",
    };
    for (int w = 1; w <= 7; ++w) {
        expected.push_back("window.Label3(" + std::to_string(w) + ") = S / Stretch Wallpaper");
    }
    expected.push_back("clock.now -> 4");
    expected.push_back("engine.ApplyWallpaperForDay(4)");
    expected.push_back(kAlert);
    EXPECT_THAT(rig.log, ElementsAreArray(expected));

    const FrmMainState& st = rig.state;
    EXPECT_EQ(st.DayNames[0], "Sunday");
    EXPECT_EQ(st.DayNames[6], "Saturday");
    EXPECT_EQ(st.ModeNames[1], "Selected Wallpaper");
    EXPECT_EQ(st.ModeNames[3], "No Wallpaper");
    EXPECT_EQ(st.SelectWall, 2.0f);
    EXPECT_EQ(st.DirectWall, 1.0f);
    EXPECT_EQ(st.EditSelectWall, 2.0f);
    EXPECT_EQ(st.EditDirectWall, 1.0f);
    EXPECT_TRUE(st.DispMess);
    EXPECT_TRUE(st.ShowSplsh);
    EXPECT_TRUE(st.AutoRun);
    EXPECT_TRUE(st.FirstOpen);
    EXPECT_FALSE(st.Modified);
    EXPECT_FALSE(st.DayChanging);
    EXPECT_EQ(st.LastDay, 4);
    EXPECT_EQ(st.DefaultPath, "/home/ann/.local/share/lumora/Default.bmp");
    for (int w = 1; w <= 7; ++w) {
        EXPECT_EQ(st.DayStyle[static_cast<std::size_t>(w)], 1.0f);
    }
    EXPECT_EQ(fieldText(rig.tray.data().szInfo), firstRunText());
    // Start-up writes no option.
    EXPECT_TRUE(rig.store.options().empty());
}

TEST(Startup, FirstRunTextIsExact) {
    EXPECT_EQ(firstRunText(), "Your must define the wallpapers for each day.\n\r"
                              "You can use the context menu of this icon in system tray\n\r"
                              "or double-click on this icon to launch Lumora.");
}

TEST(Startup, SecondInstanceShowsTheBoxAndStopsThere) {
    FrmMainRig rig;
    rig.instance.free = false;
    EXPECT_FALSE(rig.logic.Form_Load());
    EXPECT_THAT(rig.log, ElementsAre("instance.tryAcquire -> false",
                                     "dialogs.messageBox(Lumora - v2.2.4, icon 1)"));
    EXPECT_EQ(rig.dialogs.lastText, "Lumora is already running on this computer.\n\r\n\r"
                                    "Double-click on the Lumora icon in the system tray...\n\r"
                                    "...or right click on it to display the context menu.");
    EXPECT_TRUE(rig.host.records.empty());
}

TEST(Startup, TodayIsTakenAnewForLastDayAndForTheWallpaper) {
    FrmMainRig rig;
    rig.clock.weekdays = {7, 1}; // the clock passes Saturday midnight during start-up
    ASSERT_TRUE(rig.logic.Form_Load());
    EXPECT_EQ(rig.state.LastDay, 7);
    EXPECT_THAT(rig.only("engine.Apply"), ElementsAre("engine.ApplyWallpaperForDay(1)"));
}

// Stored option texts and what start-up makes of them.
struct OptionRow {
    const char* name;
    std::vector<std::pair<std::string, std::string>> options;
    bool showSplsh;
    bool dispMess;
    float selectWall;
    float directWall;
};

class StartupOptions : public ::testing::TestWithParam<OptionRow> {};

TEST_P(StartupOptions, AreReadWithTheirDefaults) {
    const OptionRow& row = GetParam();
    FrmMainRig rig;
    for (const auto& [k, v] : row.options) {
        rig.option(k, v);
    }
    ASSERT_TRUE(rig.logic.Form_Load());
    EXPECT_EQ(rig.state.ShowSplsh, row.showSplsh);
    EXPECT_EQ(rig.menu.checked(MenuId::MainAbout), row.showSplsh);
    EXPECT_EQ(rig.only("about.").size(), row.showSplsh ? 1u : 0u);
    EXPECT_EQ(rig.state.DispMess, row.dispMess);
    EXPECT_EQ(rig.menu.checked(MenuId::mnuAlert), row.dispMess);
    EXPECT_EQ(rig.state.SelectWall, row.selectWall);
    EXPECT_EQ(rig.state.DirectWall, row.directWall);
    EXPECT_EQ(rig.state.EditSelectWall, row.selectWall);
    EXPECT_EQ(rig.state.EditDirectWall, row.directWall);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartupOptions,
    ::testing::Values(
        OptionRow{"Empty", {}, true, true, 2, 1},
        OptionRow{"LogoOff", {{"ShowSplsh", "False"}}, false, true, 2, 1},
        OptionRow{"MessagesOff", {{"DispMess", "False"}}, true, false, 2, 1},
        OptionRow{
            "LowerCaseBoolIsAbsent", {{"ShowSplsh", "false"}, {"DispMess", "0"}}, true, true, 2, 1},
        OptionRow{
            "EmptyBoolIsAbsent", {{"ShowSplsh", ""}, {"DispMess", " True"}}, true, true, 2, 1},
        OptionRow{"Modes", {{"SelectWall", "3"}, {"DirectWall", "3"}}, true, true, 3, 3},
        OptionRow{"ModeTwo", {{"DirectWall", "2"}}, true, true, 2, 2},
        OptionRow{
            "WordsAreAbsent", {{"SelectWall", "three"}, {"DirectWall", "x"}}, true, true, 2, 1},
        OptionRow{
            "OutOfRangeIsAbsent", {{"SelectWall", "1"}, {"DirectWall", "7"}}, true, true, 2, 1},
        OptionRow{"NotTheProgramsSpelling",
                  {{"SelectWall", "3.0"}, {"DirectWall", " 2"}},
                  true,
                  true,
                  2,
                  1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Startup, FirstRunAlertIsSentWhenMessagesAreOff) {
    FrmMainRig rig;
    rig.option("DispMess", "False");
    ASSERT_TRUE(rig.logic.Form_Load());
    EXPECT_THAT(rig.only("tray.NIM_MODIFY"), ElementsAre(kAlert));
}

TEST(Startup, OneDayWithAPictureMeansNoFirstRunAlert) {
    FrmMainRig rig;
    rig.dayPicture(3, "/home/ann/.local/share/lumora/Tuesday.jpg");
    ASSERT_TRUE(rig.logic.Form_Load());
    EXPECT_THAT(rig.only("tray.NIM_MODIFY"), IsEmpty());
}

TEST(Startup, EmptyDayValuesStillMeanFirstRun) {
    FrmMainRig rig;
    for (int w = 1; w <= 7; ++w) {
        rig.dayPicture(w, "");
    }
    ASSERT_TRUE(rig.logic.Form_Load());
    EXPECT_THAT(rig.only("tray.NIM_MODIFY"), ElementsAre(kAlert));
}

// The stored colour at step 22, by desktop mode.
struct ColorRow {
    const char* name;
    const char* directWall;
    const char* backColor; // nullptr: absent
    std::vector<std::string> desktopCalls;
};

class StartupColor : public ::testing::TestWithParam<ColorRow> {};

TEST_P(StartupColor, IsSetBeforeTheWallpaperInModesOneAndThree) {
    const ColorRow& row = GetParam();
    FrmMainRig rig;
    rig.option("DirectWall", row.directWall);
    if (row.backColor) {
        rig.option("BackColor", row.backColor);
    }
    ASSERT_TRUE(rig.logic.Form_Load());
    std::vector<std::string> seen;
    for (const auto& e : rig.log) {
        if (e.rfind("desktop.", 0) == 0 || e.rfind("engine.Apply", 0) == 0) {
            seen.push_back(e);
        }
    }
    EXPECT_EQ(seen, row.desktopCalls);
    EXPECT_EQ(rig.state.BackColor, row.backColor ? row.backColor : "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartupColor,
    ::testing::Values(
        ColorRow{"ModeOneNoColor", "1", nullptr, {"engine.ApplyWallpaperForDay(4)"}},
        ColorRow{"ModeOne",
                 "1",
                 "255",
                 {"desktop.setBackgroundColor(255)", "engine.ApplyWallpaperForDay(4)"}},
        ColorRow{"ModeTwo", "2", "255", {"engine.ApplyWallpaperForDay(4)"}},
        ColorRow{"ModeThree",
                 "3",
                 "16711680",
                 {"desktop.setBackgroundColor(16711680)", "engine.ApplyWallpaperForDay(4)"}},
        ColorRow{"NotANumber", "1", "blue", {"engine.ApplyWallpaperForDay(4)"}}),
    [](const auto& row) { return std::string(row.param.name); });

// Style keys and the style labels.
struct StyleRow {
    const char* name;
    const char* stored; // nullptr: absent
    float dayStyle;
    const char* label; // nullptr: the label stays as designed
};

class StartupStyles : public ::testing::TestWithParam<StyleRow> {};

TEST_P(StartupStyles, FillDayStyleAndTheLabels) {
    const StyleRow& row = GetParam();
    FrmMainRig rig;
    rig.state.PendingStyle[3] = 2;
    if (row.stored) {
        rig.option("Styl3", row.stored);
    }
    ASSERT_TRUE(rig.logic.Form_Load());
    EXPECT_EQ(rig.state.DayStyle[3], row.dayStyle);
    EXPECT_EQ(rig.state.PendingStyle[3], 0.0f);
    auto labels = rig.only("window.Label3(3)");
    if (row.label) {
        EXPECT_THAT(labels, ElementsAre(std::string("window.Label3(3) = ") + row.label));
    } else {
        EXPECT_THAT(labels, IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StartupStyles,
                         ::testing::Values(StyleRow{"Absent", nullptr, 1, "S / Stretch Wallpaper"},
                                           StyleRow{"Center", "2", 2, "C / Center Wallpaper"},
                                           StyleRow{"Tile", "3", 3, "T / Tile Wallpaper"},
                                           StyleRow{"Fit", "4", 4, nullptr},
                                           StyleRow{"Zero", "0", 0, nullptr},
                                           StyleRow{"NotANumberKeepsZero", "wide", 0, nullptr}),
                         [](const auto& row) { return std::string(row.param.name); });

// "AddToReg" at start: the entry follows the option; the option itself is never written.
struct AutoRunRow {
    const char* name;
    const char* stored; // nullptr: absent
    bool failWrites;
    bool entryBefore; // an enabled entry is on disk before start
    bool wanted;
    bool checked;
};

class StartupAddToReg : public ::testing::TestWithParam<AutoRunRow> {};

TEST_P(StartupAddToReg, FollowsTheOption) {
    const AutoRunRow& row = GetParam();
    FrmMainRig rig;
    if (row.stored) {
        rig.option("AddToReg", row.stored);
    }
    rig.autostart.exists = row.entryBefore;
    rig.autostart.on = row.entryBefore;
    rig.autostart.failWrites = row.failWrites;
    ASSERT_TRUE(rig.logic.Form_Load());
    EXPECT_THAT(rig.only("autostart."),
                ElementsAre(std::string("autostart.write(/opt/lumora/bin/lumora, ") +
                            (row.wanted ? "true" : "false") + ")"));
    EXPECT_EQ(rig.state.AutoRun, row.checked);
    EXPECT_EQ(rig.menu.checked(MenuId::mnuAutoRun), row.checked);
    if (row.stored) {
        EXPECT_EQ(rig.stored("AddToReg"), row.stored);
    } else {
        EXPECT_EQ(rig.stored("AddToReg"), std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartupAddToReg,
    ::testing::Values(AutoRunRow{"Absent", nullptr, false, false, true, true},
                      AutoRunRow{"One", "1", false, false, true, true},
                      AutoRunRow{"Zero", "0", false, true, false, false},
                      AutoRunRow{"Two", "2", false, false, false, false},
                      AutoRunRow{"Word", "yes", false, false, true, true},
                      AutoRunRow{"Empty", "", false, false, true, true},
                      AutoRunRow{"FailedWriteShowsDisk", "1", true, false, true, false},
                      AutoRunRow{"FailedDisableShowsDisk", "0", true, true, false, true}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
