#pragma once
// The command line of lumora.exe: what each option does, read before anything else (no window,
// no settings, no instance mutex), and the text of --help, made from one table.
#include "core/text/help_text.h"

#include <string>
#include <vector>

namespace lumora {

struct CommandLine {
    enum class Action { Run, Refresh, Help, Version, Error };
    Action action = Action::Run;
    std::string error; // for Error: what was wrong, one line
};

// Reads the arguments after the program's name (UTF-8).
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The --help text: usage, description, options, exit status, files.
std::string helpText();

} // namespace lumora
