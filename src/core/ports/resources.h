#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// The built-in resources, by name: "default_bmp" (the default picture, 381,976 bytes),
// "nopicture_bmp", "logo_bmp", "icon_png".
class Resources {
public:
    virtual ~Resources() = default;
    // The bytes; empty when there is no such resource.
    virtual std::vector<std::uint8_t> bytes(const std::string& name) const = 0;
};

} // namespace lumora
