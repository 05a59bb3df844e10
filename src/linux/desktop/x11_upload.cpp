#include "linux/desktop/x11_upload.h"

namespace lumora::x11 {

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

} // namespace lumora::x11
