#include "linux/desktop/x11_drawing.h"

#include "linux/desktop/jpeg_picture.h"
#include "linux/desktop/wallpaper_geometry.h"
#include "linux/desktop/x11_decode.h"
#include "linux/desktop/x11_pixels.h"
#include "linux/platform/picture_file.h"

#include <xcb/randr.h>
#include <xcb/shm.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lumora::x11 {

namespace {

// Everything about the screen and the drawing that a prepared picture's pixels depend on.
std::string screenText(const PixelLayout& layout, const PixelRect& root,
                       const std::vector<PixelRect>& monitors, int style, QRgb background) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "root %dx%d depth %u bpp %u pad %u format %d style %d background %06x monitors",
                  root.width, root.height, unsigned(layout.depth), unsigned(layout.bitsPerPixel),
                  unsigned(layout.scanlinePad), int(layout.direct), style,
                  unsigned(background & 0xffffffu));
    std::string all = text;
    for (const PixelRect& m : monitors) {
        std::snprintf(text, sizeof text, " %d,%d,%dx%d", m.x, m.y, m.width, m.height);
        all += text;
    }
    return all;
}

// Draws a prepared picture's pieces onto `pixmap`. False when its pixels turn out damaged (the
// entry is then gone, and the picture is decoded instead).
bool drawPrepared(xcb_connection_t* c, xcb_window_t root, xcb_pixmap_t pixmap, xcb_gcontext_t gc,
                  const PixelLayout& layout, PreparedEntry& entry) {
    Uploader uploader(c, gc, layout);
    bool shared = sharedMemoryUsable(c, layout);
    for (std::size_t i = 0; i < entry.pieces().size(); ++i) {
        const PreparedPiece& prepared = entry.pieces()[i];
        const int width = prepared.piece.sourceClip.width;
        const int height = prepared.piece.sourceClip.height;
        if (prepared.stride != uploader.strideFor(width)) {
            return false;
        }
        PieceBuffer buffer = bufferFor(c, layout, width, height, prepared.stride, shared);
        if (!buffer.segment) {
            buffer.image = QImage(width, height, layout.direct);
            if (buffer.image.isNull() ||
                static_cast<std::size_t>(buffer.image.bytesPerLine()) != prepared.stride) {
                return false;
            }
        }
        if (!entry.read(i, buffer.image.bits())) {
            return false;
        }
        if (buffer.segment && !buffer.segment->attached()) {
            shared = false;
            // The view points into memory about to go: the pixels move to an image of their own.
            buffer.image = buffer.image.copy();
            buffer.segment.reset();
        }
        putPiece(c, root, pixmap, gc, layout, uploader, prepared.piece, buffer.image,
                 buffer.segment.get());
    }
    return true;
}

// Decodes the picture at `path` and draws it in `style` onto `pixmap`, one piece per monitor (or
// one tiled layer). Each piece's pixels are let go of as soon as the server has them, or kept in
// `keeping` (when it has a store) to be prepared for the next time; a picture prepared before is
// read back instead of decoded. A picture that cannot be read, or declares more than
// kMaxPicturePixels, draws nothing: the reason is returned (empty when drawn).
std::string drawPicture(xcb_connection_t* c, xcb_window_t root, xcb_pixmap_t pixmap,
                        xcb_gcontext_t gc, const PixelLayout& layout, const PixelRect& rootRect,
                        const std::string& file, int style, QRgb background, Keeping& keeping) {
    if (const std::string problem = picturePathProblem(file); !problem.empty()) {
        return "picture refused: " + problem;
    }
    const std::vector<PixelRect> monitors = monitorsOf(c, root);
    if (keeping.store != nullptr && layout.direct != QImage::Format_Invalid) {
        if (const std::optional<FileIdentity> identity = fileIdentity(file)) {
            keeping.file = file;
            keeping.identity = *identity;
            keeping.key = PreparedPictures::keyOf(
                file, *identity, screenText(layout, rootRect, monitors, style, background));
            if (std::optional<PreparedEntry> entry = keeping.store->find(keeping.key)) {
                if (drawPrepared(c, root, pixmap, gc, layout, *entry)) {
                    keeping.store = nullptr; // nothing new to keep
                    return {};
                }
            }
        } else {
            keeping.store = nullptr;
        }
    } else {
        keeping.store = nullptr;
    }
    const QByteArray path = QByteArray::fromStdString(file); // any bytes: never via a QString
    // A JPEG goes to libjpeg directly; any other picture (or a JPEG it cannot take) to
    // QImageReader, which also says why a file cannot be read.
    std::unique_ptr<JpegPicture> jpeg = JpegPicture::open(file);
    QSize declared;
    if (jpeg) {
        declared = QSize(jpeg->size().width, jpeg->size().height);
    } else {
        PictureReader header(path);
        declared = header.size();
        if (!header.isOpen()) {
            return "picture refused: " + header.problem();
        }
        if (!declared.isValid()) {
            return "no picture in " + file;
        }
    }
    if (!PictureReader::withinLimit(declared)) {
        return "picture refused: " + file + " declares " + std::to_string(declared.width()) +
               " x " + std::to_string(declared.height()) + " pixels, more than " +
               std::to_string(kMaxPicturePixels);
    }
    const PixelSize fileSize{declared.width(), declared.height()};
    const std::vector<WallpaperPiece> pieces = placeWallpaper(fileSize, rootRect, monitors, style);
    if (pieces.empty()) {
        keeping.store = nullptr;
        return {};
    }
    Uploader uploader(c, gc, layout);
    bool shared = sharedMemoryUsable(c, layout);

    for (const WallpaperPiece& piece : pieces) {
        const int width = piece.sourceClip.width;
        const int height = piece.sourceClip.height;
        const std::size_t stride = uploader.strideFor(width);
        PieceBuffer buffer = bufferFor(c, layout, width, height, stride, shared);
        QImage& image = buffer.image;
        const bool decoded =
            jpeg ? decodeJpegPiece(*jpeg, piece, layout.direct, image)
                 : decodePiece(path, fileSize, piece, background, layout.direct, image);
        if (!decoded) {
            return "the picture " + file + " cannot be decoded";
        }
        SharedSegment* segment = buffer.segment.get();
        if (segment && !segment->attached()) {
            shared = false; // not a server on this machine: the socket it is, from now on
        }
        if (segment && segment->attached() && image.width() == width && image.height() == height) {
            if (image.constBits() != segment->data()) {
                // The reader made its own image: copy it over.
                const std::size_t rowBytes =
                    std::min<std::size_t>(stride, static_cast<std::size_t>(image.bytesPerLine()));
                for (int row = 0; row < height; ++row) {
                    std::memcpy(segment->data() + stride * std::size_t(row),
                                image.constScanLine(row), rowBytes);
                }
                image = QImage(segment->data(), width, height, static_cast<qsizetype>(stride),
                               layout.direct);
            }
        } else {
            segment = nullptr;
            if (buffer.segment && image.constBits() == buffer.segment->data()) {
                image = image.copy(); // the segment goes: the pixels need memory of their own
            }
            buffer.segment.reset();
        }
        putPiece(c, root, pixmap, gc, layout, uploader, piece, image, segment);
        if (keeping.store != nullptr) {
            keeping.keep(piece, stride, std::move(buffer.segment), std::move(image));
        }
        // On the server now: the pixels are let go of before the next piece unless kept.
    }
    return {};
}

} // namespace

std::unique_ptr<DrawnScene> drawPixmap(const Scene& scene) {
    auto drawn = std::make_unique<DrawnScene>();
    drawn->scene = scene;
    drawn->identity = fileIdentity(scene.path);
    // A connection of its own for every change: closed with RetainPermanent, it keeps the new
    // pixmap alive after we go, and nothing else of ours.
    drawn->conn = std::make_unique<Connection>(scene.display);
    Connection& conn = *drawn->conn;
    if (!conn.ok() || !conn.screen()) {
        drawn->problem = "cannot open the X display";
        return drawn;
    }
    drawn->keeping.store = scene.prepared;
    xcb_connection_t* c = conn.get();
    const xcb_screen_t* screen = conn.screen();
    const xcb_window_t root = screen->root;
    // Everything asked up front travels in one go; the answers are collected when needed.
    xcb_prefetch_extension_data(c, &xcb_randr_id);
    xcb_prefetch_extension_data(c, &xcb_shm_id);
    xcb_prefetch_maximum_request_length(c);
    drawn->rootAtomCookie = askAtom(c, "_XROOTPMAP_ID");
    drawn->esetAtomCookie = askAtom(c, "ESETROOT_PMAP_ID");

    const PixelLayout layout = layoutOf(c, screen);
    const PixelRect rootRect{0, 0, screen->width_in_pixels, screen->height_in_pixels};

    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    drawn->pixmap = pixmap;
    xcb_create_pixmap(c, layout.depth, pixmap, root, screen->width_in_pixels,
                      screen->height_in_pixels);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    const std::uint32_t colourPixel = pixelOf(c, screen, layout, scene.color);
    const std::uint32_t gcValues[] = {colourPixel, 0};
    xcb_create_gc(c, gc, pixmap, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, gcValues);
    const xcb_rectangle_t whole{0, 0, screen->width_in_pixels, screen->height_in_pixels};
    xcb_poly_fill_rectangle(c, pixmap, gc, 1, &whole);

    // A picture that cannot be drawn leaves the plain colour, and the change is reported failed.
    if (!scene.path.empty() && layout.trueColor && layout.bitsPerPixel % 8 == 0) {
        const std::uint32_t rgb = scene.color;
        const QRgb background =
            qRgb(int(rgb & 0xffu), int((rgb >> 8) & 0xffu), int((rgb >> 16) & 0xffu));
        drawn->problem = drawPicture(c, root, pixmap, gc, layout, rootRect, scene.path, scene.style,
                                     background, drawn->keeping);
    } else if (!scene.path.empty()) {
        drawn->problem = "pictures need a true-colour screen";
    }
    xcb_free_gc(c, gc);
    xcb_flush(c);
    return drawn;
}

std::string showOnRoot(DrawnScene& drawn) {
    if (drawn.pixmap == XCB_NONE) {
        return drawn.problem;
    }
    Connection& conn = *drawn.conn;
    xcb_connection_t* c = conn.get();
    const xcb_window_t root = conn.screen()->root;
    const xcb_pixmap_t pixmap = drawn.pixmap;
    if (!drawn.scene.onRoot) {
        xcb_free_pixmap(c, pixmap);
        conn.sync();
        if (conn.ok() && drawn.problem.empty()) {
            drawn.keeping.write();
        }
        return drawn.problem;
    }

    // Take over the root's background, freeing what the previous setter left behind. The server
    // is grabbed so no other setter slips in between reading and writing the properties.
    const xcb_atom_t rootAtom = atomOf(c, drawn.rootAtomCookie);
    const xcb_atom_t esetAtom = atomOf(c, drawn.esetAtomCookie);
    xcb_grab_server(c);
    const xcb_get_property_cookie_t oldRootCookie =
        xcb_get_property(c, 0, root, rootAtom, XCB_ATOM_PIXMAP, 0, 1);
    const xcb_get_property_cookie_t oldEsetCookie =
        xcb_get_property(c, 0, root, esetAtom, XCB_ATOM_PIXMAP, 0, 1);
    const xcb_pixmap_t oldRoot = pixmapOf(c, oldRootCookie);
    const xcb_pixmap_t oldEset = pixmapOf(c, oldEsetCookie);
    if (oldRoot != XCB_NONE && oldRoot == oldEset && oldRoot != pixmap) {
        // Its owner kept it alive with RetainPermanent; ending that client frees it. An owner
        // already gone answers with an error, which is no failure of ours.
        xcb_discard_reply(c, xcb_kill_client_checked(c, oldRoot).sequence);
    }
    for (xcb_atom_t atom : {rootAtom, esetAtom}) {
        if (atom != XCB_ATOM_NONE) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, atom, XCB_ATOM_PIXMAP, 32, 1,
                                &pixmap);
        }
    }
    xcb_change_window_attributes(c, root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(c, 0, root, 0, 0, 0, 0);
    xcb_ungrab_server(c);
    xcb_set_close_down_mode(c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    conn.sync();
    if (!conn.ok()) {
        return "the connection to the X display broke";
    }
    if (std::string error = pendingError(c); !error.empty()) {
        return error;
    }
    // The root shows the picture: now it is kept prepared for the next time.
    if (drawn.problem.empty()) {
        drawn.keeping.write();
    }
    return drawn.problem;
}

} // namespace lumora::x11
