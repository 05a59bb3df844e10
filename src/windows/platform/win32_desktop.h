#pragma once
// The Windows desktop: the wallpaper through the shell's Active Desktop object, as the program has
// always set it; where that object cannot be made or refuses a call (Wine answers every call
// with "not implemented"), through SPI_SETDESKWALLPAPER with the style in the user's desktop
// settings (WallpaperStyle, TileWallpaper). That call is handed a BMP: any other picture is first
// converted with WIC into the picture folder, as older shells show nothing else through it. The
// colour is the system colour of the desktop background.
#include "core/ports/desktop_backend.h"

#include <string>

namespace lumora {

class Win32Desktop : public DesktopBackend {
public:
    // `pictureFolder` takes the converted copy of a picture that is not a BMP. COM is started on
    // this (the user-interface) thread.
    explicit Win32Desktop(std::string pictureFolder);
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    std::string name() const override { return "windows"; }
    DesktopResult setWallpaper(const std::string& path, int style) override;
    DesktopResult setBackgroundColor(std::uint32_t rgb) override;

    // Where a picture that is not a BMP is converted to for SPI_SETDESKWALLPAPER.
    std::string convertedPath() const { return m_folder + "\\Wallpaper.bmp"; }

private:
    bool throughActiveDesktop(const std::wstring& path, int style);
    DesktopResult throughSystemParameters(const std::string& path, int style);

    std::string m_folder;
    bool m_comStarted = false;
};

} // namespace lumora
