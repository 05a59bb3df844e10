#pragma once
// Getting pixels to the server: requests that fit its limit, shared memory (MIT-SHM) where the
// server is on this machine, and one piece of a wallpaper put in place or tiled.
#include "linux/desktop/wallpaper_geometry.h"
#include "linux/desktop/x11_pixels.h"

#include <QImage>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace lumora::x11 {

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

// Where a piece's pixels are made: shared memory the server reads when it can, else an image of
// the server's format.
struct PieceBuffer {
    std::unique_ptr<SharedSegment> segment;
    QImage image;
};

// Puts one piece's pixels (`image`, in `segment` when there is one the server attached) where the
// piece goes on `pixmap`: in place, or as a tile repeated over its area.
void putPiece(xcb_connection_t* c, xcb_window_t root, xcb_pixmap_t pixmap, xcb_gcontext_t gc,
              const PixelLayout& layout, Uploader& uploader, const WallpaperPiece& piece,
              const QImage& image, SharedSegment* segment);
// A buffer in shared memory for a piece when `shared` (which turns false when none can be had).
PieceBuffer bufferFor(xcb_connection_t* c, const PixelLayout& layout, int width, int height,
                      std::size_t stride, bool& shared);
// Shared memory needs the server's own pixel format and the extension.
bool sharedMemoryUsable(xcb_connection_t* c, const PixelLayout& layout);

} // namespace lumora::x11
