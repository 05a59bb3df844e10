#pragma once
// The alerts of the wallpaper engine. Two-line texts join their lines with a line feed and a
// carriage return.
#include <string>

namespace lumora {

// The day's own picture was set.
std::string selectedPictureText(const std::string& day);
// The day has no picture and the default picture was set.
std::string noPictureDefaultText(const std::string& day);
// The day has no picture and no wallpaper was set.
std::string noPictureNoWallpaperText(const std::string& day);
// Desktop mode 2: the default picture.
std::string defaultModeText();
// Desktop mode 3: no wallpaper.
std::string noWallpaperModeText();
// After the change of day.
std::string dayChangeText(const std::string& day);

} // namespace lumora
