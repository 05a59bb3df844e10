#pragma once
// The command line: what each option does, read before anything else (no display, no settings,
// no instance lock), and the texts of --help and of the manual page, both made from one table.
#include "core/text/help_text.h"

#include <string>
#include <vector>

namespace lumora {

struct CommandLine {
    enum class Action { Run, Refresh, Help, Version, Error };
    Action action = Action::Run;
    std::string error; // for Error: what was wrong, one line
};

// Reads argv. Qt's own options (-platform, -display, -style, ...) are left for Qt.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The --help text: usage, description, options, exit status.
std::string helpText();
// The manual page lumora(1), in troff's man macros.
std::string manPage();

} // namespace lumora
