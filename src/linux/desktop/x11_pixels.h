#pragma once
// How the server wants the pixels of the root's depth, and colours as the server's pixel values.
#include <QImage>

#include <xcb/xcb.h>

#include <cstdint>

namespace lumora::x11 {

// How the server wants the pixels of the root's depth.
struct PixelLayout {
    std::uint8_t depth = 0;
    std::uint8_t bitsPerPixel = 0;
    std::uint8_t scanlinePad = 32;
    bool lsbFirst = true;
    bool trueColor = false;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    // A ready-made QImage format whose bytes are exactly the server's, when there is one.
    QImage::Format direct = QImage::Format_Invalid;
};

// One 8-bit channel value placed in a visual's mask.
std::uint32_t channelBits(std::uint32_t value8, std::uint32_t mask);
PixelLayout layoutOf(xcb_connection_t* c, const xcb_screen_t* screen);
std::uint32_t truePixel(const PixelLayout& layout, std::uint32_t r, std::uint32_t g,
                        std::uint32_t b);
// The server's pixel value for a 0x00BBGGRR colour.
std::uint32_t pixelOf(xcb_connection_t* c, const xcb_screen_t* screen, const PixelLayout& layout,
                      std::uint32_t rgb);

} // namespace lumora::x11
