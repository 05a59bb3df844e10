#pragma once
// One change of the root's wallpaper: the scene, drawn on a pixmap of its own (decoded, or read
// back from the prepared pictures), then made the root's background.
#include "core/ports/desktop_backend.h"
#include "linux/desktop/prepared_pictures.h"
#include "linux/desktop/x11_connection.h"
#include "linux/desktop/x11_upload.h"

#include <QImage>

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumora::x11 {

// What one draw keeps for the prepared pictures: the key, and every piece's pixels until the
// root shows them (the segments stay attached to the connection that drew them).
struct Keeping {
    const PreparedPictures* store = nullptr;
    std::string file;
    FileIdentity identity;
    std::string key;
    bool complete = true;
    std::vector<PreparedPiece> pieces;
    std::vector<std::unique_ptr<SharedSegment>> segments;
    std::vector<QImage> images;

    void keep(const WallpaperPiece& piece, std::size_t stride, std::unique_ptr<SharedSegment> seg,
              QImage image) {
        if (!complete || static_cast<std::size_t>(image.bytesPerLine()) != stride) {
            complete = false;
            return;
        }
        pieces.push_back({piece, stride});
        segments.push_back(std::move(seg));
        images.push_back(std::move(image));
    }

    // Writes the pieces when the file is still the one decoded; then lets go of them.
    void write() {
        if (store != nullptr && complete && !pieces.empty() && fileIdentity(file) == identity) {
            std::vector<const std::uint8_t*> pixels;
            for (const QImage& image : images) {
                pixels.push_back(image.constBits());
            }
            store->store(key, pieces, pixels);
        }
        images.clear();
        segments.clear();
        pieces.clear();
    }
};

// Everything one change draws, copied for the thread that draws it.
struct Scene {
    std::string display;
    std::string path;
    int style = WPSTYLE_CENTER;
    std::uint32_t color = 0;
    const PreparedPictures* prepared = nullptr; // where pictures are kept prepared, if anywhere
    bool onRoot = true; // false: the picture is only prepared, the root is left as it is
};

// A scene drawn on a pixmap of its own, not yet the root's: the connection that made it (it owns
// the pixmap), what it kept for the prepared pictures, and the answers still to be collected.
struct DrawnScene {
    Scene scene;
    std::optional<FileIdentity> identity; // of the picture file when the drawing started
    std::unique_ptr<Connection> conn;
    Keeping keeping; // after the connection: its segments go first
    xcb_pixmap_t pixmap = XCB_NONE;
    xcb_intern_atom_cookie_t rootAtomCookie{};
    xcb_intern_atom_cookie_t esetAtomCookie{};
    std::string problem; // the picture's; or the connection's, when there is no pixmap
};

// Draws `scene` on a new pixmap the size of the root.
std::unique_ptr<DrawnScene> drawPixmap(const Scene& scene);
// Makes a drawn pixmap the root's background (or, for a scene only prepared, keeps its pixels).
std::string showOnRoot(DrawnScene& drawn);

} // namespace lumora::x11
