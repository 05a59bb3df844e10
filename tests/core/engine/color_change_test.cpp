// The colour dialog: preset from the stored colour, cancel, choice set at once and stored.
#include "core/fakes/engine_rig.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace lumora {
namespace {

using fakes::DesktopCall;

struct ColorRow {
    const char* name;
    std::optional<std::string> stored;   // "BackColor" before; nothing = absent
    std::optional<std::uint32_t> answer; // the dialog's answer; nothing = cancel
    bool dialogShown;
    std::optional<std::uint32_t> preset; // the initial colour the dialog got
    std::vector<DesktopCall> calls;
    std::optional<std::string> storedAfter; // "BackColor" after
    std::string heldAfter;                  // BackColor in memory after
    bool desktopFails = false;
};

void PrintTo(const ColorRow& row, std::ostream* os) {
    *os << row.name;
}

const std::vector<ColorRow> kRows = {
    {"FirstUsePureRed",
     std::nullopt,
     255u,
     true,
     std::nullopt,
     {DesktopCall::color(255)},
     "255",
     "255"},
    {"StoredBluePresetsBlue",
     "16711680",
     65280u,
     true,
     0xFF0000u,
     {DesktopCall::color(65280)},
     "65280",
     "65280"},
    {"StoredEmptyTextNoPreset", "", 0u, true, std::nullopt, {DesktopCall::color(0)}, "0", "0"},
    {"WhiteChosen",
     "255",
     0xFFFFFFu,
     true,
     255u,
     {DesktopCall::color(0xFFFFFF)},
     "16777215",
     "16777215"},
    {"CancelChangesNothing", "255", std::nullopt, true, 255u, {}, "255", "255"},
    {"CancelAtFirstUse", std::nullopt, std::nullopt, true, std::nullopt, {}, std::nullopt, ""},
    {"NotANumberEndsBeforeDialog", "blue", 255u, false, std::nullopt, {}, "blue", "blue"},
    {"FractionEndsBeforeDialog", "25.5", 255u, false, std::nullopt, {}, "25.5", "25.5"},
    {"DesktopFailureStillStored",
     "0",
     123456u,
     true,
     0u,
     {DesktopCall::color(123456)},
     "123456",
     "123456",
     true},
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

    if (row.dialogShown) {
        ASSERT_EQ(rig.dialogs.colorRequests.size(), 1u);
        EXPECT_EQ(rig.dialogs.colorRequests[0], row.preset);
    } else {
        EXPECT_TRUE(rig.dialogs.colorRequests.empty());
    }
    EXPECT_EQ(rig.desktop.calls, row.calls);
    EXPECT_EQ(rig.store.readOption(kAppName, kSection, kBackColor), row.storedAfter);
    EXPECT_EQ(rig.state.BackColor, row.heldAfter);
}

INSTANTIATE_TEST_SUITE_P(Rows, ColorChangeTable, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

// A chosen colour is stored as decimal text and comes back as the next dialog's preset.
class ColorRoundTrip : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(ColorRoundTrip, StoredTextPresetsTheNextDialog) {
    const std::uint32_t rgb = GetParam();
    fakes::EngineRig rig;
    rig.dialogs.colorAnswers = {rgb, std::nullopt};
    rig.engine.ColorChange();
    rig.engine.ColorChange();
    EXPECT_EQ(rig.store.readOption(kAppName, kSection, kBackColor), std::to_string(rgb));
    ASSERT_EQ(rig.dialogs.colorRequests.size(), 2u);
    EXPECT_EQ(rig.dialogs.colorRequests[1], rgb);
    EXPECT_EQ(parseColorText(rig.state.BackColor), rgb);
}

INSTANTIATE_TEST_SUITE_P(Colours, ColorRoundTrip,
                         ::testing::Values(0u, 1u, 255u, 256u, 65280u, 0x123456u, 16711680u,
                                           16777215u));

TEST(ColorChange, NewColourIsWhatTheNextNoWallpaperRunSets) {
    fakes::EngineRig rig;
    rig.state.DirectWall = 3;
    rig.state.BackColor = "255";
    rig.options.SaveSetting(kBackColor, "255");
    rig.dialogs.colorAnswers = {65280u};
    rig.engine.ColorChange();
    rig.engine.ApplyWallpaperForDay(5);
    EXPECT_EQ(rig.desktop.calls,
              (std::vector<DesktopCall>{DesktopCall::color(65280), DesktopCall::color(65280),
                                        DesktopCall::wallpaper("", 2)}));
}

TEST(ColorChange, DefaultPictureStillBringsWhiteAfterAChoice) {
    fakes::EngineRig rig;
    rig.state.DirectWall = 2;
    rig.dialogs.colorAnswers = {255u};
    rig.engine.ColorChange();
    rig.engine.ApplyWallpaperForDay(1);
    EXPECT_EQ(rig.desktop.calls, (std::vector<DesktopCall>{
                                     DesktopCall::color(255), DesktopCall::color(0xFFFFFF),
                                     DesktopCall::wallpaper(rig.engine.defaultPicturePath(), 0)}));
}

} // namespace
} // namespace lumora
