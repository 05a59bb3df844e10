#include "linux/desktop/x11_pixels.h"

#include "linux/desktop/x11_connection.h"

#include <bit>
#include <cstdlib>

namespace lumora::x11 {

namespace {

int lowestBit(std::uint32_t mask) {
    return mask == 0 ? 0 : std::countr_zero(mask);
}

} // namespace

std::uint32_t channelBits(std::uint32_t value8, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = lowestBit(mask);
    const std::uint32_t max = mask >> shift;
    return (((value8 * max + 127u) / 255u) << shift) & mask;
}

PixelLayout layoutOf(xcb_connection_t* c, const xcb_screen_t* screen) {
    PixelLayout layout;
    layout.depth = screen->root_depth;
    const xcb_setup_t* setup = xcb_get_setup(c);
    layout.lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == layout.depth) {
            layout.bitsPerPixel = it.data->bits_per_pixel;
            layout.scanlinePad = it.data->scanline_pad;
        }
    }
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == screen->root_visual) {
                layout.trueColor = v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR ||
                                   v.data->_class == XCB_VISUAL_CLASS_DIRECT_COLOR;
                layout.redMask = v.data->red_mask;
                layout.greenMask = v.data->green_mask;
                layout.blueMask = v.data->blue_mask;
            }
        }
    }
    const bool hostLsb = std::endian::native == std::endian::little;
    if (layout.trueColor && layout.lsbFirst == hostLsb && layout.scanlinePad == 32) {
        if (layout.bitsPerPixel == 32 && layout.redMask == 0xff0000u &&
            layout.greenMask == 0xff00u && layout.blueMask == 0xffu) {
            layout.direct = QImage::Format_RGB32;
        } else if (layout.bitsPerPixel == 16 && layout.redMask == 0xf800u &&
                   layout.greenMask == 0x07e0u && layout.blueMask == 0x001fu) {
            layout.direct = QImage::Format_RGB16;
        }
    }
    return layout;
}

std::uint32_t truePixel(const PixelLayout& layout, std::uint32_t r, std::uint32_t g,
                        std::uint32_t b) {
    return channelBits(r, layout.redMask) | channelBits(g, layout.greenMask) |
           channelBits(b, layout.blueMask);
}

std::uint32_t pixelOf(xcb_connection_t* c, const xcb_screen_t* screen, const PixelLayout& layout,
                      std::uint32_t rgb) {
    const std::uint32_t r = rgb & 0xffu;
    const std::uint32_t g = (rgb >> 8) & 0xffu;
    const std::uint32_t b = (rgb >> 16) & 0xffu;
    if (layout.trueColor) {
        return truePixel(layout, r, g, b);
    }
    auto cookie =
        xcb_alloc_color(c, screen->default_colormap, static_cast<std::uint16_t>(r * 257),
                        static_cast<std::uint16_t>(g * 257), static_cast<std::uint16_t>(b * 257));
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_alloc_color_reply_t> reply(xcb_alloc_color_reply(c, cookie, &error));
    std::free(error); // a full colour map: black will do
    return reply ? reply->pixel : screen->black_pixel;
}

} // namespace lumora::x11
