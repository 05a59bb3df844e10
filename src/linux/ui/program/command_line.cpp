#include "linux/ui/program/command_line.h"

#include "core/text/help_text.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace lumora {

namespace {

constexpr std::array<OptionText, 3> kOptions{{
    kHelpOption,
    kVersionOption,
    {"--refresh",
     "Set today's wallpaper now. A running Lumora is asked over the session bus to do it (as "
     "its menu's Refresh Wallpaper does); when none runs, today's wallpaper is set once and the "
     "program ends without an icon."},
}};
constexpr std::array<OptionText, 3> kExitStatus{{
    {"0", "Success."},
    {"1", "No display to show on, or the wallpaper could not be set (--refresh)."},
    {"2", "A wrong command line."},
}};
constexpr std::array<OptionText, 3> kFiles{{
    {"$XDG_CONFIG_HOME/lumora/lumora.conf", "The settings (normally ~/.config/lumora)."},
    {"$XDG_DATA_HOME/lumora/",
     "The day pictures and Default.bmp (normally ~/.local/share/lumora)."},
    {"$XDG_CONFIG_HOME/autostart/lumora.desktop", "Start at logon."},
}};

// Qt's own options, handled by QApplication; those in the first list take a value.
constexpr std::array<std::string_view, 13> kQtValueOptions{"platform",
                                                           "platformpluginpath",
                                                           "platformtheme",
                                                           "plugin",
                                                           "qwindowgeometry",
                                                           "qwindowicon",
                                                           "qwindowtitle",
                                                           "display",
                                                           "geometry",
                                                           "style",
                                                           "stylesheet",
                                                           "session",
                                                           "name"};
constexpr std::array<std::string_view, 6> kQtFlagOptions{"reverse", "sync",   "widgetcount",
                                                         "nograb",  "dograb", "qmljsdebugger"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& list, std::string_view word) {
    for (std::string_view w : list) {
        if (w == word) {
            return true;
        }
    }
    return false;
}

// "--name=value" or "-name": the name without dashes and value.
std::string_view optionWord(std::string_view arg) {
    arg.remove_prefix(arg.size() > 1 && arg[1] == '-' ? 2 : 1);
    return arg.substr(0, arg.find('='));
}

// troff text: a leading dot or quote would be a request, a backslash an escape, a dash a hyphen.
std::string roff(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) {
        out.insert(0, "\\&");
    }
    return out;
}

template <std::size_t N> std::string manTable(const std::array<OptionText, N>& rows, bool bold) {
    std::string out;
    for (const OptionText& row : rows) {
        out += std::string(".TP\n") + (bold ? ".B " : "") + roff(row.names) + "\n" +
               roff(row.description) + "\n";
    }
    return out;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            return {CommandLine::Action::Help, {}};
        }
        if (arg == "-v" || arg == "--version") {
            return {CommandLine::Action::Version, {}};
        }
        if (arg == "--refresh") {
            result.action = CommandLine::Action::Refresh;
        } else if (arg.size() > 1 && arg[0] == '-' && contains(kQtValueOptions, optionWord(arg))) {
            if (arg.find('=') == std::string_view::npos) {
                ++i; // the value follows
            }
        } else if (arg.size() > 1 && arg[0] == '-' && contains(kQtFlagOptions, optionWord(arg))) {
            // Qt's
        } else if (!arg.empty() && arg[0] == '-') {
            return {CommandLine::Action::Error, "unknown option '" + std::string(arg) + "'"};
        } else {
            return {CommandLine::Action::Error, "unexpected argument '" + std::string(arg) + "'"};
        }
    }
    return result;
}

std::string helpText() {
    return helpHeading() + "\nOptions:\n" + helpTable(kOptions) + "\nExit status:\n" +
           helpTable(kExitStatus);
}

std::string manPage() {
    return ".TH LUMORA 1 \"\" \"" + versionText() + "\" \"User Commands\"\n" + ".SH NAME\n" +
           "lumora \\- " + roff(kCommandSummary) + "\n" +
           ".SH SYNOPSIS\n.B lumora\n[\\fIoptions\\fR]\n" + ".SH DESCRIPTION\n" +
           roff(kCommandDescription) + "\n" + ".SH OPTIONS\n" + manTable(kOptions, true) +
           ".SH EXIT STATUS\n" + manTable(kExitStatus, false) + ".SH FILES\n" +
           manTable(kFiles, false);
}

} // namespace lumora
