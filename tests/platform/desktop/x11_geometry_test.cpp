// Where the root-window backend puts a picture: per style, per monitor, and across the root.
#include "platform/desktop/wallpaper_geometry.h"
#include "platform/seams/desktop_backend.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace lumora {

void PrintTo(const PixelRect& r, std::ostream* os) {
    *os << "{" << r.x << "," << r.y << " " << r.width << "x" << r.height << "}";
}
void PrintTo(const PixelSize& s, std::ostream* os) {
    *os << s.width << "x" << s.height;
}
void PrintTo(const WallpaperPiece& p, std::ostream* os) {
    *os << "scaled ";
    PrintTo(p.scaledSize, os);
    *os << " clip ";
    PrintTo(p.sourceClip, os);
    *os << " target ";
    PrintTo(p.target, os);
    *os << (p.tiled ? " tiled" : "");
}

namespace {

struct MonitorRow {
    std::string name;
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

constexpr PixelRect kVga{0, 0, 640, 480};

INSTANTIATE_TEST_SUITE_P(
    Styles, PlaceInMonitor,
    ::testing::Values(
        // Centre: the picture at its own size in the middle of the monitor.
        MonitorRow{"centre_small",
                   {100, 60},
                   kVga,
                   WPSTYLE_CENTER,
                   {{100, 60}, {0, 0, 100, 60}, {270, 210, 100, 60}, false}},
        MonitorRow{"centre_odd_difference",
                   {99, 61},
                   kVga,
                   WPSTYLE_CENTER,
                   {{99, 61}, {0, 0, 99, 61}, {270, 209, 99, 61}, false}},
        // A picture larger than the monitor: only its middle shows, and only that is decoded.
        MonitorRow{"centre_large",
                   {1000, 500},
                   kVga,
                   WPSTYLE_CENTER,
                   {{1000, 500}, {180, 10, 640, 480}, {0, 0, 640, 480}, false}},
        MonitorRow{"centre_one_pixel_wider",
                   {641, 480},
                   kVga,
                   WPSTYLE_CENTER,
                   {{641, 480}, {1, 0, 640, 480}, {0, 0, 640, 480}, false}},
        MonitorRow{"centre_second_monitor",
                   {100, 60},
                   {640, 0, 1280, 1024},
                   WPSTYLE_CENTER,
                   {{100, 60}, {0, 0, 100, 60}, {1230, 482, 100, 60}, false}},
        MonitorRow{"centre_exact",
                   {640, 480},
                   kVga,
                   WPSTYLE_CENTER,
                   {{640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}, false}},
        // Stretch: the monitor's size, whatever the picture's shape.
        MonitorRow{"stretch_up",
                   {100, 60},
                   kVga,
                   WPSTYLE_STRETCH,
                   {{640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}, false}},
        MonitorRow{"stretch_down",
                   {3840, 2160},
                   {1920, 0, 1920, 1080},
                   WPSTYLE_STRETCH,
                   {{1920, 1080}, {0, 0, 1920, 1080}, {1920, 0, 1920, 1080}, false}},
        // Fit: as large as fits, keeping the aspect ratio, centred; the colour shows around it.
        MonitorRow{"fit_wide_picture",
                   {100, 60},
                   kVga,
                   WPSTYLE_MAX,
                   {{640, 384}, {0, 0, 640, 384}, {0, 48, 640, 384}, false}},
        MonitorRow{"fit_tall_picture",
                   {60, 100},
                   kVga,
                   WPSTYLE_MAX,
                   {{288, 480}, {0, 0, 288, 480}, {176, 0, 288, 480}, false}},
        MonitorRow{"fit_same_aspect",
                   {3840, 2160},
                   {0, 0, 1920, 1080},
                   WPSTYLE_MAX,
                   {{1920, 1080}, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, false}},
        MonitorRow{"fit_rounds_to_nearest",
                   {3, 1},
                   {0, 0, 100, 100},
                   WPSTYLE_MAX,
                   {{100, 33}, {0, 0, 100, 33}, {0, 33, 100, 33}, false}},
        MonitorRow{"fit_sliver_keeps_a_pixel",
                   {1, 10000},
                   {0, 0, 100, 100},
                   WPSTYLE_MAX,
                   {{1, 100}, {0, 0, 1, 100}, {49, 0, 1, 100}, false}},
        MonitorRow{"fit_offset_monitor",
                   {100, 100},
                   {1280, 200, 400, 200},
                   WPSTYLE_MAX,
                   {{200, 200}, {0, 0, 200, 200}, {1380, 200, 200, 200}, false}},
        // A style the desktop does not know is drawn as centre.
        MonitorRow{"unknown_style_as_centre",
                   {100, 60},
                   kVga,
                   7,
                   {{100, 60}, {0, 0, 100, 60}, {270, 210, 100, 60}, false}},
        // Nothing to draw.
        MonitorRow{"empty_picture", {0, 0}, kVga, WPSTYLE_STRETCH, {}},
        MonitorRow{"empty_monitor", {100, 60}, {0, 0, 0, 480}, WPSTYLE_MAX, {}}),
    [](const auto& row) { return row.param.name; });

struct LayoutRow {
    std::string name;
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

constexpr PixelRect kWide{0, 0, 1280, 480};
const std::vector<PixelRect> kSideBySide{{0, 0, 640, 480}, {640, 0, 640, 480}};

INSTANTIATE_TEST_SUITE_P(
    Layouts, PlaceWallpaper,
    ::testing::Values(
        LayoutRow{"no_monitor_means_the_root",
                  {100, 60},
                  kWide,
                  {},
                  WPSTYLE_CENTER,
                  {{{100, 60}, {0, 0, 100, 60}, {590, 210, 100, 60}, false}}},
        LayoutRow{"two_monitors_centre",
                  {100, 60},
                  kWide,
                  kSideBySide,
                  WPSTYLE_CENTER,
                  {{{100, 60}, {0, 0, 100, 60}, {270, 210, 100, 60}, false},
                   {{100, 60}, {0, 0, 100, 60}, {910, 210, 100, 60}, false}}},
        LayoutRow{"two_monitors_stretch",
                  {100, 60},
                  kWide,
                  kSideBySide,
                  WPSTYLE_STRETCH,
                  {{{640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}, false},
                   {{640, 480}, {0, 0, 640, 480}, {640, 0, 640, 480}, false}}},
        LayoutRow{"two_monitors_of_different_sizes_fit",
                  {200, 100},
                  {0, 0, 1600, 600},
                  {{0, 0, 800, 600}, {800, 100, 400, 400}},
                  WPSTYLE_MAX,
                  {{{800, 400}, {0, 0, 800, 400}, {0, 100, 800, 400}, false},
                   {{400, 200}, {0, 0, 400, 200}, {800, 200, 400, 200}, false}}},
        // Tile ignores the monitors: one layer from the root's origin across the whole root.
        LayoutRow{"tile_across_two_monitors",
                  {100, 60},
                  kWide,
                  kSideBySide,
                  WPSTYLE_TILE,
                  {{{100, 60}, {0, 0, 100, 60}, {0, 0, 1280, 480}, true}}},
        LayoutRow{"tile_larger_than_root_decodes_the_visible_corner",
                  {2000, 300},
                  kWide,
                  {},
                  WPSTYLE_TILE,
                  {{{2000, 300}, {0, 0, 1280, 300}, {0, 0, 1280, 480}, true}}},
        // Monitors are clipped to the root; one wholly outside is dropped.
        LayoutRow{"monitor_hanging_off_the_root",
                  {10, 10},
                  {0, 0, 1000, 500},
                  {{800, 0, 400, 500}},
                  WPSTYLE_STRETCH,
                  {{{200, 500}, {0, 0, 200, 500}, {800, 0, 200, 500}, false}}},
        LayoutRow{"only_monitor_outside_the_root",
                  {10, 10},
                  {0, 0, 100, 100},
                  {{200, 0, 100, 100}},
                  WPSTYLE_STRETCH,
                  {{{100, 100}, {0, 0, 100, 100}, {0, 0, 100, 100}, false}}},
        LayoutRow{"mirrored_monitors_each_drawn",
                  {10, 10},
                  kVga,
                  {kVga, kVga},
                  WPSTYLE_STRETCH,
                  {{{640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}, false},
                   {{640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}, false}}},
        LayoutRow{"empty_picture_draws_nothing", {0, 5}, kWide, kSideBySide, WPSTYLE_TILE, {}},
        LayoutRow{"empty_picture_any_style", {5, 0}, kWide, kSideBySide, WPSTYLE_MAX, {}}),
    [](const auto& row) { return row.param.name; });

struct IntersectRow {
    std::string name;
    PixelRect a;
    PixelRect b;
    PixelRect expected;
};

class Intersected : public ::testing::TestWithParam<IntersectRow> {};

TEST_P(Intersected, IsTheOverlap) {
    const IntersectRow& row = GetParam();
    EXPECT_EQ(intersected(row.a, row.b), row.expected);
    EXPECT_EQ(intersected(row.b, row.a), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rects, Intersected,
    ::testing::Values(
        IntersectRow{"inside", {0, 0, 100, 100}, {10, 20, 30, 40}, {10, 20, 30, 40}},
        IntersectRow{"corner", {0, 0, 100, 100}, {90, 95, 30, 40}, {90, 95, 10, 5}},
        IntersectRow{"negative_origin", {-50, -10, 100, 100}, {0, 0, 640, 480}, {0, 0, 50, 90}},
        IntersectRow{"touching_edges", {0, 0, 100, 100}, {100, 0, 50, 50}, {}},
        IntersectRow{"apart", {0, 0, 10, 10}, {20, 20, 10, 10}, {}},
        IntersectRow{"empty_operand", {0, 0, 0, 10}, {0, 0, 10, 10}, {}},
        IntersectRow{"huge_no_overflow",
                     {2147483000, 0, 2000, 10},
                     {2147483200, 0, 100, 10},
                     {2147483200, 0, 100, 10}}),
    [](const auto& row) { return row.param.name; });

} // namespace
} // namespace lumora
