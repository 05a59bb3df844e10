#include "windows/platform/wic_pictures.h"

#include "windows/platform/wic_decode.h"
#include "windows/platform/wide_text.h"

#include <windows.h>

#include <wincodec.h>

namespace lumora {

std::optional<PixelSize> WicPictures::pixelSize(const std::string& path) const {
    if (!pictureHeaderAcceptable(path)) {
        return std::nullopt;
    }
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    UINT width = 0;
    UINT height = 0;
    const bool read =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(wideFromUtf8(path).c_str(), nullptr,
                                                     GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height));
    for (IUnknown* p : {static_cast<IUnknown*>(frame), static_cast<IUnknown*>(decoder),
                        static_cast<IUnknown*>(factory)}) {
        if (p != nullptr) {
            p->Release();
        }
    }
    if (!read || width == 0 || height == 0 ||
        std::int64_t{width} * std::int64_t{height} > kMaxPicturePixels) {
        return std::nullopt;
    }
    return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

} // namespace lumora
