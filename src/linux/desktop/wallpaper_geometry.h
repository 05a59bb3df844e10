#pragma once
// Where a wallpaper picture goes on the root window, for each style and monitor layout.
// Plain arithmetic, no Qt and no X: the root-window backend asks it what to decode and where to
// put it.
#include "core/ports/pictures.h" // PixelSize

#include <vector>

namespace lumora {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
};

// The overlap of two rectangles; an empty rectangle (all zero) when they do not overlap.
PixelRect intersected(const PixelRect& a, const PixelRect& b);

// One piece of wallpaper to draw.
// - `scaledSize`: the size the picture is decoded at (the file's own size for centre and tile).
// - `sourceClip`: the part of the scaled picture that is visible, in the scaled picture's own
//   coordinates; only this part needs decoding.
// - `target`: for centre, stretch and fit, where `sourceClip` lands on the root (same size as
//   `sourceClip`). For tile, the root area covered with copies of `sourceClip`, whose top-left
//   corner sits at the root's origin.
struct WallpaperPiece {
    PixelSize scaledSize;
    PixelRect sourceClip;
    PixelRect target;
    bool tiled = false;
    bool operator==(const WallpaperPiece&) const = default;
};

// The monitors that get a picture: each one clipped to the root; empty ones dropped; the whole
// root when none is left.
std::vector<PixelRect> usableMonitors(const PixelRect& root,
                                      const std::vector<PixelRect>& monitors);

// Where a picture of size `picture` goes in one monitor for style 0 (centre), 2 (stretch) or
// 3 (fit, keeping the aspect ratio, centred). Any other style value is placed as centre; tile is
// handled by placeTile. Returns an empty target when nothing of the picture is visible.
WallpaperPiece placeInMonitor(const PixelSize& picture, const PixelRect& monitor, int style);

// Tile: copies of the picture at its own size from the root's origin across the whole root.
WallpaperPiece placeTile(const PixelSize& picture, const PixelRect& root);

// Every piece to draw for a style on a root with the given monitors (tile: one piece for the
// whole root; other styles: one piece per usable monitor). Pieces with nothing visible are left
// out; a picture without pixels gives none.
std::vector<WallpaperPiece> placeWallpaper(const PixelSize& picture, const PixelRect& root,
                                           const std::vector<PixelRect>& monitors, int style);

} // namespace lumora
