#pragma once
// Decoding the part of a picture one wallpaper piece needs, at the size it needs.
#include "linux/desktop/jpeg_picture.h"
#include "linux/desktop/wallpaper_geometry.h"

#include <QByteArray>
#include <QImage>

namespace lumora::x11 {

// The picture's part for one piece, at the size the piece needs, without alpha (a transparent
// picture shows the colour through), in `wanted` (RGB32 when invalid). `image` may come in as a
// view of memory the pixels should land in; the reader fills it in place when it can. False when
// the file cannot be read.
bool decodePiece(const QByteArray& path, const PixelSize& fileSize, const WallpaperPiece& piece,
                 QRgb background, QImage::Format wanted, QImage& image);

// decodePiece for a JPEG (which has no alpha): decoded into `image` in place when it is an RGB32
// view of the piece's size, converted afterwards when the server wants another format.
bool decodeJpegPiece(JpegPicture& jpeg, const WallpaperPiece& piece, QImage::Format wanted,
                     QImage& image);

} // namespace lumora::x11
