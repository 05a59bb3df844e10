#include "windows/platform/wic_decode.h"

#include "windows/platform/com_ptr.h"
#include "windows/platform/wide_text.h"

#include <windows.h>

#include <wincodec.h>

#include <limits>

namespace lumora {

namespace {

// A decoded picture larger than this many pixels is refused (a 16-bit-per-side bomb would
// otherwise ask for gigabytes).
constexpr std::uint64_t kMostPixels = 16384ull * 16384ull;

} // namespace

std::optional<DecodedPicture> decodePicture(const std::string& path,
                                            std::optional<PixelSize> size) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.out()))) ||
        FAILED(factory->CreateDecoderFromFilename(wideFromUtf8(path).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(frame->GetSize(&width, &height)) ||
        width == 0 || height == 0) {
        return std::nullopt;
    }
    DecodedPicture picture;
    picture.source = {static_cast<int>(width), static_cast<int>(height)};
    const PixelSize target = size.value_or(picture.source);
    if (target.width <= 0 || target.height <= 0 ||
        static_cast<std::uint64_t>(target.width) * static_cast<std::uint64_t>(target.height) >
            kMostPixels) {
        return std::nullopt;
    }

    IWICBitmapSource* source = frame.p;
    ComPtr<IWICBitmapScaler> scaler;
    if (target != picture.source) {
        if (FAILED(factory->CreateBitmapScaler(scaler.out())) ||
            FAILED(scaler->Initialize(frame.p, static_cast<UINT>(target.width),
                                      static_cast<UINT>(target.height),
                                      WICBitmapInterpolationModeFant))) {
            return std::nullopt;
        }
        source = scaler.p;
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
        return std::nullopt;
    }
    picture.width = target.width;
    picture.height = target.height;
    picture.pixels.resize(static_cast<std::size_t>(target.width) *
                          static_cast<std::size_t>(target.height));
    const UINT stride = static_cast<UINT>(target.width) * 4;
    const UINT bytes = static_cast<UINT>(picture.pixels.size() * 4);
    if (FAILED(converter->CopyPixels(nullptr, stride, bytes,
                                     reinterpret_cast<BYTE*>(picture.pixels.data())))) {
        return std::nullopt;
    }
    return picture;
}

} // namespace lumora
