#pragma once
#include <string>

namespace lumora {

// Facts about the running program and where it keeps its files.
class ProgramInfo {
public:
    virtual ~ProgramInfo() = default;
    // Absolute path of the running executable.
    virtual std::string executablePath() const = 0;
    // The folder for the day copies and the default picture, with no trailing separator.
    // Created on first use.
    virtual std::string pictureFolder() const = 0;
};

} // namespace lumora
