#pragma once
// The text form of the settings: registry keys under their roots with typed values, and option
// texts by "application\section", one item a line, readable and editable by a person.
//
//   # comment
//   [HKEY_CURRENT_USER\Software\Corvane\Local Settings]
//   "Monday" = "/home/ann/.local/share/lumora/Monday.jpg"
//   "Count" = dword:42
//   "Blob" = hex(3):01,ff,00
//   [Vintrel\Options]
//   "DispMess" = "True"
//
// Quoted texts escape backslash, quote and control characters ("\\", "\"", "\n", "\r", "\t",
// "\xHH"); bytes that are not UTF-8 are written as "\xHH" too, so every byte round-trips while
// non-ASCII text stays readable. Parsing never fails as a whole: lines it cannot use are skipped
// and reported by number.
#include "core/settings/memory_registry.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct SettingsParseReport {
    std::vector<std::size_t> badLines; // 1-based numbers of the lines that were skipped
    bool damaged() const { return !badLines.empty(); }
};

// The whole store as text, in a stable order (keys by root and path, values in the order they
// were first written, options by section and key).
std::string serializeSettings(const MemoryRegistry& store);

// Adds what `text` holds to `into` (a value named twice keeps the later one).
SettingsParseReport parseSettings(std::string_view text, MemoryRegistry& into);

// The quoted form of a text and back; exposed for the tests. `unquoteText` takes the text
// between the quotes and returns false on a bad escape.
std::string quoteText(std::string_view text);
bool unquoteText(std::string_view quoted, std::string& out);

// "HKEY_CURRENT_USER" / "HKEY_LOCAL_MACHINE"; empty for another handle.
std::string rootName(RegKey root);

} // namespace lumora
