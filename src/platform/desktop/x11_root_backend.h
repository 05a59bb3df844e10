#pragma once
// The X11 root-window desktop: the wallpaper is drawn in its style on a pixmap filled with the
// background colour, one picture per monitor, and that pixmap becomes the root window's
// background. `_XROOTPMAP_ID` and `ESETROOT_PMAP_ID` name it for other programs; it outlives the
// program (RetainPermanent on a short-lived connection of its own), and the pixmap it replaces is
// freed.
//
// Works without a QGuiApplication: X is spoken to through xcb, pictures are read with
// QImageReader and drawn with QImage.
#include "core/ports/desktop_backend.h"

#include <cstdint>
#include <string>

namespace lumora {

class X11RootBackend : public DesktopBackend {
public:
    // The display named by $DISPLAY.
    X11RootBackend();
    // A given display name (":1"); the empty name means $DISPLAY.
    explicit X11RootBackend(std::string display);

    std::string name() const override { return "x11"; }

    // Draws the picture at `path` in `style` on the current colour. An empty path, or a file that
    // cannot be read, leaves the plain colour. A style value other than 0 to 3 keeps the style
    // last used (centre at first). The file is read again at every call.
    void setWallpaper(const std::string& path, int style) override;

    // Redraws the current wallpaper on the new colour (0x00BBGGRR).
    void setBackgroundColor(std::uint32_t rgb) override;

    const std::string& currentPath() const { return m_path; }
    int currentStyle() const { return m_style; }
    std::uint32_t currentColor() const { return m_color; }

    // Draws the current state on the root window. False when the display could not be used.
    bool redraw();

private:
    std::string m_display;
    std::string m_path;
    int m_style = WPSTYLE_CENTER;
    std::uint32_t m_color = 0; // black until told otherwise
};

} // namespace lumora
