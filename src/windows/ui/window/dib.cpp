#include "windows/ui/window/dib.h"

#include <algorithm>

namespace lumora {

Dib makeDib(int width, int height) {
    Dib dib;
    if (width <= 0 || height <= 0) {
        return dib;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (dib.bitmap) {
        dib.pixels = static_cast<std::uint32_t*>(bits);
        dib.width = width;
        dib.height = height;
    }
    return dib;
}

Dib dibOf(const DecodedPicture& picture) {
    Dib dib = makeDib(picture.width, picture.height);
    if (dib) {
        std::copy(picture.pixels.begin(), picture.pixels.end(), dib.pixels);
        GdiFlush();
    }
    return dib;
}

} // namespace lumora
