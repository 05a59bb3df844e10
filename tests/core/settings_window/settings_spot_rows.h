#pragma once
// Twenty of the settings window's controls written out by hand (place, caption, colour, tip), as
// both windows show them right after their first opening on Wednesday 3 February 2027 (no
// pictures). The windows' tests check every control against the layout table and these rows
// against the window, so a wrong table is caught as well.
#include "core/settings/colorref.h"
#include "core/settings_window/settings_layout.h"

namespace lumora::test {

struct SpotRow {
    const char* name; // "Label1(9)"
    ControlArray array;
    int index;
    LayoutRect rect; // at 96 dpi
    const char* caption;
    Colorref colour; // unused for a thumbnail
    const char* toolTip;
    bool visible;
};

// clang-format off
inline constexpr SpotRow kSpotRows[] = {
    {"Label1(1)", ControlArray::Label1, 1, {12, 14, 117, 13}, "Sunday", Colorref::rgb(128, 128, 255), "Click to select a picture for Sunday", true},
    {"Label1(4)", ControlArray::Label1, 4, {510, 14, 117, 13}, "Wednesday", Colorref::rgb(192, 0, 0), "Click to select a picture for Wednesday", true},
    {"Label1(5)", ControlArray::Label1, 5, {12, 158, 117, 13}, "Thursday", Colorref::rgb(128, 128, 255), "Click to select a picture for Thursday", true},
    {"Label1(7)", ControlArray::Label1, 7, {344, 158, 117, 13}, "Saturday", Colorref::rgb(128, 128, 255), "Click to select a picture for Saturday", true},
    {"Image1(2)", ControlArray::Image1, 2, {172, 30, 160, 120}, "", {}, "No picture selected for Monday", true},
    {"Image1(5)", ControlArray::Image1, 5, {6, 174, 160, 120}, "", {}, "No picture selected for Thursday", true},
    {"Label3(1)", ControlArray::Label3, 1, {131, 14, 17, 19}, "S", Colorref::rgb(255, 0, 0), "Stretch Wallpaper", true},
    {"Label3(6)", ControlArray::Label3, 6, {297, 158, 17, 19}, "S", Colorref::rgb(255, 0, 0), "Stretch Wallpaper", true},
    {"Label2(3)", ControlArray::Label2, 3, {483, 13, 17, 19}, "x", Colorref::rgb(255, 0, 0), "", true},
    {"Label2(7)", ControlArray::Label2, 7, {483, 157, 17, 19}, "x", Colorref::rgb(255, 0, 0), "", true},
    {"Label1(13)", ControlArray::Label1, 13, {504, 158, 161, 13}, "Lumora Info Display", Colorref::rgb(128, 128, 255), "", true},
    {"Label1(9)", ControlArray::Label1, 9, {508, 178, 151, 13}, "Display Messages Enabled", Colorref::rgb(0, 255, 0), "Click here to modify messages status", true},
    {"Label1(15)", ControlArray::Label1, 15, {502, 196, 162, 13}, "Author", Colorref::rgb(0, 192, 192), "", true},
    {"Label1(10)", ControlArray::Label1, 10, {502, 211, 162, 13}, "The Lumora developers", Colorref::rgb(0, 192, 192), "", true},
    {"Label1(11)", ControlArray::Label1, 11, {502, 226, 162, 13}, "lumora@example.org", Colorref::rgb(0, 192, 192), "", true},
    {"Label1(14)", ControlArray::Label1, 14, {508, 243, 151, 13}, "Close Lumora", Colorref::rgb(255, 0, 0), "Click here to close this window", true},
    {"Label1(8)", ControlArray::Label1, 8, {506, 264, 114, 13}, "Selected Wallpaper", Colorref::rgb(192, 192, 0), "Desktop Mode: Use the selected pictures", true},
    {"Label1(12)", ControlArray::Label1, 12, {506, 278, 114, 13}, "Default Wallpaper", Colorref::rgb(192, 192, 0), "Action if no wallpaper available", true},
    {"Label1(16)", ControlArray::Label1, 16, {622, 264, 43, 13}, "Apply", Colorref::rgb(255, 0, 0), "Click here to apply changes", false},
    {"Label1(17)", ControlArray::Label1, 17, {622, 278, 43, 13}, "Cancel", Colorref::rgb(255, 0, 0), "Click here to restore previous settings", false},
};
// clang-format on

} // namespace lumora::test
