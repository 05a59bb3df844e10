#pragma once
// The notification-area seam: the icon record handed over as the shell's notify call would get it.
#include <cstdint>

namespace lumora {

struct TrayIconData;

inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;

class TrayHost {
public:
    virtual ~TrayHost() = default;
    // Returns true when the host took the call. Callers ignore the result.
    virtual bool notifyIcon(std::uint32_t message, const TrayIconData& data) = 0;
};

} // namespace lumora
