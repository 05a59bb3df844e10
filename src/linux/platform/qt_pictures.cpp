#include "linux/platform/qt_pictures.h"

#include "linux/platform/picture_file.h"

#include <QByteArray>
#include <QFile>

namespace lumora {

std::optional<PixelSize> QtPictures::pixelSize(const std::string& path) const {
    PictureReader picture(path);
    const QSize size = picture.size();
    if (!size.isValid()) {
        return std::nullopt;
    }
    return PixelSize{size.width(), size.height()};
}

} // namespace lumora
