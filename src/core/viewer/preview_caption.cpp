#include "core/viewer/preview_caption.h"

#include "core/text/texts.h"
#include "core/text/translation.h"

namespace lumora::viewer {

std::string groupedNumber(std::uintmax_t value, const std::string& separator) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

std::string previewSizeText(std::uintmax_t bytes, const std::string& separator) {
    const std::uintmax_t kilobytes = bytes / 1024;
    if (kilobytes > 1) {
        return compose(LUMORA_TR("Lumora", "%1 KB"), {groupedNumber(kilobytes, separator)});
    }
    return compose(LUMORA_TR("Lumora", "%1 Bytes"), {groupedNumber(bytes, separator)});
}

std::string previewCaption(const std::string& path, int width, int height, std::uintmax_t bytes,
                           const std::string& separator) {
    return compose(
        LUMORA_TR("Lumora", "Lumora - %1 [%2 x %3 pixels - %4]"),
        {path, std::to_string(width), std::to_string(height), previewSizeText(bytes, separator)});
}

} // namespace lumora::viewer
