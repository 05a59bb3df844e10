// The preview's arithmetic, row by row: fit, zoom, the scroll bars' ranges, the layout pass.
#include "core/viewer/viewer_geometry.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora::viewer {
namespace {

constexpr auto byName = [](const auto& row) { return std::string(row.param.name); };

struct FitRow {
    const char* name;
    SizeF picture, inner;
    RectF canvas;
};
class Fit : public ::testing::TestWithParam<FitRow> {};
TEST_P(Fit, PlacesCanvas) {
    EXPECT_EQ(fit(GetParam().picture, GetParam().inner), GetParam().canvas);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, Fit,
    ::testing::Values(
        FitRow{"smaller_never_enlarged", {400, 300}, {495, 369}, {47.5f, 34.5f, 400, 300}},
        FitRow{"wider_then_taller", {1024, 768}, {495, 369}, {1.5f, 0, 492, 369}},
        FitRow{"initial_viewport", {1024, 768}, {221, 197}, {0, 15.625f, 221, 165.75f}},
        FitRow{"exactly_as_wide", {495, 100}, {495, 369}, {0, 134.5f, 495, 100}},
        FitRow{"only_taller", {100, 738}, {495, 369}, {222.5f, 0, 50, 369}}),
    byName);

// Zoom compounds on the canvas's current size and comes back exactly.
TEST(Zoom, ThreeStepsInAndBack) {
    const SizeF steps[] = {{400, 300}, {500, 375}, {625, 468.75f}, {781.25f, 585.9375f}};
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(zoomedIn(steps[i - 1]), steps[i]) << i;
        EXPECT_EQ(zoomedOut(steps[i]), steps[i - 1]) << i;
    }
}

struct ScrollRow {
    const char* name;
    float canvas, inner;
    ScrollAxis axis;
};
class Scroll : public ::testing::TestWithParam<ScrollRow> {};
TEST_P(Scroll, Range) {
    EXPECT_EQ(scrollAxis(GetParam().canvas, GetParam().inner), GetParam().axis);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, Scroll,
    ::testing::Values(ScrollRow{"narrower_centred", 400, 495, {false, 0, 0, 47.5f, true}},
                      ScrollRow{"as_wide_as_inner", 495, 495, {false, 0, 0, 0, true}},
                      ScrollRow{"one_wider", 496, 495, {true, -1, 0, 0, true}},
                      ScrollRow{"as_wide_as_outer", 499, 495, {true, -4, -2, 0, true}},
                      ScrollRow{"half_to_even_down", 1000, 495, {true, -505, -252, 0, true}},
                      ScrollRow{"half_to_even_up", 1001, 495, {true, -506, -253, 0, true}},
                      ScrollRow{"fraction_rounds", 1000.5f, 495, {true, -506, -253, 0, true}},
                      ScrollRow{"largest_range", 33263, 495, {true, -32768, -16384, 0, true}},
                      ScrollRow{"beyond_range", 33264, 495, {true, -32768, -16384, 0, false}}),
    byName);

TEST(Scroll, BoundOnBothDirections) {
    EXPECT_TRUE(withinCanvasLimit({32767, 32767}));
    EXPECT_FALSE(withinCanvasLimit({32767.5f, 100}));
    EXPECT_FALSE(withinCanvasLimit({100, 32768}));
}

struct LayoutRow {
    const char* name;
    float width, height;
    RectF viewport, hScroll, vScroll;
    float panelLeft, panelTop;
};
class LayoutPass : public ::testing::TestWithParam<LayoutRow> {};
TEST_P(LayoutPass, PlacesParts) {
    const LayoutRow& r = GetParam();
    Layout start = initialLayout();
    start.canvas = {0, 0, 400, 300};
    const Layout l = layoutPass(start, r.width, r.height);
    EXPECT_EQ(l.viewport, r.viewport);
    EXPECT_EQ(l.hScroll, r.hScroll);
    EXPECT_EQ(l.vScroll, r.vScroll);
    EXPECT_EQ(l.panel, (RectF{r.panelLeft, r.panelTop, 356, 38}));
    const SizeF inner = innerSize(l.viewport);
    EXPECT_EQ(l.canvas, (RectF{(inner.width - 400) / 2, (inner.height - 300) / 2, 400, 300}));
}
// Too narrow: the viewport keeps its design geometry, the rest follows it.
const LayoutRow kLayoutRows[] = {
    {"design_size", 520, 430, {4, 2, 499, 373}, {4, 375, 499, 17}, {503, 0, 17, 373}, 84, 394},
    {"odd_width", 521, 100, {4, 2, 500, 43}, {4, 45, 500, 17}, {504, 0, 17, 43}, 84.5f, 64},
    {"too_narrow", 20, 430, {264, 96, 225, 201}, {264, 203, 225, 17}, {229, 0, 17, 201}, -166, 222},
};
INSTANTIATE_TEST_SUITE_P(Rows, LayoutPass, ::testing::ValuesIn(kLayoutRows), byName);

} // namespace
} // namespace lumora::viewer
