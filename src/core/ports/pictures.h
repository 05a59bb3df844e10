#pragma once
#include <optional>
#include <string>

namespace lumora {

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
