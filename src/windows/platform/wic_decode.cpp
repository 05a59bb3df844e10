#include "windows/platform/wic_decode.h"

#include "core/engine/picture_header.h"
#include "core/text/utf8_path.h"
#include "windows/platform/com_ptr.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_file_access.h"

#include <windows.h>

#include <wincodec.h>

#include <limits>

namespace lumora {

bool pictureHeaderAcceptable(const std::string& path) {
    Win32FileAccess files;
    std::uintmax_t length = 0;
    std::FILE* file = files.openRegularFile(pathFromUtf8(path), length);
    if (file == nullptr) {
        return false;
    }
    const HeaderFacts facts = checkPictureHeader(file, length);
    std::fclose(file);
    return facts.check != HeaderCheck::Refused;
}

std::optional<DecodedPicture> decodePicture(const std::string& path,
                                            std::optional<PixelSize> size) {
    if (!pictureHeaderAcceptable(path)) {
        return std::nullopt;
    }
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
        width == 0 || height == 0 ||
        std::int64_t{width} * std::int64_t{height} > kMaxPicturePixels) {
        return std::nullopt;
    }
    // Only a JPEG decoder scales while it decodes; the others hold the whole picture first, so
    // beyond kMostDecodedPixels only a JPEG is taken.
    GUID container{};
    if (std::int64_t{width} * std::int64_t{height} > kMostDecodedPixels &&
        (FAILED(decoder->GetContainerFormat(&container)) ||
         !IsEqualGUID(container, GUID_ContainerFormatJpeg))) {
        return std::nullopt;
    }
    DecodedPicture picture;
    picture.source = {static_cast<int>(width), static_cast<int>(height)};
    const PixelSize target = size.value_or(picture.source);
    if (target.width <= 0 || target.height <= 0 ||
        std::int64_t{target.width} * std::int64_t{target.height} > kMostDecodedPixels) {
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
