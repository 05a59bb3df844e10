// The Windows desktop under Wine, read back from the system: the wallpaper's file and style
// (Wine creates the Active Desktop object but implements none of its calls, so the system
// parameters path is the one taken here), a picture that is not a BMP converted first, names
// outside ASCII, no wallpaper, and the background colour.
#include "windows/platform/registry_text.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_desktop.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <wincodec.h>

#include <string>

namespace lumora {
namespace {

// A picture of one colour, encoded by WIC in `container` (BMP, PNG, JPEG).
bool writePicture(const std::wstring& path, REFGUID container, UINT width, UINT height,
                  COLORREF colour) {
    IWICImagingFactory* factory = nullptr;
    IWICBitmap* bitmap = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    std::string pixels;
    for (UINT i = 0; i < width * height; ++i) {
        pixels += static_cast<char>(GetBValue(colour));
        pixels += static_cast<char>(GetGValue(colour));
        pixels += static_cast<char>(GetRValue(colour));
    }
    const bool ok =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateBitmapFromMemory(
            width, height, GUID_WICPixelFormat24bppBGR, width * 3, static_cast<UINT>(pixels.size()),
            reinterpret_cast<BYTE*>(pixels.data()), &bitmap)) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
        SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->WriteSource(bitmap, nullptr)) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    for (IUnknown* p : std::initializer_list<IUnknown*>{frame, encoder, stream, bitmap, factory}) {
        if (p != nullptr) {
            p->Release();
        }
    }
    return ok;
}

// The colour of a picture's first pixel and its size, as WIC reads it.
struct Seen {
    UINT width = 0;
    UINT height = 0;
    COLORREF first = 0;
    bool operator==(const Seen&) const = default;
};
Seen readPicture(const std::wstring& path) {
    Seen seen;
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    BYTE bgr[3] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(frame->GetSize(&seen.width, &seen.height)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                        nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
        const WICRect first{0, 0, 1, 1};
        if (SUCCEEDED(converter->CopyPixels(&first, 3, 3, bgr))) {
            seen.first = RGB(bgr[2], bgr[1], bgr[0]);
        }
    }
    for (IUnknown* p : std::initializer_list<IUnknown*>{converter, frame, decoder, factory}) {
        if (p != nullptr) {
            p->Release();
        }
    }
    return seen;
}

std::string shownWallpaper() {
    wchar_t path[MAX_PATH] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return utf8FromWide(path);
}
std::string desktopSetting(const char* name) {
    return readRegistryText(0x80000001u, "Control Panel\\Desktop", name).value_or("(missing)");
}

class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder =
            std::wstring(temp) + L"LumoraDesktopTest " + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    std::string file(const std::wstring& name) const { return utf8FromWide(folder + L"\\" + name); }

    std::wstring folder;
    Win32Desktop desktop{""};
};

// Each style, for a BMP handed on as it is. (Fit, WallpaperStyle 6, is not among them: Wine's
// desktop knows only centre, tile and stretch and stores 0 over it when the wallpaper is set.)
struct StyleRow {
    const char* name;
    int style;
    const char* wallpaperStyle;
    const char* tile;
};
class Styles : public Desktop, public ::testing::WithParamInterface<StyleRow> {};
TEST_P(Styles, AreTheDesktopSettings) {
    const StyleRow& row = GetParam();
    const std::string bmp = file(L"Monday.bmp");
    ASSERT_TRUE(writePicture(wideFromUtf8(bmp), GUID_ContainerFormatBmp, 8, 6, RGB(10, 20, 30)));
    ASSERT_TRUE(desktop.setWallpaper(bmp, row.style));
    EXPECT_EQ(shownWallpaper(), bmp);
    EXPECT_EQ(desktopSetting("WallpaperStyle"), row.wallpaperStyle);
    EXPECT_EQ(desktopSetting("TileWallpaper"), row.tile);
}
INSTANTIATE_TEST_SUITE_P(Win32Desktop, Styles,
                         ::testing::Values(StyleRow{"Center", WPSTYLE_CENTER, "0", "0"},
                                           StyleRow{"Tile", WPSTYLE_TILE, "0", "1"},
                                           StyleRow{"Stretch", WPSTYLE_STRETCH, "2", "0"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Desktop, APictureThatIsNoBmpIsConvertedFirst) {
    Win32Desktop converting(utf8FromWide(folder));
    for (REFGUID container : {GUID_ContainerFormatPng, GUID_ContainerFormatJpeg}) {
        const std::string picture = file(L"Tuesday.picture");
        ASSERT_TRUE(writePicture(wideFromUtf8(picture), container, 40, 30, RGB(200, 200, 200)));
        ASSERT_TRUE(converting.setWallpaper(picture, WPSTYLE_STRETCH));
        EXPECT_EQ(shownWallpaper(), converting.convertedPath());
        const Seen seen = readPicture(wideFromUtf8(converting.convertedPath()));
        EXPECT_EQ(seen.width, 40u);
        EXPECT_EQ(seen.height, 30u);
        EXPECT_NEAR(GetRValue(seen.first), 200, 4); // JPEG may move a grey a little
    }
    // A file that is no picture: the desktop keeps what it had, and the call says it failed.
    const std::string junk = file(L"junk.jpg");
    HANDLE out = CreateFileW(wideFromUtf8(junk).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             0, nullptr);
    DWORD written = 0;
    WriteFile(out, "not a picture", 13, &written, nullptr);
    CloseHandle(out);
    EXPECT_FALSE(converting.setWallpaper(junk, WPSTYLE_CENTER));
    EXPECT_EQ(shownWallpaper(), converting.convertedPath());
}

TEST_F(Desktop, NamesOutsideAsciiAndNoWallpaper) {
    const std::string bmp = file(L"M\u00FCller \u6771\u4EAC.bmp");
    ASSERT_TRUE(writePicture(wideFromUtf8(bmp), GUID_ContainerFormatBmp, 4, 4, RGB(1, 2, 3)));
    ASSERT_TRUE(desktop.setWallpaper(bmp, WPSTYLE_CENTER));
    EXPECT_EQ(shownWallpaper(), bmp);
    ASSERT_TRUE(desktop.setWallpaper("", WPSTYLE_STRETCH));
    EXPECT_EQ(shownWallpaper(), "");
}

TEST_F(Desktop, TheColourIsTheDesktopBackground) {
    for (std::uint32_t colour : {0x00336699u, 0x00FFFFFFu, 0x00000000u}) {
        ASSERT_TRUE(desktop.setBackgroundColor(colour));
        EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), colour);
    }
}

} // namespace
} // namespace lumora
