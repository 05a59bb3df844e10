#pragma once
// What a BMP, PNG or GIF file declares, read from its bytes before any decoder sees it. Some
// decoders trust these headers: a BMP whose height is the most negative number, or that declares
// more rows than it holds, or a GIF of hundreds of full-screen frames decoded all at once, would
// hang the program or take gigabytes. Other formats are left to the decoder (Unknown).
#include "core/ports/pictures.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace lumora {

enum class HeaderCheck {
    Sound,   // a header of a known format that is within every limit
    Refused, // a known format whose header lies, is cut, or declares too much
    Unknown, // not a BMP, PNG or GIF
};

struct HeaderFacts {
    HeaderCheck check = HeaderCheck::Unknown;
    PixelSize size;     // as declared, for a Sound header
    std::string reason; // for Refused: why, one line
};

// Reads `file` (positioned at its start, `length` bytes long) as far as it needs: the header of
// a BMP or PNG, every frame's descriptor of a GIF. A GIF's frames together may declare at most
// kMaxPicturePixels.
HeaderFacts checkPictureHeader(std::FILE* file, std::uintmax_t length);

} // namespace lumora
