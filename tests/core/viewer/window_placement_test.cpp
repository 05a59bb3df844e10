// Centring a window's frame on its screen, row by row.
#include "core/viewer/window_placement.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora::viewer {
namespace {

constexpr auto byName = [](const auto& row) { return std::string(row.param.name); };

struct PlacementRow {
    const char* name;
    RectI screen;
    int frameWidth, frameHeight;
    PointI origin;
};
class CentredOn : public ::testing::TestWithParam<PlacementRow> {};
TEST_P(CentredOn, PlacesTheFrame) {
    const PlacementRow& row = GetParam();
    EXPECT_EQ(centredOn(row.screen, row.frameWidth, row.frameHeight), row.origin);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, CentredOn,
    ::testing::Values(
        PlacementRow{"about_on_1280x800", {0, 0, 1280, 800}, 412, 312, {434, 244}},
        PlacementRow{"help_on_1920x1080", {0, 0, 1920, 1080}, 954, 645, {483, 217}},
        PlacementRow{"odd_remainder_dropped", {0, 0, 1025, 769}, 100, 100, {462, 334}},
        PlacementRow{"second_screen_to_the_right", {1920, 0, 1280, 1024}, 412, 312, {2354, 356}},
        PlacementRow{"screen_left_of_the_primary", {-1280, 0, 1280, 800}, 412, 312, {-846, 244}},
        PlacementRow{"larger_than_the_screen", {0, 0, 800, 600}, 1001, 700, {-100, -50}},
        PlacementRow{"exactly_the_screen", {10, 20, 640, 480}, 640, 480, {10, 20}}),
    byName);

} // namespace
} // namespace lumora::viewer
