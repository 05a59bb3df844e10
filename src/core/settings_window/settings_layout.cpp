#include "core/settings_window/settings_layout.h"

#include <array>
#include <stdexcept>

namespace lumora {

namespace {

// The day panels: four across the top row, three below it.
constexpr int panelLeft(int day) {
    return 6 + 166 * (day <= 4 ? day - 1 : day - 5);
}
constexpr int panelTop(int day) {
    return day <= 4 ? 0 : 144;
}

constexpr std::size_t kDayControls = 4 * 7;

// The information column and the mode and Apply/Cancel boxes.
constexpr LayoutControl kColumn[] = {
    {ControlArray::Label1, 13, {504, 158, 161, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 9, {508, 178, 151, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 15, {502, 196, 162, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 10, {502, 211, 162, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 11, {502, 226, 162, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 14, {508, 243, 151, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 8, {506, 264, 114, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 12, {506, 278, 114, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 16, {622, 264, 43, 13}, CaptionAlign::Centre},
    {ControlArray::Label1, 17, {622, 278, 43, 13}, CaptionAlign::Centre},
};

constexpr Colorref kShapeFill = Colorref::rgb(0, 64, 64);
constexpr Colorref kOutline = Colorref::rgb(0, 0, 0);

constexpr LayoutShape kFilled[] = {
    {ShapeArray::Shape1, 0, {504, 174, 160, 86}, kShapeFill, true},
    {ShapeArray::Shape1, 1, {504, 262, 116, 32}, kShapeFill, true},
    {ShapeArray::Shape1, 2, {622, 262, 42, 32}, kShapeFill, true},
};

constexpr auto kControls = [] {
    std::array<LayoutControl, kDayControls + std::size(kColumn)> all{};
    std::size_t n = 0;
    for (int day = 1; day <= 7; ++day) {
        const int x = panelLeft(day);
        const int y = panelTop(day);
        all[n++] = {ControlArray::Label1, day, {x + 6, y + 14, 117, 13}, CaptionAlign::Left};
        all[n++] = {ControlArray::Image1,
                    day,
                    {x, y + 30, kThumbnailWidth, kThumbnailHeight},
                    CaptionAlign::Left};
        all[n++] = {ControlArray::Label3, day, {x + 125, y + 14, 17, 19}, CaptionAlign::Centre};
        all[n++] = {ControlArray::Label2, day, {x + 145, y + 13, 17, 19}, CaptionAlign::Centre};
    }
    for (const LayoutControl& control : kColumn) {
        all[n++] = control;
    }
    return all;
}();

constexpr auto kShapes = [] {
    std::array<LayoutShape, std::size(kFilled) + 2 * 7> all{};
    std::size_t n = 0;
    for (const LayoutShape& shape : kFilled) {
        all[n++] = shape;
    }
    for (int day = 1; day <= 7; ++day) {
        const int x = panelLeft(day);
        const int y = panelTop(day);
        all[n++] = {ShapeArray::Shape3, day, {x + 124, y + 12, 17, 17}, kOutline, false};
        all[n++] = {ShapeArray::Shape2, day, {x + 143, y + 12, 17, 17}, kOutline, false};
    }
    return all;
}();

} // namespace

std::span<const LayoutControl> settingsControls() {
    return kControls;
}

std::span<const LayoutShape> settingsShapes() {
    return kShapes;
}

const LayoutControl& settingsControl(ControlArray array, int index) {
    for (const LayoutControl& control : kControls) {
        if (control.array == array && control.index == index) {
            return control;
        }
    }
    throw std::out_of_range(controlName(array, index));
}

std::string controlName(ControlArray array, int index) {
    static constexpr const char* kNames[] = {"Label1", "Label2", "Label3", "Image1"};
    return std::string(kNames[static_cast<std::size_t>(array)]) + "(" + std::to_string(index) + ")";
}

std::string shapeName(ShapeArray array, int index) {
    static constexpr const char* kNames[] = {"Shape1", "Shape2", "Shape3"};
    return std::string(kNames[static_cast<std::size_t>(array)]) + "(" + std::to_string(index) + ")";
}

} // namespace lumora
