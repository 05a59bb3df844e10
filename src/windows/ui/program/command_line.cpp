#include "windows/ui/program/command_line.h"

#include "core/text/help_text.h"

#include <array>

namespace lumora {

namespace {

constexpr std::array<OptionText, 3> kOptions{{
    kHelpOption,
    kVersionOption,
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

std::string helpText() {
    return helpHeading() + "\nOptions:\n" + helpTable(kOptions) + "\nExit status:\n" +
           helpTable(kExitStatus) + "\nFiles:\n" + helpTable(kFiles);
}

} // namespace lumora
