#pragma once
// Text for the console a WIN32-subsystem program has not got of its own: the output goes where
// the program's standard handles lead (a pipe or a file when redirected), otherwise to the
// console of the process that started it (a command prompt), when there is one.
#include <string>
#include <vector>

namespace lumora {

enum class ConsoleStream { Output, Error };

// Writes UTF-8 text; nothing when there is nowhere to write it.
void writeConsole(ConsoleStream stream, const std::string& text);

// The program's arguments after its name, as UTF-8.
std::vector<std::string> programArguments();

} // namespace lumora
