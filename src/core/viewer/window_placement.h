#pragma once
// Where a window goes to be centred on its screen: the same arithmetic for every edition.
namespace lumora::viewer {

struct PointI {
    int x = 0;
    int y = 0;
    friend bool operator==(const PointI&, const PointI&) = default;
};

struct RectI {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const RectI&, const RectI&) = default;
};

// The top left of a window whose outer frame is frameWidth x frameHeight, centred on `screen`:
// left = screen left + (screen width - frame width) / 2, and the same for the top. The halves
// are whole pixels, dropped towards zero; a frame larger than the screen overhangs both sides.
PointI centredOn(const RectI& screen, int frameWidth, int frameHeight);

} // namespace lumora::viewer
