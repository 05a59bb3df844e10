// The wallpaper start-up is expected to set, read from the store before the program is up: only the
// day's own picture, shown in the day's own mode, in a style that reaches the desktop.
#include "core/engine/start_wallpaper.h"
#include "core/fakes/fakes.h"

using namespace lumora;
using namespace lumora::fakes;

namespace {

struct StartRow {
    const char* name;
    std::string directWall; // "" = never stored
    std::string picture;    // Tuesday's value
    std::string style;      // "Styl3"; "" = never stored
    std::string backColor;
    std::optional<ExpectedWallpaper> expected;
};
class StartWallpaper : public ::testing::TestWithParam<StartRow> {};
TEST_P(StartWallpaper, IsTheDaysOwnPictureInItsStyleOnTheStoredColour) {
    const StartRow& row = GetParam();
    StoreRig rig;
    rig.setDayValue(3, row.picture);
    for (const auto& [key, value] :
         {std::pair{std::string(kDirectWall), row.directWall}, std::pair{stylKey(3), row.style},
          std::pair{std::string(kBackColor), row.backColor}}) {
        if (!value.empty()) {
            rig.options.SaveSetting(key, value);
        }
    }
    const auto got = expectedStartWallpaper(rig.registry, rig.options, 3);
    ASSERT_EQ(got.has_value(), row.expected.has_value());
    if (got) {
        EXPECT_EQ(got->path, row.expected->path);
        EXPECT_EQ(got->style, row.expected->style);
        EXPECT_EQ(got->color, row.expected->color);
    }
}
const StartRow kStartRows[] = {
    {"Defaults", "", "/p/tue.jpg", "", "", ExpectedWallpaper{"/p/tue.jpg", 2, 0}},
    {"CentredOnAColour", "1", "/p/tue.jpg", "2", "255", ExpectedWallpaper{"/p/tue.jpg", 0, 255}},
    {"FitOnAnUnreadableColour", "1", "/p/tue.jpg", "4", "red",
     ExpectedWallpaper{"/p/tue.jpg", 3, 0}},
    {"NoPicture", "1", "", "1", "", std::nullopt},
    {"UnreadableValue", "1", "Error: 5", "1", "", std::nullopt},
    {"StyleThatLeavesTheDesktop", "1", "/p/tue.jpg", "7", "", std::nullopt},
    {"DefaultPictureMode", "2", "/p/tue.jpg", "1", "", std::nullopt},
    {"NoPictureMode", "3", "/p/tue.jpg", "1", "", std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(Rows, StartWallpaper, ::testing::ValuesIn(kStartRows), byName);

} // namespace
