#pragma once
#include "core/ports/pictures.h"

namespace lumora {

// Picture sizes from the file header where the format allows it (QImageReader); the picture is
// decoded only when its format cannot tell its size otherwise.
class QtPictures : public Pictures {
public:
    std::optional<PixelSize> pixelSize(const std::string& path) const override;
};

} // namespace lumora
