#pragma once
// What each desktop calls the four wallpaper styles and the background colour, and the escaping
// each desktop's own syntax needs for a file path (file URI, JavaScript string literal, argument
// list). Pure functions: the backends call them, the unit tests check them row by row.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// GSettings `picture-options` nick (GNOME, Cinnamon and MATE share these four).
// Styles outside 0..3 give nothing: the desktop keeps its current option.
std::optional<std::string> gsettingsPictureOptions(int style);
// xfdesktop `image-style`: 1 centred, 2 tiled, 3 stretched, 4 scaled. 0 is "none" (no picture).
inline constexpr int XFCE_IMAGE_STYLE_NONE = 0;
std::optional<int> xfceImageStyle(int style);
// Plasma image wallpaper `FillMode` (a Qt Quick Image fill mode).
std::optional<int> kdeFillMode(int style);
// swaybg `-m` mode.
std::optional<std::string> swaybgMode(int style);

// 0x00BBGGRR (red in the low byte) as "#rrggbb", lower case.
std::string colorHex(std::uint32_t rgb);
// The same colour as xfconf's `rgba1`: red, green, blue, alpha as doubles in [0, 1].
std::array<double, 4> xfceRgba(std::uint32_t rgb);

// An absolute path as a file:// URI, every byte that needs it percent-encoded (GLib's encoder,
// the one GNOME decodes with). Empty for an empty or relative path.
std::string fileUri(const std::string& path);

// A double-quoted JavaScript string literal holding `text` (UTF-8): quotes, backslashes and
// control characters escaped JSON-style, U+2028 and U+2029 as \u escapes (they end a line in
// older engines), and "</" written as "<\/". Bytes that are not valid UTF-8 become U+FFFD.
std::string javaScriptStringLiteral(std::string_view text);

// The Plasma shell script that puts the picture (empty = no picture: the plain colour plugin)
// in the style, with the colour, on every desktop. `color` empty leaves the colour alone.
// A desktop that already shows the same picture is cleared first, so a picture changed at the
// same path is read again (Plasma caches pictures by path).
std::string kdeWallpaperScript(const std::string& path, int style,
                               const std::optional<std::uint32_t>& color);
// The Plasma shell script that only sets the colour of both the image and the plain colour
// plugin on every desktop.
std::string kdeColorScript(std::uint32_t color);

// swaybg's arguments for every output: the picture in the style on the colour, or the colour
// alone when the path is empty. An argument list: nothing is interpreted by a shell.
std::vector<std::string> swaybgArguments(const std::string& path, int style, std::uint32_t color);

} // namespace lumora
