#include "windows/ui/tray/program_icon.h"

#include <vector>

namespace lumora {

IconHandle makeProgramIcon(const Resources& resources, int size) {
    std::vector<std::uint8_t> png = resources.bytes("icon_png");
    if (png.empty()) {
        return IconHandle();
    }
    // An icon image may be PNG-compressed; the system scales it to the size asked for.
    return IconHandle(CreateIconFromResourceEx(png.data(), static_cast<DWORD>(png.size()), TRUE,
                                               0x00030000, size, size, LR_DEFAULTCOLOR));
}

} // namespace lumora
