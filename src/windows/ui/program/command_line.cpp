#include "windows/ui/program/command_line.h"

#include "core/text/texts.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace lumora {

namespace {

struct OptionText {
    const char* names;       // as --help shows them
    const char* description; // one sentence or two
};

constexpr const char* kSummary = "a different desktop wallpaper for each day of the week";
constexpr const char* kDescription =
    "Lumora sits in the notification area, sets today's picture at start-up and within a second "
    "of midnight, and reports what it did in short notifications. Without options it starts in "
    "the notification area; a second start while it runs shows a box saying so and ends.";
constexpr std::array<OptionText, 3> kOptions{{
    {"-h, --help", "Show this help and exit."},
    {"-v, --version", "Show the version and exit."},
    {"--refresh",
     "Set today's wallpaper now. A running Lumora is asked to do it (as its menu's Refresh "
     "Wallpaper does); when none runs, today's wallpaper is set once and the program ends "
     "without an icon."},
}};
constexpr std::array<OptionText, 3> kExitStatus{{
    {"0", "Success."},
    {"1", "The wallpaper could not be set (--refresh)."},
    {"2", "A wrong command line."},
}};
constexpr std::array<OptionText, 3> kFiles{{
    {"HKEY_CURRENT_USER\\Software\\Vintrel\\Options", "The settings."},
    {"%LOCALAPPDATA%\\Lumora\\", "The day pictures and Default.bmp."},
    {"...\\CurrentVersion\\Run, value Lumora", "Start at logon."},
}};

// Text wrapped at `width` columns, each line indented by `indent` spaces.
std::string wrap(std::string_view text, std::size_t indent, std::size_t width) {
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

template <std::size_t N> std::string helpTable(const std::array<OptionText, N>& rows) {
    std::string out;
    for (const OptionText& row : rows) {
        out += "  " + std::string(row.names) + "\n" + wrap(row.description, 6, 79);
    }
    return out;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (const std::string& arg : arguments) {
        // Windows programs also take "/?".
        if (arg == "-h" || arg == "--help" || arg == "/?") {
            return {CommandLine::Action::Help, {}};
        }
        if (arg == "-v" || arg == "--version") {
            return {CommandLine::Action::Version, {}};
        }
        if (arg == "--refresh") {
            result.action = CommandLine::Action::Refresh;
        } else if (!arg.empty() && arg[0] == '-') {
            return {CommandLine::Action::Error, "unknown option '" + arg + "'"};
        } else {
            return {CommandLine::Action::Error, "unexpected argument '" + arg + "'"};
        }
    }
    return result;
}

std::string versionText() {
    return std::string(kProductName) + " " + versionNumber();
}

std::string helpText() {
    return "Usage: lumora [options]\n" + versionText() + ": " + kSummary + ".\n\n" +
           wrap(kDescription, 0, 79) + "\nOptions:\n" + helpTable(kOptions) + "\nExit status:\n" +
           helpTable(kExitStatus) + "\nFiles:\n" + helpTable(kFiles);
}

} // namespace lumora
