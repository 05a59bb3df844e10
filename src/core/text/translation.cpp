#include "core/text/translation.h"

#include <atomic>

namespace lumora {

namespace {
std::atomic<TextTranslator> g_translator{nullptr};
} // namespace

void setTextTranslator(TextTranslator translator) {
    g_translator.store(translator);
}

std::string translated(const std::string& english) {
    const TextTranslator translator = g_translator.load();
    return translator ? translator(english) : english;
}

std::string compose(const char* sentence, std::initializer_list<std::string_view> parts) {
    const TextTranslator translator = g_translator.load();
    const std::string pattern = translator ? translator(sentence) : std::string(sentence);
    std::string out;
    out.reserve(pattern.size() + 32);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto number = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (number < parts.size()) {
                const std::string_view part = *(parts.begin() + number);
                if (translator) {
                    out += translator(std::string(part));
                } else {
                    out.append(part);
                }
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace lumora
