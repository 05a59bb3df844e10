#pragma once
// Picture facts through WIC: the pixel size from the picture's header, nothing decoded (BMP, JPEG,
// GIF, PNG, TIFF, ICO and whatever codecs the system has). A header that lies, and a picture of
// more than kMaxPicturePixels, give nothing.
#include "core/ports/pictures.h"

namespace lumora {

class WicPictures : public Pictures {
public:
    std::optional<PixelSize> pixelSize(const std::string& path) const override;
};

} // namespace lumora
