#include "windows/platform/win32_desktop.h"

#include "core/engine/picture_files.h"
#include "windows/platform/com_ptr.h"
#include "windows/platform/registry_text.h"
#include "windows/platform/wic_decode.h"
#include "windows/platform/wic_pictures.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_file_access.h"
#include "windows/platform/win32_file_sync.h"

// IActiveDesktop is declared only with WinINet's types.
#include <windows.h>
#include <wininet.h>

#include <shlobj.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace lumora {

namespace {

// Whether the file is a BMP, which the desktop shows as it is.
bool isBmp(const std::string& path) {
    HANDLE file = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char magic[2] = {};
    DWORD got = 0;
    const bool read = ReadFile(file, magic, sizeof magic, &got, nullptr) && got == 2;
    CloseHandle(file);
    return read && magic[0] == 'B' && magic[1] == 'M';
}

// The most pixels of a converted wallpaper: a screen of 7680 x 4320. A larger picture is scaled
// down to that many, keeping its shape.
constexpr double kMostWallpaperPixels = 7680.0 * 4320.0;

// The picture at `source` as a 24-bit BMP at `target`, written beside it and moved over it.
bool convertToBmp(const std::string& source, const std::string& target) {
    const auto own = WicPictures().pixelSize(source);
    if (!own) {
        return false;
    }
    std::optional<PixelSize> size;
    const double pixels = double(own->width) * double(own->height);
    if (pixels > kMostWallpaperPixels) {
        const double scale = std::sqrt(kMostWallpaperPixels / pixels);
        size =
            PixelSize{std::max(1, int(own->width * scale)), std::max(1, int(own->height * scale))};
    }
    const auto picture = decodePicture(source, size);
    if (!picture) {
        return false;
    }
    const auto width = static_cast<std::size_t>(picture->width);
    const auto height = static_cast<std::size_t>(picture->height);
    const std::size_t row = (width * 3 + 3) / 4 * 4;
    const std::size_t bytes = 54 + row * height;
    std::vector<std::uint8_t> bmp(bytes, 0);
    auto put = [&](std::size_t at, std::uint32_t value, int length) {
        for (int i = 0; i < length; ++i) {
            bmp[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(bytes), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4); // bottom row first
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, static_cast<std::uint32_t>(row * height), 4);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint32_t* from = picture->pixels.data() + (height - 1 - y) * width;
        std::uint8_t* to = bmp.data() + 54 + y * row;
        for (std::size_t x = 0; x < width; ++x) {
            // Premultiplied: a transparent part is drawn on black.
            to[3 * x] = static_cast<std::uint8_t>(from[x]);
            to[3 * x + 1] = static_cast<std::uint8_t>(from[x] >> 8);
            to[3 * x + 2] = static_cast<std::uint8_t>(from[x] >> 16);
        }
    }
    Win32FileAccess files;
    Win32FileSync sync;
    return writeFileAtomically(target, bmp, files, &sync);
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
    if (!shown.empty() && !isBmp(path)) {
        if (!convertToBmp(path, convertedPath())) {
            return DesktopResult::failure("the picture " + path + " cannot be converted to BMP");
        }
        shown = wideFromUtf8(convertedPath());
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
    // Only a picture the decoder takes, within its limits, is handed to the desktop: the shell's
    // own BMP reader trusts whatever a header says.
    if (!path.empty() && !WicPictures().pixelSize(path)) {
        return DesktopResult::failure("the file " + path + " is no picture that can be shown");
    }
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
