#pragma once
// The settings window's fixed layout at 96 dpi, in pixels: where each label and thumbnail sits,
// how its caption is aligned, and the shapes drawn behind them. What changes (captions, colours,
// tips, the bold day) comes from the SettingsView; the windows place and draw what is here.
#include "core/settings/colorref.h"

#include <span>
#include <string>

namespace lumora {

struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    constexpr bool operator==(const LayoutRect&) const = default;
};

// The control arrays, with their 1-based indices (Sunday = 1).
enum class ControlArray { Label1, Label2, Label3, Image1 };
enum class CaptionAlign { Left, Centre };

struct LayoutControl {
    ControlArray array;
    int index;
    LayoutRect rect;
    CaptionAlign align;
};

// Shape1(0..2) are the filled backgrounds of the column, Shape3(i) and Shape2(i) the outline
// squares behind day i's style letter and remove mark.
enum class ShapeArray { Shape1, Shape2, Shape3 };

struct LayoutShape {
    ShapeArray array;
    int index;
    LayoutRect rect; // an outline is one pixel wide, inside the rectangle
    Colorref colour;
    bool filled;
};

inline constexpr int kSettingsClientWidth = 669;
inline constexpr int kSettingsClientHeight = 301;
inline constexpr int kThumbnailWidth = 160;
inline constexpr int kThumbnailHeight = 120;
inline constexpr Colorref kSettingsBackground = Colorref::rgb(64, 64, 64);

// In the order the windows make them: each day's name, thumbnail, letter and mark, then the
// information column.
std::span<const LayoutControl> settingsControls();

// In the order they are drawn, over the background.
std::span<const LayoutShape> settingsShapes();

// The control of an array at its index; throws std::out_of_range for one the window lacks.
const LayoutControl& settingsControl(ControlArray array, int index);

// "Label1(9)", "Image1(2)", "Shape1(0)".
std::string controlName(ControlArray array, int index);
std::string shapeName(ShapeArray array, int index);

} // namespace lumora
