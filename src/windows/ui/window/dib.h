#pragma once
// A 32-bpp top-down DIB section: the pixels a window stretches onto its client area.
//
// This header includes <windows.h>: include it after the core's headers.
#include "windows/platform/wic_decode.h"
#include "windows/ui/window/gdi_handles.h"

#include <windows.h>

#include <cstdint>

namespace lumora {

struct Dib {
    Bitmap bitmap;
    std::uint32_t* pixels = nullptr; // owned by the bitmap
    int width = 0;
    int height = 0;
    explicit operator bool() const { return static_cast<bool>(bitmap); }
};

// An empty (black) DIB section of width x height; an empty Dib when it cannot be made.
Dib makeDib(int width, int height);
// A decoded picture's pixels in a DIB section.
Dib dibOf(const DecodedPicture& picture);

} // namespace lumora
