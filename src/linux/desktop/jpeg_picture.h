#pragma once
// JPEG pictures decoded with libjpeg directly, for the root-window backend: the picture is decoded
// at the smallest DCT scale (M/8) that still covers the size it is drawn at, so a 3840 × 2160
// picture stretched on a 1920 × 1080 screen decodes a quarter of its pixels and needs no resample,
// and the rows land straight in the caller's buffer. No image plugin is loaded for it. Pictures
// in other formats, and JPEGs in colour spaces this does not handle (CMYK), are left to
// QImageReader: open() returns nullptr for them.
#include "linux/desktop/wallpaper_geometry.h"

#include <QImage>

#include <cstdio>
#include <memory>
#include <string>

namespace lumora {

class JpegPicture {
public:
    // The file at `path` when it is a JPEG libjpeg can decode to RGB, with its header read;
    // nullptr otherwise (not a JPEG, not readable, a damaged header, CMYK): the caller then
    // opens the file through PictureReader, which says why.
    static std::unique_ptr<JpegPicture> open(const std::string& path);
    ~JpegPicture();
    JpegPicture(const JpegPicture&) = delete;
    JpegPicture& operator=(const JpegPicture&) = delete;

    // The size the header declares.
    PixelSize size() const { return m_size; }

    // Decodes `piece.sourceClip` of the picture scaled to `piece.scaledSize` into `image` as
    // Format_RGB32. When `image` already is an RGB32 image of the clip's size its memory is
    // written (shared memory the server reads, say); otherwise `image` is replaced. False when
    // the data turns out to be damaged beyond decoding.
    bool decodePiece(const WallpaperPiece& piece, QImage& image);

    // The numerator M of the M/8 scale decoded for a picture of `file` pixels drawn at
    // `target`: the smallest that covers `target` in both directions, at most 8 (libjpeg's
    // upscaling is slower than scaling afterwards).
    static int scaleFor(const PixelSize& file, const PixelSize& target);

    // libjpeg's state for one pass over the file.
    struct Decoder;

private:
    explicit JpegPicture(std::FILE* file);

    std::FILE* m_file;
    PixelSize m_size;
};

} // namespace lumora
