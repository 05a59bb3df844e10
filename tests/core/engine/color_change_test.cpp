// The colour dialog: preset from the stored colour, cancel, choice set at once and stored.
#include "core/fakes/fakes.h"

namespace lumora {
namespace {

using Rgb = std::optional<std::uint32_t>;
using Text = std::optional<std::string>;
const Rgb kNoDialog = 0xBADu;

struct ColorRow {
    const char* name;
    Text stored; // "BackColor" before; nothing = absent
    Rgb answer;  // the dialog's answer; nothing = cancel
    Rgb preset;  // the initial colour the dialog got; kNoDialog: no dialog at all
    const char* calls;
    Text storedAfter;      // "BackColor" after
    const char* heldAfter; // BackColor in memory after
    bool desktopFails = false;
};

const ColorRow kRows[] = {
    {"FirstUsePureRed", {}, 255u, {}, "color(255)", "255", "255"},
    {"StoredBluePresetsBlue", "16711680", 65280u, 0xFF0000u, "color(65280)", "65280", "65280"},
    {"StoredEmptyTextNoPreset", "", 0u, {}, "color(0)", "0", "0"},
    {"WhiteChosen", "255", 0xFFFFFFu, 255u, "color(16777215)", "16777215", "16777215"},
    {"CancelChangesNothing", "255", {}, 255u, "", "255", "255"},
    {"CancelAtFirstUse", {}, {}, {}, "", {}, ""},
    {"NotANumberEndsBeforeDialog", "blue", 255u, kNoDialog, "", "blue", "blue"},
    {"FractionEndsBeforeDialog", "25.5", 255u, kNoDialog, "", "25.5", "25.5"},
    {"DesktopFailureStillStored", "0", 123456u, 0u, "color(123456)", "123456", "123456", true},
};

class ColorChangeTable : public ::testing::TestWithParam<ColorRow> {};

TEST_P(ColorChangeTable, PresetsSetsAndStores) {
    const ColorRow& row = GetParam();
    fakes::EngineRig rig;
    if (row.stored) {
        rig.options.SaveSetting(kBackColor, *row.stored);
    }
    rig.state.BackColor = "999"; // the routine reads the stored text itself
    rig.dialogs.colorAnswers.push_back(row.answer);
    rig.desktop.failColor = row.desktopFails;

    EXPECT_NO_THROW(rig.engine.ColorChange());

    EXPECT_EQ(rig.dialogs.colorRequests,
              row.preset == kNoDialog ? std::vector<Rgb>{} : std::vector<Rgb>{row.preset});
    EXPECT_EQ(rig.desktop.calls,
              row.calls[0] ? std::vector<std::string>{row.calls} : std::vector<std::string>{});
    EXPECT_EQ(rig.stored(kBackColor), row.storedAfter);
    EXPECT_EQ(rig.state.BackColor, row.heldAfter);
}

INSTANTIATE_TEST_SUITE_P(Rows, ColorChangeTable, ::testing::ValuesIn(kRows), byName);

// The next application of the wallpaper sets the new colour in mode 3, and white again around the
// default picture in mode 2.
TEST(ColorChange, NextApplicationUsesTheNewColourOrWhiteAroundTheDefault) {
    for (float mode : {3.0f, 2.0f}) {
        fakes::EngineRig rig;
        rig.state.DirectWall = mode;
        rig.state.BackColor = "255";
        rig.options.SaveSetting(kBackColor, "255");
        rig.dialogs.colorAnswers = {65280u};
        rig.engine.ColorChange();
        rig.engine.ApplyWallpaperForDay(5);
        const std::vector<std::string> expected =
            mode == 3
                ? std::vector<std::string>{"color(65280)", "color(65280)", "wallpaper(, 2)"}
                : std::vector<std::string>{"color(65280)", "color(16777215)",
                                           "wallpaper(" + rig.engine.defaultPicturePath() + ", 0)"};
        EXPECT_EQ(rig.desktop.calls, expected);
    }
}

} // namespace
} // namespace lumora
