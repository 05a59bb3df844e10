#pragma once
// The X11 root-window desktop: the wallpaper is drawn in its style on a pixmap filled with the
// background colour, one picture per monitor, and that pixmap becomes the root window's
// background. `_XROOTPMAP_ID` and `ESETROOT_PMAP_ID` name it for other programs; it outlives the
// program (RetainPermanent on a short-lived connection of its own), and the pixmap it replaces is
// freed.
//
// Works without a QGuiApplication: X is spoken to through xcb, pictures are read with libjpeg or
// QImageReader and drawn with QImage. A picture drawn once is kept prepared for this screen
// (prepared_pictures.h), so drawing it again reads its pixels back instead of decoding it.
#include "core/ports/desktop_backend.h"
#include "linux/desktop/failure_log.h"
#include "linux/desktop/prepared_pictures.h"

#include <cstdint>
#include <optional>
#include <string>
#include <thread>

namespace lumora {

class X11RootBackend : public DesktopBackend {
public:
    // The display named by $DISPLAY; pictures kept prepared in the user's cache folder.
    X11RootBackend();
    // A given display name (":1"; the empty name means $DISPLAY), with pictures kept prepared in
    // `preparedFolder` (empty: the user's cache folder) or, without one, never kept.
    explicit X11RootBackend(std::string display,
                            std::optional<std::string> preparedFolder = std::nullopt);

    ~X11RootBackend() override;
    X11RootBackend(const X11RootBackend&) = delete;
    X11RootBackend& operator=(const X11RootBackend&) = delete;

    std::string name() const override { return "x11"; }

    // Decodes the picture for this screen in `style` on the current colour on a thread of its
    // own, and keeps it prepared, so that setting it later only reads the pixels back. Nothing is
    // drawn on the root. Without a prepared-picture folder, does nothing.
    void prepareWallpaper(const std::string& path, int style) override;
    // Returns once the picture being prepared (if any) is kept.
    void waitForPrepared();

    // Starts drawing the picture at `path` in `style` on the colour `rgb` for $DISPLAY's root on a
    // thread of its own, at start-up, before the program's backend exists; nothing is shown. The
    // first change any backend of the default display and folder draws takes that drawing when it
    // asks for exactly that (and the file is unchanged since), and shows it then; any other first
    // change lets it go. Only the first call counts. Called on the thread that makes (or made)
    // the application object: Qt's main thread is fixed to it there.
    static void drawAhead(const std::string& path, int style, std::uint32_t rgb);
    // Returns once the drawing ahead, if one is waiting to be taken, is done (for tests).
    static void waitForAhead();

    // Draws the picture at `path` in `style` on the current colour. An empty path leaves the plain
    // colour; so does a picture that cannot be drawn (not an absolute path to a regular file, not
    // a picture, or more than kMaxPicturePixels declared), which is reported as a failure. A
    // style value other than 0 to 3 keeps the style last used (centre at first). The file is looked
    // at again at every call: a changed file is decoded afresh.
    DesktopResult setWallpaper(const std::string& path, int style) override;

    // Redraws the current wallpaper on the new colour (0x00BBGGRR).
    DesktopResult setBackgroundColor(std::uint32_t rgb) override;

    const std::string& currentPath() const { return m_path; }
    int currentStyle() const { return m_style; }
    std::uint32_t currentColor() const { return m_color; }

    // Draws the current state on the root window. The picture is decoded and drawn on a thread
    // of its own; on the application's thread, events keep running meanwhile. A change asked for
    // by one of those events is not drawn inside the running one: that one draws once more with
    // the newest state when it is done.
    DesktopResult redraw();

private:
    std::string m_display;
    std::string m_path;
    int m_style = WPSTYLE_CENTER;
    std::uint32_t m_color = 0; // black until told otherwise
    bool m_drawing = false;    // a redraw is under way
    bool m_again = false;      // the state changed while it was
    std::optional<PreparedPictures> m_prepared;
    std::thread m_preparing; // the picture being prepared ahead
    FailureLog m_log{"x11"};
};

} // namespace lumora
