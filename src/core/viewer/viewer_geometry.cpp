#include "core/viewer/viewer_geometry.h"

#include <cmath>

namespace lumora::viewer {

namespace {

// Rounds to the nearest integer, halves to even (the default floating-point rounding mode).
double roundEven(double value) {
    return std::nearbyint(value);
}

} // namespace

RectF centred(SizeF canvas, SizeF inner) {
    return {(inner.width - canvas.width) / 2, (inner.height - canvas.height) / 2, canvas.width,
            canvas.height};
}

RectF fit(SizeF picture, SizeF inner) {
    float w = picture.width;
    float h = picture.height;
    if (w > inner.width) {
        h = h * inner.width / w;
        w = inner.width;
    }
    if (h > inner.height) {
        w = w * inner.height / h;
        h = inner.height;
    }
    return centred({w, h}, inner);
}

SizeF zoomedIn(SizeF canvas) {
    return {canvas.width * kZoomStep, canvas.height * kZoomStep};
}

SizeF zoomedOut(SizeF canvas) {
    return {canvas.width / kZoomStep, canvas.height / kZoomStep};
}

ScrollAxis scrollAxis(float canvas, float inner) {
    ScrollAxis axis;
    const double maximum = roundEven(static_cast<double>(inner) - canvas);
    if (maximum >= 0) {
        axis.position = (inner - canvas) / 2;
        return axis;
    }
    axis.needed = true;
    if (maximum < kScrollLimit) {
        axis.representable = false;
        axis.maximum = kScrollLimit;
    } else {
        axis.maximum = static_cast<int>(maximum);
    }
    axis.value = static_cast<int>(roundEven(axis.maximum / 2.0));
    return axis;
}

bool withinCanvasLimit(SizeF canvas) {
    return canvas.width <= kCanvasLimit && canvas.height <= kCanvasLimit;
}

Layout initialLayout() {
    Layout l;
    l.viewport = {264, 96, 225, 201};
    l.hScroll = {368, 344, 81, 17};
    l.vScroll = {456, 304, 17, 81};
    l.canvas = {8, 8, 113, 113};
    l.panel = {52, 358, 356, 38};
    return l;
}

SizeF innerSize(const RectF& viewport) {
    return {viewport.width - 2 * kBorder, viewport.height - 2 * kBorder};
}

Layout layoutPass(const Layout& current, float clientWidth, float clientHeight) {
    Layout l = current;
    const float width = clientWidth - l.vScroll.width - 4;
    const float height = clientHeight - l.panel.height - l.hScroll.height - 2;
    if (width >= 0 && height >= 0) {
        l.viewport = {4, 2, width, height};
    }
    l.hScroll = {l.viewport.left, l.viewport.height + 2, l.viewport.width, l.hScroll.height};
    l.vScroll = {l.viewport.width + 4, 0, l.vScroll.width, l.viewport.height};
    const RectF canvas = centred({l.canvas.width, l.canvas.height}, innerSize(l.viewport));
    l.canvas.left = canvas.left;
    l.canvas.top = canvas.top;
    l.panel.left = (clientWidth - l.panel.width + 4) / 2;
    l.panel.top = l.viewport.height + l.hScroll.height + 4;
    return l;
}

} // namespace lumora::viewer
