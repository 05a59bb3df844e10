#include "core/text/help_text.h"

#include "core/text/texts.h"

namespace lumora {

std::string versionText() {
    return std::string(kProductName) + " " + versionNumber();
}

std::string wrapText(std::string_view text, std::size_t indent, std::size_t width) {
    std::string out;
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view word = text.substr(start, end - start);
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            out += std::string(indent, ' ') + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + std::string(word);
        start = end + 1;
    }
    if (!line.empty()) {
        out += std::string(indent, ' ') + line + "\n";
    }
    return out;
}

std::string helpTable(std::span<const OptionText> rows) {
    std::string out;
    for (const OptionText& row : rows) {
        out += "  " + std::string(row.names) + "\n" + wrapText(row.description, 6, 79);
    }
    return out;
}

std::string helpHeading() {
    return "Usage: lumora [options]\n" + versionText() + ": " + kCommandSummary + ".\n\n" +
           wrapText(kCommandDescription, 0, 79);
}

} // namespace lumora
