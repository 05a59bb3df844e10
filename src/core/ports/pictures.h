#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

// The most pixels (width x height, as the file declares them) of a picture the program decodes
// itself: 150 megapixels, more than a 12,000 x 12,000 picture.
inline constexpr std::int64_t kMaxPicturePixels = 150'000'000;

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// Picture facts read without decoding the whole picture.
class Pictures {
public:
    virtual ~Pictures() = default;
    virtual std::optional<PixelSize> pixelSize(const std::string& path) const = 0;
};

} // namespace lumora
