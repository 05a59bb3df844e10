// The style table and the day-name guard of FrmMain's state.
#include "core/settings/frm_main_state.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

struct StyleRow {
    float style;
    bool known;
    std::string caption;
    std::string toolTip;
    int desktopStyle;
};
class StyleTable : public ::testing::TestWithParam<StyleRow> {};
TEST_P(StyleTable, Row) {
    const StyleRow& row = GetParam();
    auto info = styleInfo(row.style);
    ASSERT_EQ(info.has_value(), row.known);
    EXPECT_EQ(desktopStyleFor(row.style).has_value(), row.known);
    if (info) {
        EXPECT_EQ(info->caption, row.caption);
        EXPECT_EQ(info->toolTip, row.toolTip);
        EXPECT_EQ(info->desktopStyle, row.desktopStyle);
        EXPECT_EQ(*desktopStyleFor(row.style), row.desktopStyle);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Settings, StyleTable,
    ::testing::Values(StyleRow{1, true, "S", "Stretch Wallpaper", 2},
                      StyleRow{2, true, "C", "Center Wallpaper", 0},
                      StyleRow{3, true, "T", "Tile Wallpaper", 1}, StyleRow{4, true, "", "", 3},
                      StyleRow{0, false, "", "", 0}, StyleRow{5, false, "", "", 0},
                      StyleRow{1.5f, false, "", "", 0}, StyleRow{-1, false, "", "", 0}));

TEST(FrmMainState, DayNameGuardsItsRange) {
    FrmMainState state;
    for (int i = 0; i < 7; ++i) {
        state.DayNames[static_cast<std::size_t>(i)] = kDayNames[static_cast<std::size_t>(i)];
    }
    EXPECT_EQ(state.dayName(1), "Sunday");
    EXPECT_EQ(state.dayName(7), "Saturday");
    EXPECT_EQ(state.dayName(0), "");
    EXPECT_EQ(state.dayName(8), "");
    EXPECT_TRUE(state.FirstOpen);
    EXPECT_FALSE(state.Modified);
}

} // namespace
} // namespace lumora
