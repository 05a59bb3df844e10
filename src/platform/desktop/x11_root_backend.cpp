#include "platform/desktop/x11_root_backend.h"

#include "platform/desktop/jpeg_picture.h"
#include "platform/desktop/prepared_pictures.h"
#include "platform/desktop/wallpaper_geometry.h"
#include "platform/linux/picture_file.h"
#include "platform/linux/qt_main_thread.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QThread>

#include <sys/ipc.h>
#include <sys/resource.h>
#include <sys/shm.h>
#include <xcb/randr.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace lumora {

namespace {

template <typename T> struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter<T>>;

// How the server wants the pixels of the root's depth.
struct PixelLayout {
    std::uint8_t depth = 0;
    std::uint8_t bitsPerPixel = 0;
    std::uint8_t scanlinePad = 32;
    bool lsbFirst = true;
    bool trueColor = false;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    // A ready-made QImage format whose bytes are exactly the server's, when there is one.
    QImage::Format direct = QImage::Format_Invalid;
};

int lowestBit(std::uint32_t mask) {
    return mask == 0 ? 0 : std::countr_zero(mask);
}

// One 8-bit channel value placed in a visual's mask.
std::uint32_t channelBits(std::uint32_t value8, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = lowestBit(mask);
    const std::uint32_t max = mask >> shift;
    return (((value8 * max + 127u) / 255u) << shift) & mask;
}

PixelLayout layoutOf(xcb_connection_t* c, const xcb_screen_t* screen) {
    PixelLayout layout;
    layout.depth = screen->root_depth;
    const xcb_setup_t* setup = xcb_get_setup(c);
    layout.lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == layout.depth) {
            layout.bitsPerPixel = it.data->bits_per_pixel;
            layout.scanlinePad = it.data->scanline_pad;
        }
    }
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == screen->root_visual) {
                layout.trueColor = v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR ||
                                   v.data->_class == XCB_VISUAL_CLASS_DIRECT_COLOR;
                layout.redMask = v.data->red_mask;
                layout.greenMask = v.data->green_mask;
                layout.blueMask = v.data->blue_mask;
            }
        }
    }
    const bool hostLsb = std::endian::native == std::endian::little;
    if (layout.trueColor && layout.lsbFirst == hostLsb && layout.scanlinePad == 32) {
        if (layout.bitsPerPixel == 32 && layout.redMask == 0xff0000u &&
            layout.greenMask == 0xff00u && layout.blueMask == 0xffu) {
            layout.direct = QImage::Format_RGB32;
        } else if (layout.bitsPerPixel == 16 && layout.redMask == 0xf800u &&
                   layout.greenMask == 0x07e0u && layout.blueMask == 0x001fu) {
            layout.direct = QImage::Format_RGB16;
        }
    }
    return layout;
}

std::uint32_t truePixel(const PixelLayout& layout, std::uint32_t r, std::uint32_t g,
                        std::uint32_t b) {
    return channelBits(r, layout.redMask) | channelBits(g, layout.greenMask) |
           channelBits(b, layout.blueMask);
}

// The server's pixel value for a 0x00BBGGRR colour.
std::uint32_t pixelOf(xcb_connection_t* c, const xcb_screen_t* screen, const PixelLayout& layout,
                      std::uint32_t rgb) {
    const std::uint32_t r = rgb & 0xffu;
    const std::uint32_t g = (rgb >> 8) & 0xffu;
    const std::uint32_t b = (rgb >> 16) & 0xffu;
    if (layout.trueColor) {
        return truePixel(layout, r, g, b);
    }
    auto cookie =
        xcb_alloc_color(c, screen->default_colormap, static_cast<std::uint16_t>(r * 257),
                        static_cast<std::uint16_t>(g * 257), static_cast<std::uint16_t>(b * 257));
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_alloc_color_reply_t> reply(xcb_alloc_color_reply(c, cookie, &error));
    std::free(error); // a full colour map: black will do
    return reply ? reply->pixel : screen->black_pixel;
}

// Sends rows of server-format pixels to a drawable in requests that fit the server's limit.
class Uploader {
public:
    Uploader(xcb_connection_t* c, xcb_gcontext_t gc, const PixelLayout& layout)
        : m_c(c), m_gc(gc), m_layout(layout) {
        // Room for the request header (with the big-request length word) under the limit.
        const std::uint64_t maxBytes = std::uint64_t{xcb_get_maximum_request_length(c)} * 4u;
        m_maxPayload = maxBytes > 64 ? maxBytes - 64 : 0;
    }

    std::size_t strideFor(int width) const {
        const std::size_t bits = std::size_t(width) * m_layout.bitsPerPixel;
        const std::size_t pad = m_layout.scanlinePad ? m_layout.scanlinePad : 32;
        return ((bits + pad - 1) / pad) * pad / 8;
    }

    int rowsPerRequest(std::size_t stride) const {
        const std::uint64_t rows = stride ? m_maxPayload / stride : 0;
        return static_cast<int>(std::clamp<std::uint64_t>(rows, 1, 1u << 15));
    }

    // `image` is RGB32 or the layout's direct format, with no alpha.
    void put(xcb_drawable_t target, const QImage& image, int x, int y) {
        const int width = image.width();
        const int height = image.height();
        const std::size_t stride = strideFor(width);
        const int chunk = rowsPerRequest(stride);
        const bool direct = image.format() == m_layout.direct &&
                            static_cast<std::size_t>(image.bytesPerLine()) == stride;
        std::vector<std::uint8_t> packed;
        for (int row = 0; row < height; row += chunk) {
            const int rows = std::min(chunk, height - row);
            const std::uint8_t* data = nullptr;
            if (direct) {
                data = image.constScanLine(row);
            } else {
                packed.assign(stride * std::size_t(rows), 0);
                pack(image, row, rows, stride, packed.data());
                data = packed.data();
            }
            xcb_put_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, target, m_gc,
                          static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(rows),
                          static_cast<std::int16_t>(x), static_cast<std::int16_t>(y + row), 0,
                          m_layout.depth, static_cast<std::uint32_t>(stride * std::size_t(rows)),
                          data);
        }
    }

private:
    // Any true-colour layout the fast path does not cover, one pixel at a time.
    void pack(const QImage& image, int firstRow, int rows, std::size_t stride,
              std::uint8_t* out) const {
        std::array<std::uint32_t, 256> red{};
        std::array<std::uint32_t, 256> green{};
        std::array<std::uint32_t, 256> blue{};
        for (std::uint32_t v = 0; v < 256; ++v) {
            red[v] = channelBits(v, m_layout.redMask);
            green[v] = channelBits(v, m_layout.greenMask);
            blue[v] = channelBits(v, m_layout.blueMask);
        }
        const int bytes = m_layout.bitsPerPixel / 8;
        for (int j = 0; j < rows; ++j) {
            const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(firstRow + j));
            std::uint8_t* dst = out + stride * std::size_t(j);
            for (int i = 0; i < image.width(); ++i) {
                const QRgb p = src[i];
                const std::uint32_t value = red[std::uint32_t(qRed(p))] |
                                            green[std::uint32_t(qGreen(p))] |
                                            blue[std::uint32_t(qBlue(p))];
                for (int k = 0; k < bytes; ++k) {
                    const int shift = m_layout.lsbFirst ? 8 * k : 8 * (bytes - 1 - k);
                    dst[i * bytes + k] = static_cast<std::uint8_t>(value >> shift);
                }
            }
        }
    }

    xcb_connection_t* m_c;
    xcb_gcontext_t m_gc;
    const PixelLayout& m_layout;
    std::uint64_t m_maxPayload = 0;
};

std::vector<PixelRect> monitorsOf(xcb_connection_t* c, xcb_window_t root) {
    std::vector<PixelRect> monitors;
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_randr_id);
    if (!ext || !ext->present) {
        return monitors;
    }
    // Both asked at once; a server without monitors (before RandR 1.5) answers the second with
    // an error, and the whole root is then one monitor.
    const auto versionCookie = xcb_randr_query_version(c, 1, 5);
    const auto monitorsCookie = xcb_randr_get_monitors(c, root, 1);
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(c, versionCookie, &error));
    std::free(std::exchange(error, nullptr));
    XcbReply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, monitorsCookie, &error));
    std::free(error); // expected from an older server: not a failure of ours
    if (!version || (version->major_version == 1 && version->minor_version < 5) || !reply) {
        return monitors;
    }
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        monitors.push_back({it.data->x, it.data->y, it.data->width, it.data->height});
    }
    return monitors;
}

xcb_intern_atom_cookie_t askAtom(xcb_connection_t* c, const char* name) {
    return xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
}

xcb_atom_t atomOf(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie) {
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_pixmap_t pixmapOf(xcb_connection_t* c, xcb_get_property_cookie_t cookie) {
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->type != XCB_ATOM_PIXMAP || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4) {
        return XCB_NONE;
    }
    xcb_pixmap_t id = XCB_NONE;
    std::memcpy(&id, xcb_get_property_value(reply.get()), sizeof id);
    return id;
}

// A shared memory segment the server reads a picture from (MIT-SHM), so a large picture does not
// travel through the socket. Only a server on this machine can attach it: attached() tells, and
// is asked only after the picture is decoded, so the answer never keeps us waiting. The memory is
// ours either way. The segment is marked for removal at once, so it goes away with its last user
// even if we do not get to clean up.
class SharedSegment {
public:
    SharedSegment(xcb_connection_t* c, std::size_t bytes) : m_c(c) {
        const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (id < 0) {
            return;
        }
        void* address = shmat(id, nullptr, 0);
        if (address != reinterpret_cast<void*>(-1)) {
            m_data = static_cast<std::uint8_t*>(address);
            m_segment = xcb_generate_id(c);
            m_cookie = xcb_shm_attach_checked(c, m_segment, static_cast<std::uint32_t>(id), 1);
            m_pending = true;
            xcb_flush(c);
        }
        // The server has its own attachment once it has handled the request; the id may go.
        shmctl(id, IPC_RMID, nullptr);
    }
    ~SharedSegment() {
        if (attached()) {
            // Queued after the requests that read the segment, so the server is done with it.
            xcb_shm_detach(m_c, m_segment);
        }
        if (m_data) {
            shmdt(m_data);
        }
    }
    SharedSegment(const SharedSegment&) = delete;
    SharedSegment& operator=(const SharedSegment&) = delete;

    std::uint8_t* data() const { return m_data; }
    xcb_shm_seg_t segment() const { return m_segment; }
    bool attached() {
        if (m_pending) {
            m_pending = false;
            xcb_generic_error_t* error = xcb_request_check(m_c, m_cookie);
            m_attached = error == nullptr;
            std::free(error);
        }
        return m_attached;
    }

private:
    xcb_connection_t* m_c;
    std::uint8_t* m_data = nullptr;
    xcb_shm_seg_t m_segment = 0;
    xcb_void_cookie_t m_cookie{};
    bool m_pending = false;
    bool m_attached = false;
};

// The picture's part for one piece, at the size the piece needs, without alpha (a transparent
// picture shows the colour through), in `wanted` (RGB32 when invalid). `image` may come in as a
// view of memory the pixels should land in; the reader fills it in place when it can. False when
// the file cannot be read.
bool decodePiece(const QByteArray& path, const PixelSize& fileSize, const WallpaperPiece& piece,
                 QRgb background, QImage::Format wanted, QImage& image) {
    PictureReader picture(path);
    QImageReader& reader = picture.reader();
    if (!picture.isOpen()) {
        return false;
    }
    reader.setAutoTransform(false);
    const QSize scaled(piece.scaledSize.width, piece.scaledSize.height);
    const QRect clip(piece.sourceClip.x, piece.sourceClip.y, piece.sourceClip.width,
                     piece.sourceClip.height);
    const bool sameSize = scaled == QSize(fileSize.width, fileSize.height);
    if (!sameSize) {
        reader.setScaledSize(scaled);
    }
    if (clip != QRect(QPoint(0, 0), scaled)) {
        if (sameSize) {
            reader.setClipRect(clip);
        } else {
            reader.setScaledClipRect(clip);
        }
    }
    if (!reader.read(&image) || image.isNull()) {
        return false;
    }
    if (image.size() != clip.size()) {
        // A reader that ignored an option: finish the job here.
        if (image.size() == QSize(fileSize.width, fileSize.height) && !sameSize) {
            image = image.scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        if (image.size() == scaled && clip.size() != scaled) {
            image = image.copy(clip);
        }
        if (image.size() != clip.size()) {
            image = image.scaled(clip.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(background);
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
        painter.end();
        image = std::move(flat);
    }
    const QImage::Format target = wanted == QImage::Format_Invalid ? QImage::Format_RGB32 : wanted;
    if (image.format() != target) {
        image.convertTo(target);
    }
    return !image.isNull();
}

// decodePiece for a JPEG (which has no alpha): decoded into `image` in place when it is an RGB32
// view of the piece's size, converted afterwards when the server wants another format.
bool decodeJpegPiece(JpegPicture& jpeg, const WallpaperPiece& piece, QImage::Format wanted,
                     QImage& image) {
    if (!jpeg.decodePiece(piece, image)) {
        return false;
    }
    if (wanted != QImage::Format_Invalid && image.format() != wanted) {
        image.convertTo(wanted);
    }
    return !image.isNull();
}

class Connection {
public:
    explicit Connection(const std::string& display) {
        m_c = xcb_connect(display.empty() ? nullptr : display.c_str(), &m_screenNumber);
    }
    ~Connection() {
        if (m_c) {
            xcb_disconnect(m_c);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    xcb_connection_t* get() const { return m_c; }
    bool ok() const { return m_c && !xcb_connection_has_error(m_c); }

    const xcb_screen_t* screen() const {
        int n = m_screenNumber;
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(m_c)); it.rem;
             xcb_screen_next(&it), --n) {
            if (n == 0) {
                return it.data;
            }
        }
        return nullptr;
    }

    // Waits until the server has handled everything sent so far.
    void sync() { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

private:
    xcb_connection_t* m_c = nullptr;
    int m_screenNumber = 0;
};

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

// Puts one piece's pixels (`image`, in `segment` when there is one the server attached) where the
// piece goes on `pixmap`: in place, or as a tile repeated over its area.
void putPiece(xcb_connection_t* c, xcb_window_t root, xcb_pixmap_t pixmap, xcb_gcontext_t gc,
              const PixelLayout& layout, Uploader& uploader, const WallpaperPiece& piece,
              const QImage& image, SharedSegment* segment) {
    const int width = piece.sourceClip.width;
    const int height = piece.sourceClip.height;
    xcb_drawable_t target = pixmap;
    xcb_pixmap_t tile = XCB_NONE;
    int x = piece.target.x;
    int y = piece.target.y;
    if (piece.tiled) {
        tile = xcb_generate_id(c);
        xcb_create_pixmap(c, layout.depth, tile, root, static_cast<std::uint16_t>(width),
                          static_cast<std::uint16_t>(height));
        target = tile;
        x = 0;
        y = 0;
    }
    if (segment != nullptr) {
        xcb_shm_put_image(c, target, gc, static_cast<std::uint16_t>(width),
                          static_cast<std::uint16_t>(height), 0, 0,
                          static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                          static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), layout.depth,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment->segment(), 0);
    } else {
        uploader.put(target, image, x, y);
    }
    if (piece.tiled) {
        const std::uint32_t tileValues[] = {XCB_FILL_STYLE_TILED, tile, 0, 0};
        xcb_change_gc(c, gc,
                      XCB_GC_FILL_STYLE | XCB_GC_TILE | XCB_GC_TILE_STIPPLE_ORIGIN_X |
                          XCB_GC_TILE_STIPPLE_ORIGIN_Y,
                      tileValues);
        const xcb_rectangle_t area{static_cast<std::int16_t>(piece.target.x),
                                   static_cast<std::int16_t>(piece.target.y),
                                   static_cast<std::uint16_t>(piece.target.width),
                                   static_cast<std::uint16_t>(piece.target.height)};
        xcb_poly_fill_rectangle(c, pixmap, gc, 1, &area);
        const std::uint32_t solid[] = {XCB_FILL_STYLE_SOLID};
        xcb_change_gc(c, gc, XCB_GC_FILL_STYLE, solid);
        xcb_free_pixmap(c, tile);
    }
}

// Where a piece's pixels are made: shared memory the server reads when it can, else an image of
// the server's format.
struct PieceBuffer {
    std::unique_ptr<SharedSegment> segment;
    QImage image;
};

PieceBuffer bufferFor(xcb_connection_t* c, const PixelLayout& layout, int width, int height,
                      std::size_t stride, bool& shared) {
    PieceBuffer buffer;
    if (shared) {
        buffer.segment = std::make_unique<SharedSegment>(c, stride * std::size_t(height));
        if (buffer.segment->data()) {
            buffer.image = QImage(buffer.segment->data(), width, height,
                                  static_cast<qsizetype>(stride), layout.direct);
        } else {
            buffer.segment.reset();
            shared = false;
        }
    }
    return buffer;
}

bool sharedMemoryUsable(xcb_connection_t* c, const PixelLayout& layout) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_shm_id);
    return layout.direct != QImage::Format_Invalid && ext && ext->present;
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

// The first X error waiting on the connection, as a reason; empty when there is none.
std::string pendingError(xcb_connection_t* c) {
    std::string reason;
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        if (event->response_type == 0 && reason.empty()) {
            const auto* error = reinterpret_cast<const xcb_generic_error_t*>(event);
            reason = "the X server refused a request (error " + std::to_string(error->error_code) +
                     ", request " + std::to_string(error->major_code) + ")";
        }
        std::free(event);
    }
    return reason;
}

// Everything one change draws, copied for the thread that draws it.
struct Scene {
    std::string display;
    std::string path;
    int style = WPSTYLE_CENTER;
    std::uint32_t color = 0;
    const PreparedPictures* prepared = nullptr; // where pictures are kept prepared, if anywhere
    bool onRoot = true; // false: the picture is only prepared, the root is left as it is
};

// Draws `scene` on the root window; the reason it failed, or empty.
std::string drawScene(const Scene& scene);
// X11RootBackend::drawAhead and waitForAhead.
void startAhead(const std::string& path, int style, std::uint32_t rgb);
void waitAhead();

// Runs drawScene on a thread of its own. Called on the application's thread, it lets the events
// that arrive meanwhile run (timer ticks, the tray menu), so a large picture never freezes the
// program; the thread wakes the loop when it is done.
std::string drawOffThread(const Scene& scene) {
    QCoreApplication* app = QCoreApplication::instance();
    const bool pumpEvents = app != nullptr && QThread::currentThread() == app->thread();
    // The result is ready before the loop is woken: a wake-up seen before the result would leave
    // the loop waiting for some other event (none comes when nothing else runs).
    std::promise<std::string> result;
    std::future<std::string> done = result.get_future();
    std::future<void> worker = std::async(std::launch::async, [&result, scene, pumpEvents] {
        std::string reason;
        try {
            reason = drawScene(scene);
        } catch (const std::exception&) {
            reason = "the wallpaper could not be drawn";
        }
        result.set_value(std::move(reason));
        if (pumpEvents) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
        }
    });
    while (pumpEvents && done.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    worker.get();
    return done.get();
}

} // namespace

X11RootBackend::X11RootBackend() : m_prepared(std::in_place) {}

X11RootBackend::X11RootBackend(std::string display, std::optional<std::string> preparedFolder)
    : m_display(std::move(display)) {
    if (preparedFolder) {
        m_prepared.emplace(std::move(*preparedFolder));
    }
}

DesktopResult X11RootBackend::setWallpaper(const std::string& path, int style) {
    m_path = path;
    if (style >= WPSTYLE_CENTER && style <= WPSTYLE_MAX) {
        m_style = style;
    }
    return redraw();
}

void X11RootBackend::drawAhead(const std::string& path, int style, std::uint32_t rgb) {
    startAhead(path, style, rgb);
}

void X11RootBackend::waitForAhead() {
    waitAhead();
}

void X11RootBackend::prepareWallpaper(const std::string& path, int style) {
    if (!m_prepared || path.empty()) {
        return;
    }
    if (m_preparing.joinable()) {
        m_preparing.join();
    }
    const int drawn = style >= WPSTYLE_CENTER && style <= WPSTYLE_MAX ? style : m_style;
    const Scene scene{m_display, path, drawn, m_color, &*m_prepared, false};
    m_preparing = std::thread([scene] {
        try {
            drawScene(scene);
        } catch (const std::exception&) {
            // nothing prepared: the picture is decoded when it is set
        }
    });
}

void X11RootBackend::waitForPrepared() {
    if (m_preparing.joinable()) {
        m_preparing.join();
    }
}

X11RootBackend::~X11RootBackend() {
    waitForPrepared();
}

DesktopResult X11RootBackend::setBackgroundColor(std::uint32_t rgb) {
    m_color = rgb & 0xffffffu;
    return redraw();
}

DesktopResult X11RootBackend::redraw() {
    if (m_drawing) {
        // Called from an event that ran while a change is drawn: the running change draws again
        // with the newest state when it is done, and reports for both.
        m_again = true;
        return DesktopResult::success();
    }
    m_drawing = true;
    std::string reason;
    do {
        m_again = false;
        reason = drawOffThread(
            Scene{m_display, m_path, m_style, m_color, m_prepared ? &*m_prepared : nullptr});
    } while (m_again);
    m_drawing = false;
    return reason.empty() ? DesktopResult::success() : m_log.fail(reason);
}

namespace {

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

// Makes a drawn pixmap the root's background (or, for a scene only prepared, keeps its pixels).
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

// The scene drawn ahead at start-up (drawAhead), until a change takes it or passes it over.
// How much less of the CPU the drawing ahead asks for than start-up's own thread.
constexpr int kAheadNice = 10;

// Declared in this order so that at exit the drawings still under way end (their futures wait)
// before what they use goes.
std::mutex g_aheadMutex;
std::optional<PreparedPictures> g_aheadPrepared;
Scene g_aheadScene;
std::future<std::unique_ptr<DrawnScene>> g_ahead;
std::future<std::unique_ptr<DrawnScene>> g_aheadPassedOver; // not waited for by the change

// The scene drawn ahead when it is exactly `scene` (the same picture file, unchanged since); it is
// let go of either way, so only the first change can take it.
std::unique_ptr<DrawnScene> takeAhead(const Scene& scene) {
    std::future<std::unique_ptr<DrawnScene>> ahead;
    Scene drawnFor;
    {
        std::lock_guard<std::mutex> lock(g_aheadMutex);
        if (!g_ahead.valid()) {
            return nullptr;
        }
        ahead = std::move(g_ahead);
        drawnFor = g_aheadScene;
    }
    const bool same =
        drawnFor.display == scene.display && drawnFor.path == scene.path &&
        drawnFor.style == scene.style && drawnFor.color == scene.color &&
        (scene.prepared == nullptr) == (drawnFor.prepared == nullptr) &&
        (scene.prepared == nullptr || scene.prepared->folder() == drawnFor.prepared->folder());
    if (!same) {
        // Not what this change needs: it ends on its own, and nobody waits for it.
        std::lock_guard<std::mutex> lock(g_aheadMutex);
        g_aheadPassedOver = std::move(ahead);
        return nullptr;
    }
    std::unique_ptr<DrawnScene> drawn = ahead.get(); // waits for the drawing to end
    if (!drawn || drawn->pixmap == XCB_NONE || !drawn->problem.empty() || !drawn->identity ||
        fileIdentity(scene.path) != drawn->identity) {
        return nullptr; // its connection closes, and the server frees its pixmap
    }
    drawn->keeping.store = drawn->keeping.store != nullptr ? scene.prepared : nullptr;
    return drawn;
}

void startAhead(const std::string& path, int style, std::uint32_t rgb) {
    // This runs before the application object exists, on the thread that makes it, and the
    // drawing uses Qt: Qt learns its main thread here, before the drawing thread exists.
    claimQtMainThread();
    std::lock_guard<std::mutex> lock(g_aheadMutex);
    static bool started = false;
    if (started || path.empty()) {
        return;
    }
    started = true;
    g_aheadPrepared.emplace();
    g_aheadScene = Scene{{}, path, style, rgb & 0xffffffu, &*g_aheadPrepared, true};
    g_ahead = std::async(std::launch::async, [scene = g_aheadScene] {
        // Start-up itself (the tray icon first) goes before this drawing when both want the CPU.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kAheadNice);
        // Only a JPEG, which libjpeg decodes and a plain smooth scale resizes: other formats may
        // need Qt's painter, which reads the application's font and so must not run while the
        // application object is still being made on the main thread. Start-up's own change draws
        // those.
        if (JpegPicture::open(scene.path) == nullptr) {
            return std::unique_ptr<DrawnScene>();
        }
        try {
            return drawPixmap(scene);
        } catch (const std::exception&) {
            return std::unique_ptr<DrawnScene>();
        }
    });
}

void waitAhead() {
    std::lock_guard<std::mutex> lock(g_aheadMutex);
    if (g_ahead.valid()) {
        g_ahead.wait();
    }
}

std::string drawScene(const Scene& scene) {
    std::unique_ptr<DrawnScene> drawn = scene.onRoot ? takeAhead(scene) : nullptr;
    if (!drawn) {
        drawn = drawPixmap(scene);
    }
    return showOnRoot(*drawn);
}

} // namespace

} // namespace lumora
