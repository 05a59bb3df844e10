#include "core/settings/frm_main_state.h"

namespace lumora {

const std::string& RunState::dayName(int weekdayNumber) const {
    static const std::string none;
    if (weekdayNumber < 1 || weekdayNumber > 7) {
        return none;
    }
    return DayNames[static_cast<std::size_t>(weekdayNumber - 1)];
}

std::optional<StyleInfo> styleInfo(float style) {
    if (style == 1.0f) {
        //: The letter of a day panel that cycles the style: stretch.
        return StyleInfo{LUMORA_TR("Lumora", "S"), LUMORA_TR("Lumora", "Stretch Wallpaper"), 2};
    }
    if (style == 2.0f) {
        //: The letter of a day panel that cycles the style: centre.
        return StyleInfo{LUMORA_TR("Lumora", "C"), LUMORA_TR("Lumora", "Center Wallpaper"), 0};
    }
    if (style == 3.0f) {
        //: The letter of a day panel that cycles the style: tile.
        return StyleInfo{LUMORA_TR("Lumora", "T"), LUMORA_TR("Lumora", "Tile Wallpaper"), 1};
    }
    if (style == 4.0f) {
        return StyleInfo{"", "", 3};
    }
    return std::nullopt;
}

std::optional<int> desktopStyleFor(float style) {
    auto info = styleInfo(style);
    if (!info) {
        return std::nullopt;
    }
    return info->desktopStyle;
}

} // namespace lumora
