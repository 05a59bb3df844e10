#pragma once
// The preview's arithmetic: fitting, zooming and centring the canvas in the viewport, the scroll
// bars' ranges, and where the window's parts go when it is resized. Positions and sizes are
// single-precision pixels, never rounded here: the window rounds them only to draw.
#include <cstdint>
#include <optional>

namespace lumora::viewer {

struct SizeF {
    float width = 0;
    float height = 0;
    friend bool operator==(const SizeF&, const SizeF&) = default;
};

struct RectF {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    friend bool operator==(const RectF&, const RectF&) = default;
};

// Each zoom step multiplies or divides the canvas's current size by this.
inline constexpr float kZoomStep = 1.25f;
// The viewport and the source canvas have a frame of this width on each side.
inline constexpr float kBorder = 2;
// Scroll bars hold signed 16-bit values.
inline constexpr int kScrollLimit = -32768;
// The largest canvas drawn, in either direction: its scroll range fits in 16 bits in a viewport of
// any size, so shrinking the window never puts a part of the picture out of reach.
inline constexpr float kCanvasLimit = 32767;
inline constexpr int kArrowStep = 10;
inline constexpr int kPageStep = 50;

// The canvas placed centred in a viewport of inner size `inner`, keeping its size.
RectF centred(SizeF canvas, SizeF inner);

// The fit rule: a picture larger than the viewport's inner area shrinks, keeping its aspect ratio,
// until it fits; one that fits keeps its size. The result is centred.
RectF fit(SizeF picture, SizeF inner);

SizeF zoomedIn(SizeF canvas);
SizeF zoomedOut(SizeF canvas);

// One scroll bar as the canvas needs it. `value` is the canvas's left (top) inside the viewport,
// running from 0 down to `maximum`, the inner size less the canvas's, rounded (halves to even).
// A canvas that fits the inner area (to within half a pixel) needs no bar and is centred in it.
struct ScrollAxis {
    bool needed = false;       // false: value 0, bar disabled, the canvas centred at `position`
    int maximum = 0;           // when needed
    int value = 0;             // when needed: the middle of the range
    float position = 0;        // when not needed: the canvas's left (top)
    bool representable = true; // false: the maximum is below kScrollLimit
    friend bool operator==(const ScrollAxis&, const ScrollAxis&) = default;
};
// `inner` is the viewport's inner size in that direction.
ScrollAxis scrollAxis(float canvas, float inner);

// Whether a canvas of this size is drawn: at most kCanvasLimit pixels each way.
bool withinCanvasLimit(SizeF canvas);

// The parts of the window the layout moves.
struct Layout {
    RectF viewport; // outer geometry, in the window
    RectF hScroll;
    RectF vScroll;
    RectF canvas; // inside the viewport's inner area
    RectF panel;
    friend bool operator==(const Layout&, const Layout&) = default;
};

// The geometry the window is designed with, before its first layout pass.
Layout initialLayout();

// The layout pass for a client area of clientWidth x clientHeight. A part whose computed width or
// height would be negative keeps its previous geometry, and the parts after it use that.
// The scroll bars are not updated here.
Layout layoutPass(const Layout& current, float clientWidth, float clientHeight);

// The viewport's inner size for its outer geometry.
SizeF innerSize(const RectF& viewport);

} // namespace lumora::viewer
