#pragma once
// Decoding a picture file through WIC at the size it is shown: the decoder scales while it
// decodes (a JPEG is decoded at a reduced size), so a 6000 x 4000 photo shown in a 160 x 120 box
// never exists at its full size in memory.
#include "core/ports/pictures.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

// The most pixels a picture is decoded to: 64 megapixels, 256 MiB of pixels.
inline constexpr std::int64_t kMostDecodedPixels = 64ll * 1024 * 1024;

// Whether `path` is a regular file whose header, where the format has one this program reads
// itself (BMP, PNG, GIF), is sound and within kMaxPicturePixels. The decoder is handed nothing
// else: some trust a header that lies.
bool pictureHeaderAcceptable(const std::string& path);

struct DecodedPicture {
    PixelSize source; // the picture's own size
    int width = 0;    // the size decoded to
    int height = 0;
    std::vector<std::uint32_t>
        pixels; // top-down rows of 0xAARRGGBB (BGRA in memory), premultiplied
};

// The first frame of `path`, scaled to `size` (its own size when none is given); nothing when the
// file is not a picture WIC can decode, its header is refused, it has more than
// kMaxPicturePixels (more than kMostDecodedPixels unless it is a JPEG), or the size is empty or
// over kMostDecodedPixels.
std::optional<DecodedPicture> decodePicture(const std::string& path,
                                            std::optional<PixelSize> size = std::nullopt);

} // namespace lumora
