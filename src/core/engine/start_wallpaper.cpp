#include "core/engine/start_wallpaper.h"

#include "core/settings/frm_main_state.h"

namespace lumora {

std::optional<ExpectedWallpaper> expectedStartWallpaper(Registry& registry, Options& options,
                                                        int weekdayNumber) {
    if (weekdayNumber < 1 || weekdayNumber > 7 || readDirectWall(options) != 1.0f) {
        return std::nullopt;
    }
    ExpectedWallpaper expected;
    try {
        expected.path = registry.GetRegValue(
            HKEY_CURRENT_USER, kLocalSettingsKey,
            std::string(kDayNames.at(static_cast<std::size_t>(weekdayNumber - 1))));
    } catch (...) {
        return std::nullopt;
    }
    if (expected.path.empty() || expected.path.starts_with("Error")) {
        return std::nullopt;
    }
    const std::optional<float> style = readStyl(options, weekdayNumber);
    const std::optional<int> desktopStyle = desktopStyleFor(style.value_or(0.0f));
    if (!desktopStyle) {
        return std::nullopt;
    }
    expected.style = *desktopStyle;
    expected.color = parseColorText(readBackColor(options)).value_or(0);
    return expected;
}

} // namespace lumora
