#include "linux/desktop/wallpaper_geometry.h"

#include "core/ports/desktop_backend.h"

#include <algorithm>
#include <cstdint>

namespace lumora {

namespace {

// Rounds towards minus infinity, so a picture wider than its monitor is centred the same way
// whether the difference is odd or even, positive or negative.
int floorHalf(int value) {
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

int roundedRatio(std::int64_t numerator, std::int64_t denominator) {
    return static_cast<int>((2 * numerator + denominator) / (2 * denominator));
}

PixelSize fitSize(const PixelSize& picture, const PixelRect& monitor) {
    const std::int64_t pw = picture.width;
    const std::int64_t ph = picture.height;
    PixelSize out;
    // Compare pw/ph with mw/mh without division: the tighter side decides the scale.
    if (pw * monitor.height <= ph * monitor.width) {
        out.height = monitor.height;
        out.width = roundedRatio(pw * monitor.height, ph);
    } else {
        out.width = monitor.width;
        out.height = roundedRatio(ph * monitor.width, pw);
    }
    out.width = std::clamp(out.width, 1, monitor.width);
    out.height = std::clamp(out.height, 1, monitor.height);
    return out;
}

} // namespace

PixelRect intersected(const PixelRect& a, const PixelRect& b) {
    const std::int64_t left = std::max(a.x, b.x);
    const std::int64_t top = std::max(a.y, b.y);
    const std::int64_t right = std::min(std::int64_t{a.x} + a.width, std::int64_t{b.x} + b.width);
    const std::int64_t bottom =
        std::min(std::int64_t{a.y} + a.height, std::int64_t{b.y} + b.height);
    if (a.empty() || b.empty() || right <= left || bottom <= top) {
        return {};
    }
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

std::vector<PixelRect> usableMonitors(const PixelRect& root,
                                      const std::vector<PixelRect>& monitors) {
    std::vector<PixelRect> out;
    for (const PixelRect& m : monitors) {
        const PixelRect clipped = intersected(m, root);
        if (!clipped.empty()) {
            out.push_back(clipped);
        }
    }
    if (out.empty() && !root.empty()) {
        out.push_back(root);
    }
    return out;
}

WallpaperPiece placeInMonitor(const PixelSize& picture, const PixelRect& monitor, int style) {
    WallpaperPiece piece;
    if (picture.width <= 0 || picture.height <= 0 || monitor.empty()) {
        return piece;
    }
    PixelRect placed;
    switch (style) {
    case WPSTYLE_STRETCH:
        piece.scaledSize = {monitor.width, monitor.height};
        placed = monitor;
        break;
    case WPSTYLE_MAX: {
        piece.scaledSize = fitSize(picture, monitor);
        placed = {monitor.x + floorHalf(monitor.width - piece.scaledSize.width),
                  monitor.y + floorHalf(monitor.height - piece.scaledSize.height),
                  piece.scaledSize.width, piece.scaledSize.height};
        break;
    }
    default: // centre, and any value the desktop does not know
        piece.scaledSize = picture;
        placed = {monitor.x + floorHalf(monitor.width - picture.width),
                  monitor.y + floorHalf(monitor.height - picture.height), picture.width,
                  picture.height};
        break;
    }
    piece.target = intersected(placed, monitor);
    if (!piece.target.empty()) {
        piece.sourceClip = {piece.target.x - placed.x, piece.target.y - placed.y,
                            piece.target.width, piece.target.height};
    }
    return piece;
}

WallpaperPiece placeTile(const PixelSize& picture, const PixelRect& root) {
    WallpaperPiece piece;
    piece.tiled = true;
    if (picture.width <= 0 || picture.height <= 0 || root.empty()) {
        return piece;
    }
    piece.scaledSize = picture;
    piece.target = root;
    // A picture larger than the root shows only its top-left part: decode no more than that.
    piece.sourceClip = {0, 0, std::min(picture.width, root.x + root.width),
                        std::min(picture.height, root.y + root.height)};
    if (piece.sourceClip.empty()) {
        piece.sourceClip = {};
        piece.target = {};
    }
    return piece;
}

std::vector<WallpaperPiece> placeWallpaper(const PixelSize& picture, const PixelRect& root,
                                           const std::vector<PixelRect>& monitors, int style) {
    std::vector<WallpaperPiece> pieces;
    if (style == WPSTYLE_TILE) {
        WallpaperPiece piece = placeTile(picture, root);
        if (!piece.target.empty()) {
            pieces.push_back(piece);
        }
        return pieces;
    }
    for (const PixelRect& monitor : usableMonitors(root, monitors)) {
        WallpaperPiece piece = placeInMonitor(picture, monitor, style);
        if (!piece.target.empty()) {
            pieces.push_back(piece);
        }
    }
    return pieces;
}

} // namespace lumora
