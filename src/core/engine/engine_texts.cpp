#include "core/engine/engine_texts.h"

#include "core/text/translation.h"

namespace lumora {

std::string selectedPictureText(const std::string& day) {
    return compose(
        LUMORA_TR("Lumora", "Your %1's selected picture has been used matching your settings."),
        {day});
}

std::string noPictureDefaultText(const std::string& day) {
    return compose(LUMORA_TR("Lumora", "There is no picture selected for %1.\n\r"
                                       "The default Lumora wallpaper has been used."),
                   {day});
}

std::string noPictureNoWallpaperText(const std::string& day) {
    return compose(
        LUMORA_TR("Lumora", "There is no picture selected for %1.\n\rNo wallpaper has been used."),
        {day});
}

std::string defaultModeText() {
    return compose(
        LUMORA_TR("Lumora", "The default Lumora wallpaper has been used\n\rmatching your settings"),
        {});
}

std::string noWallpaperModeText() {
    return compose(LUMORA_TR("Lumora", "No wallpaper has been used\n\rmatching your settings"), {});
}

std::string dayChangeText(const std::string& day) {
    return compose(LUMORA_TR("Lumora", "Your wallpaper has been set for %1"), {day});
}

} // namespace lumora
