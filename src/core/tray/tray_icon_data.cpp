#include "core/tray/tray_icon_data.h"

#include <algorithm>

namespace lumora {

namespace {
// Length in bytes of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead <= 0xEF ? 3 : 1;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}
} // namespace

void storeFieldText(char* field, std::size_t width, const std::string& text) {
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t len = sequenceLength(static_cast<unsigned char>(text[i]));
        len = std::min(len, text.size() - i);
        if (used + len > width) {
            break;
        }
        std::copy_n(text.data() + i, len, field + used);
        used += len;
        i += len;
    }
    bool whole = i >= text.size();
    if (whole && used < width) {
        field[used++] = '\0';
    }
    std::fill(field + used, field + width, ' ');
}

std::string fieldText(const char* field, std::size_t width) {
    const char* end = std::find(field, field + width, '\0');
    return std::string(field, end);
}

} // namespace lumora
