#pragma once
// A colour as the program stores and passes it: 0x00BBGGRR, red in the low byte.
#include <cstdint>

namespace lumora {

struct Colorref {
    std::uint32_t value = 0;

    static constexpr Colorref rgb(int red, int green, int blue) {
        return Colorref{static_cast<std::uint32_t>(red & 0xFF) |
                        (static_cast<std::uint32_t>(green & 0xFF) << 8) |
                        (static_cast<std::uint32_t>(blue & 0xFF) << 16)};
    }
    constexpr int red() const { return static_cast<int>(value & 0xFF); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xFF); }
    constexpr int blue() const { return static_cast<int>((value >> 16) & 0xFF); }
    constexpr bool operator==(const Colorref&) const = default;
};

} // namespace lumora
