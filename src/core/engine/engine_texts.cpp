#include "core/engine/engine_texts.h"

#include "core/text/texts.h"

namespace lumora {

std::string selectedPictureText(const std::string& day) {
    return "Your " + day + "'s selected picture has been used matching your settings.";
}

std::string noPictureDefaultText(const std::string& day) {
    return "There is no picture selected for " + day + "." + kLineBreak +
           "The default Lumora wallpaper has been used.";
}

std::string noPictureNoWallpaperText(const std::string& day) {
    return "There is no picture selected for " + day + "." + kLineBreak +
           "No wallpaper has been used.";
}

std::string defaultModeText() {
    return std::string("The default Lumora wallpaper has been used") + kLineBreak +
           "matching your settings";
}

std::string noWallpaperModeText() {
    return std::string("No wallpaper has been used") + kLineBreak + "matching your settings";
}

std::string dayChangeText(const std::string& day) {
    return "Your wallpaper has been set for " + day;
}

} // namespace lumora
