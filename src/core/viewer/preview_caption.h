#pragma once
// The preview window's caption: "Lumora - <path> [<width> x <height> pixels - <size>]".
#include <cstdint>
#include <string>

namespace lumora::viewer {

// A whole number with `separator` between groups of three digits ("2,304" for ",").
std::string groupedNumber(std::uintmax_t value, const std::string& separator);

// A file length: whole kilobytes with " KB" from 2,048 bytes on, the fraction dropped; below
// that the bytes with " Bytes". Both grouped by `separator`.
std::string previewSizeText(std::uintmax_t bytes, const std::string& separator);

std::string previewCaption(const std::string& path, int width, int height, std::uintmax_t bytes,
                           const std::string& separator);

} // namespace lumora::viewer
