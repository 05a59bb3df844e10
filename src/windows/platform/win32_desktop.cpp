#include "windows/platform/win32_desktop.h"

#include "windows/platform/com_ptr.h"
#include "windows/platform/registry_text.h"
#include "windows/platform/wide_text.h"

// IActiveDesktop is declared only with WinINet's types.
#include <windows.h>
#include <wininet.h>

#include <shlobj.h>
#include <wincodec.h>

#include <string>
#include <utility>

namespace lumora {

namespace {

bool isBmp(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char magic[2] = {};
    DWORD got = 0;
    const bool read = ReadFile(file, magic, sizeof magic, &got, nullptr) && got == 2;
    CloseHandle(file);
    return read && magic[0] == 'B' && magic[1] == 'M';
}

// The picture at `source` as a 24-bit BMP at `target` (written beside it, then moved over it).
bool convertToBmp(const std::wstring& source, const std::wstring& target) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> output;
    const std::wstring partial = target + L".part";
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(factory.out()))) &&
              SUCCEEDED(factory->CreateDecoderFromFilename(source.c_str(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand,
                                                           decoder.out())) &&
              SUCCEEDED(decoder->GetFrame(0, frame.out())) &&
              SUCCEEDED(factory->CreateFormatConverter(converter.out())) &&
              SUCCEEDED(converter->Initialize(frame.p, GUID_WICPixelFormat24bppBGR,
                                              WICBitmapDitherTypeNone, nullptr, 0.0,
                                              WICBitmapPaletteTypeCustom)) &&
              SUCCEEDED(factory->CreateStream(stream.out())) &&
              SUCCEEDED(stream->InitializeFromFilename(partial.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatBmp, nullptr, encoder.out())) &&
              SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(output.out(), nullptr)) &&
              SUCCEEDED(output->Initialize(nullptr)) &&
              SUCCEEDED(output->WriteSource(converter.p, nullptr)) && SUCCEEDED(output->Commit()) &&
              SUCCEEDED(encoder->Commit());
    output.reset();
    encoder.reset();
    stream.reset(); // the file is closed before it is moved
    ok = ok && MoveFileExW(partial.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(partial.c_str());
    }
    return ok;
}

// The desktop settings for a style: WallpaperStyle and TileWallpaper.
std::pair<const char*, const char*> desktopStyle(int style) {
    switch (style) {
    case WPSTYLE_TILE:
        return {"0", "1"};
    case WPSTYLE_STRETCH:
        return {"2", "0"};
    case WPSTYLE_MAX:
        return {"6", "0"}; // fit, keeping the aspect ratio
    default:
        return {"0", "0"}; // centred
    }
}

} // namespace

Win32Desktop::Win32Desktop(std::string pictureFolder) : m_folder(std::move(pictureFolder)) {
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_comStarted = started == S_OK || started == S_FALSE;
}

Win32Desktop::~Win32Desktop() {
    if (m_comStarted) {
        CoUninitialize();
    }
}

bool Win32Desktop::throughActiveDesktop(const std::wstring& path, int style) {
    ComPtr<IActiveDesktop> desktop;
    if (FAILED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IActiveDesktop, reinterpret_cast<void**>(desktop.out())))) {
        return false;
    }
    WALLPAPEROPT options{};
    options.dwSize = sizeof options;
    options.dwStyle = static_cast<DWORD>(style);
    return SUCCEEDED(desktop->SetWallpaperOptions(&options, 0)) &&
           SUCCEEDED(desktop->SetWallpaper(path.c_str(), 0)) &&
           SUCCEEDED(desktop->ApplyChanges(AD_APPLY_ALL));
}

DesktopResult Win32Desktop::throughSystemParameters(const std::string& path, int style) {
    std::wstring shown = wideFromUtf8(path);
    if (!shown.empty() && !isBmp(shown)) {
        const std::wstring converted = wideFromUtf8(convertedPath());
        if (!convertToBmp(shown, converted)) {
            return DesktopResult::failure("the picture " + path + " cannot be converted to BMP");
        }
        shown = converted;
    }
    const auto [wallpaperStyle, tile] = desktopStyle(style);
    writeRegistryText(0x80000001u, "Control Panel\\Desktop", "WallpaperStyle", wallpaperStyle,
                      true);
    writeRegistryText(0x80000001u, "Control Panel\\Desktop", "TileWallpaper", tile, true);
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, shown.data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
        return DesktopResult::failure("the desktop refused the wallpaper (error " +
                                      std::to_string(GetLastError()) + ")");
    }
    return DesktopResult::success();
}

DesktopResult Win32Desktop::setWallpaper(const std::string& path, int style) {
    if (throughActiveDesktop(wideFromUtf8(path), style)) {
        return DesktopResult::success();
    }
    return throughSystemParameters(path, style);
}

DesktopResult Win32Desktop::setBackgroundColor(std::uint32_t rgb) {
    const INT element = COLOR_BACKGROUND;
    const COLORREF colour = rgb & 0x00FFFFFFu;
    if (!SetSysColors(1, &element, &colour)) {
        return DesktopResult::failure("the desktop refused the colour (error " +
                                      std::to_string(GetLastError()) + ")");
    }
    return DesktopResult::success();
}

} // namespace lumora
