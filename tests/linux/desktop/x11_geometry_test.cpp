// Where the root-window backend puts a picture: per style, per monitor, and across the root.
#include "core/ports/desktop_backend.h"
#include "linux/desktop/wallpaper_geometry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace lumora {

void PrintTo(const WallpaperPiece& p, std::ostream* os) {
    const auto r = [os](const PixelRect& q) {
        *os << q.x << "," << q.y << " " << q.width << "x" << q.height << " ";
    };
    *os << "scaled " << p.scaledSize.width << "x" << p.scaledSize.height << " clip ";
    r(p.sourceClip);
    *os << "target ";
    r(p.target);
    *os << (p.tiled ? "tiled" : "");
}

namespace {

constexpr int C = WPSTYLE_CENTER, T = WPSTYLE_TILE, S = WPSTYLE_STRETCH, M = WPSTYLE_MAX;
constexpr PixelRect kVga{0, 0, 640, 480};
constexpr PixelRect kWide{0, 0, 1280, 480};
const std::vector<PixelRect> kSideBySide{{0, 0, 640, 480}, {640, 0, 640, 480}};

// A piece drawn whole: the picture scaled to `w` x `h`, put at (x, y).
WallpaperPiece at(int w, int h, int x, int y) {
    return {{w, h}, {0, 0, w, h}, {x, y, w, h}, false};
}

struct MonitorRow {
    const char* name;
    PixelSize picture;
    PixelRect monitor;
    int style;
    WallpaperPiece expected;
};
class PlaceInMonitor : public ::testing::TestWithParam<MonitorRow> {};
TEST_P(PlaceInMonitor, PutsThePictureWhereTheStyleSays) {
    const MonitorRow& row = GetParam();
    EXPECT_EQ(placeInMonitor(row.picture, row.monitor, row.style), row.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Styles, PlaceInMonitor,
    ::testing::Values(
        MonitorRow("centre_small", {100, 60}, kVga, C, at(100, 60, 270, 210)),
        MonitorRow("centre_odd_difference", {99, 61}, kVga, C, at(99, 61, 270, 209)),
        // Larger than the monitor: only its middle shows, and only that is decoded.
        MonitorRow("centre_large", {1000, 500}, kVga, C,
                   {{1000, 500}, {180, 10, 640, 480}, kVga, false}),
        MonitorRow("centre_one_wider", {641, 480}, kVga, C,
                   {{641, 480}, {1, 0, 640, 480}, kVga, false}),
        MonitorRow("centre_second_monitor", {100, 60}, {640, 0, 1280, 1024}, C,
                   at(100, 60, 1230, 482)),
        MonitorRow("centre_exact", {640, 480}, kVga, C, at(640, 480, 0, 0)),
        MonitorRow("stretch_up", {100, 60}, kVga, S, at(640, 480, 0, 0)),
        MonitorRow("stretch_down", {3840, 2160}, {1920, 0, 1920, 1080}, S, at(1920, 1080, 1920, 0)),
        // Fit: as large as fits, keeping the aspect ratio, centred.
        MonitorRow("fit_wide", {100, 60}, kVga, M, at(640, 384, 0, 48)),
        MonitorRow("fit_tall", {60, 100}, kVga, M, at(288, 480, 176, 0)),
        MonitorRow("fit_same_aspect", {3840, 2160}, {0, 0, 1920, 1080}, M, at(1920, 1080, 0, 0)),
        MonitorRow("fit_rounds_to_nearest", {3, 1}, {0, 0, 100, 100}, M, at(100, 33, 0, 33)),
        MonitorRow("fit_sliver_keeps_a_pixel", {1, 10000}, {0, 0, 100, 100}, M, at(1, 100, 49, 0)),
        MonitorRow("fit_offset_monitor", {100, 100}, {1280, 200, 400, 200}, M,
                   at(200, 200, 1380, 200)),
        MonitorRow("unknown_style_as_centre", {100, 60}, kVga, 7, at(100, 60, 270, 210)),
        MonitorRow("empty_picture", {0, 0}, kVga, S, {}),
        MonitorRow("empty_monitor", {100, 60}, {0, 0, 0, 480}, M, {})),
    [](const auto& row) { return std::string(row.param.name); });

struct LayoutRow {
    const char* name;
    PixelSize picture;
    PixelRect root;
    std::vector<PixelRect> monitors;
    int style;
    std::vector<WallpaperPiece> expected;
};
class PlaceWallpaper : public ::testing::TestWithParam<LayoutRow> {};
TEST_P(PlaceWallpaper, GivesOnePiecePerMonitorOrOneTileLayer) {
    const LayoutRow& row = GetParam();
    EXPECT_EQ(placeWallpaper(row.picture, row.root, row.monitors, row.style), row.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Layouts, PlaceWallpaper,
    ::testing::Values(
        LayoutRow("no_monitor_means_root", {100, 60}, kWide, {}, C, {at(100, 60, 590, 210)}),
        LayoutRow("two_centre", {100, 60}, kWide, kSideBySide, C,
                  {at(100, 60, 270, 210), at(100, 60, 910, 210)}),
        LayoutRow("two_stretch", {100, 60}, kWide, kSideBySide, S,
                  {at(640, 480, 0, 0), at(640, 480, 640, 0)}),
        LayoutRow("two_sizes_fit", {200, 100}, {0, 0, 1600, 600},
                  {{0, 0, 800, 600}, {800, 100, 400, 400}}, M,
                  {at(800, 400, 0, 100), at(400, 200, 800, 200)}),
        // Tile ignores the monitors: one layer from the root's origin across the whole root.
        LayoutRow("tile_across_two", {100, 60}, kWide, kSideBySide, T,
                  {{{100, 60}, {0, 0, 100, 60}, kWide, true}}),
        LayoutRow("tile_larger_than_root", {2000, 300}, kWide, {}, T,
                  {{{2000, 300}, {0, 0, 1280, 300}, kWide, true}}),
        // Monitors are clipped to the root; one wholly outside is dropped.
        LayoutRow("monitor_hanging_off", {10, 10}, {0, 0, 1000, 500}, {{800, 0, 400, 500}}, S,
                  {at(200, 500, 800, 0)}),
        LayoutRow("only_monitor_outside", {10, 10}, {0, 0, 100, 100}, {{200, 0, 100, 100}}, S,
                  {at(100, 100, 0, 0)}),
        LayoutRow("mirrored_each_drawn", {10, 10}, kVga, {kVga, kVga}, S,
                  {at(640, 480, 0, 0), at(640, 480, 0, 0)}),
        LayoutRow("empty_picture_tile", {0, 5}, kWide, kSideBySide, T, {}),
        LayoutRow("empty_picture_fit", {5, 0}, kWide, kSideBySide, M, {})),
    [](const auto& row) { return std::string(row.param.name); });

struct IntersectRow {
    const char* name;
    PixelRect a, b, expected;
};
class Intersected : public ::testing::TestWithParam<IntersectRow> {};
TEST_P(Intersected, IsTheOverlap) {
    EXPECT_EQ(intersected(GetParam().a, GetParam().b), GetParam().expected);
    EXPECT_EQ(intersected(GetParam().b, GetParam().a), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Rects, Intersected,
    ::testing::Values(IntersectRow("inside", {0, 0, 100, 100}, {10, 20, 30, 40}, {10, 20, 30, 40}),
                      IntersectRow("corner", {0, 0, 100, 100}, {90, 95, 30, 40}, {90, 95, 10, 5}),
                      IntersectRow("negative_origin", {-50, -10, 100, 100}, kVga, {0, 0, 50, 90}),
                      IntersectRow("touching_edges", {0, 0, 100, 100}, {100, 0, 50, 50}, {}),
                      IntersectRow("apart", {0, 0, 10, 10}, {20, 20, 10, 10}, {}),
                      IntersectRow("empty_operand", {0, 0, 0, 10}, {0, 0, 10, 10}, {}),
                      IntersectRow("huge_no_overflow", {2147483000, 0, 2000, 10},
                                   {2147483200, 0, 100, 10}, {2147483200, 0, 100, 10})),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
