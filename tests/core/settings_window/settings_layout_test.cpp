// What the settings window's layout table must satisfy: every control once, inside the window,
// the day panels in two even rows, and each letter and mark inside its outline.
#include "core/settings_window/settings_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <utility>

namespace lumora {
namespace {

bool inside(const LayoutRect& r, const LayoutRect& outer) {
    return r.left >= outer.left && r.top >= outer.top && r.right() <= outer.right() &&
           r.bottom() <= outer.bottom();
}

const LayoutRect kClient{0, 0, kSettingsClientWidth, kSettingsClientHeight};

TEST(SettingsLayout, EachArrayHasEachIndexOnceAndNoMore) {
    std::map<ControlArray, std::set<int>> seen;
    for (const LayoutControl& control : settingsControls()) {
        EXPECT_TRUE(seen[control.array].insert(control.index).second)
            << controlName(control.array, control.index);
    }
    const std::pair<ControlArray, int> counts[] = {
        {ControlArray::Label1, 17},
        {ControlArray::Label2, 7},
        {ControlArray::Label3, 7},
        {ControlArray::Image1, 7},
    };
    for (const auto& [array, count] : counts) {
        ASSERT_EQ(seen[array].size(), static_cast<std::size_t>(count)) << controlName(array, 0);
        EXPECT_EQ(*seen[array].begin(), 1);
        EXPECT_EQ(*seen[array].rbegin(), count);
    }
    std::map<ShapeArray, std::set<int>> shapes;
    for (const LayoutShape& shape : settingsShapes()) {
        EXPECT_TRUE(shapes[shape.array].insert(shape.index).second)
            << shapeName(shape.array, shape.index);
    }
    EXPECT_EQ(shapes[ShapeArray::Shape1], (std::set<int>{0, 1, 2}));
    EXPECT_EQ(shapes[ShapeArray::Shape2], (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(shapes[ShapeArray::Shape3], shapes[ShapeArray::Shape2]);
}

TEST(SettingsLayout, EverythingLiesInsideTheWindow) {
    for (const LayoutControl& control : settingsControls()) {
        EXPECT_GT(control.rect.width, 0);
        EXPECT_GT(control.rect.height, 0);
        EXPECT_TRUE(inside(control.rect, kClient)) << controlName(control.array, control.index);
    }
    for (const LayoutShape& shape : settingsShapes()) {
        EXPECT_TRUE(inside(shape.rect, kClient)) << shapeName(shape.array, shape.index);
    }
}

// Each day's controls keep their place in the panel: the panels step 166 across and 144 down,
// Thursday starting the second row under Sunday.
TEST(SettingsLayout, DayPanelsAreEvenlySpaced) {
    const ControlArray arrays[] = {ControlArray::Label1, ControlArray::Label2, ControlArray::Label3,
                                   ControlArray::Image1};
    for (const ControlArray array : arrays) {
        const LayoutRect sunday = settingsControl(array, 1).rect;
        for (int day = 2; day <= 7; ++day) {
            const int column = day <= 4 ? day - 1 : day - 5;
            const int row = day <= 4 ? 0 : 1;
            const LayoutRect r = settingsControl(array, day).rect;
            EXPECT_EQ(r, (LayoutRect{sunday.left + 166 * column, sunday.top + 144 * row,
                                     sunday.width, sunday.height}))
                << controlName(array, day);
        }
    }
    EXPECT_EQ(settingsControl(ControlArray::Image1, 1).rect.width, kThumbnailWidth);
    EXPECT_EQ(settingsControl(ControlArray::Image1, 1).rect.height, kThumbnailHeight);
}

// The letter Label3(i) sits on the outline Shape3(i), the mark Label2(i) on Shape2(i); names
// are left-aligned, every other label centred.
TEST(SettingsLayout, LettersAndMarksSitOnTheirOutlines) {
    for (const LayoutShape& shape : settingsShapes()) {
        if (shape.filled) {
            continue;
        }
        const ControlArray on =
            shape.array == ShapeArray::Shape3 ? ControlArray::Label3 : ControlArray::Label2;
        const LayoutRect label = settingsControl(on, shape.index).rect;
        EXPECT_TRUE(label.left > shape.rect.left && label.left < shape.rect.right() &&
                    label.top >= shape.rect.top && label.top < shape.rect.bottom())
            << shapeName(shape.array, shape.index);
    }
    for (const LayoutControl& control : settingsControls()) {
        const bool left = control.array == ControlArray::Image1 ||
                          (control.array == ControlArray::Label1 && control.index <= 7);
        EXPECT_EQ(control.align == CaptionAlign::Left, left)
            << controlName(control.array, control.index);
    }
}

TEST(SettingsLayout, NamesAndLookUps) {
    EXPECT_EQ(controlName(ControlArray::Label1, 9), "Label1(9)");
    EXPECT_EQ(controlName(ControlArray::Image1, 2), "Image1(2)");
    EXPECT_EQ(shapeName(ShapeArray::Shape1, 0), "Shape1(0)");
    EXPECT_EQ(settingsControl(ControlArray::Label1, 16).rect, (LayoutRect{622, 264, 43, 13}));
    EXPECT_THROW(settingsControl(ControlArray::Label2, 8), std::out_of_range);
    EXPECT_THROW(settingsControl(ControlArray::Label1, 0), std::out_of_range);
}

} // namespace
} // namespace lumora
