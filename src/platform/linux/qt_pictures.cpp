#include "platform/linux/qt_pictures.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace lumora {

std::optional<PixelSize> QtPictures::pixelSize(const std::string& path) const {
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)));
    reader.setDecideFormatFromContent(true); // a day copy's name need not match its content
    QSize size = reader.size();
    if (!size.isValid()) {
        if (!reader.canRead()) {
            return std::nullopt;
        }
        QImage image = reader.read();
        if (image.isNull()) {
            return std::nullopt;
        }
        size = image.size();
    }
    return PixelSize{size.width(), size.height()};
}

} // namespace lumora
