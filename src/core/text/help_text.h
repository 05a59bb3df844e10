#pragma once
// The texts of --help (and of the manual page) both editions share: what Lumora is, its options
// and exit statuses as rows of names and descriptions, wrapped for a terminal. Each edition adds
// what only it says (how --refresh reaches the running program, where its files are).
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace lumora {

struct OptionText {
    const char* names;       // as --help shows them
    const char* description; // one sentence or two
};

inline constexpr const char* kCommandSummary =
    "a different desktop wallpaper for each day of the week";
inline constexpr const char* kCommandDescription =
    "Lumora sits in the notification area, sets today's picture at start-up and within a second "
    "of midnight, and reports what it did in short notifications. Without options it starts in "
    "the notification area; a second start while it runs shows a box saying so and ends.";
inline constexpr OptionText kHelpOption{"-h, --help", "Show this help and exit."};
inline constexpr OptionText kVersionOption{"-v, --version", "Show the version and exit."};

// "Lumora 2.2.4"
std::string versionText();
// Text wrapped at `width` columns, each line indented by `indent` spaces.
std::string wrapText(std::string_view text, std::size_t indent, std::size_t width);
// Rows as --help shows them: the names indented by two, the description wrapped below by six.
std::string helpTable(std::span<const OptionText> rows);
// "Usage: lumora [options]", the version and summary, the description wrapped at 79 columns.
std::string helpHeading();

} // namespace lumora
