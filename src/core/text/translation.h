#pragma once
// Texts the user sees, and their translation.
//
// Every such text is written in English where it is made and marked with LUMORA_TR, which leaves
// it exactly as it is. lupdate reads the marker as QT_TRANSLATE_NOOP (translations/CMakeLists.txt)
// and so lists every marked text in translations/lumora_<lang>.ts, all under the context "Lumora".
// The texts stay English inside the program; a text becomes the user's language only where it is
// shown, through translated(). A sentence made of parts is one marked text with %1, %2, ... in
// place of the parts, put together by compose(), which translates the whole sentence and each part.
// Until the Qt side installs a translation (ui/program/translation.h), both give the English text
// unchanged, byte for byte.
#include <initializer_list>
#include <string>
#include <string_view>

// The first argument is always "Lumora" (kTextContext): lupdate needs the context spelled out.
#define LUMORA_TR(context, text) text

namespace lumora {

inline constexpr const char* kTextContext = "Lumora";

// Returns the translation of an English text, or the text itself when it has none.
using TextTranslator = std::string (*)(const std::string& english);

// Installed once at start when a translation for the user's language was loaded; nullptr
// removes it.
void setTextTranslator(TextTranslator translator);

// The text as the user sees it.
std::string translated(const std::string& english);

// A marked sentence with %1..%9 replaced by the parts, each part as the user sees it. Other
// characters, and a % not followed by the number of a part, are copied.
std::string compose(const char* sentence, std::initializer_list<std::string_view> parts);

} // namespace lumora
