#include "linux/desktop/x11_decode.h"

#include "linux/platform/picture_file.h"

#include <QPainter>

#include <utility>

namespace lumora::x11 {

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

} // namespace lumora::x11
