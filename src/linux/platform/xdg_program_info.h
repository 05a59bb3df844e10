#pragma once
// The running program's path and the picture folder of the XDG data home.
#include "core/ports/program_info.h"

#include <string>

namespace lumora {

class XdgProgramInfo : public ProgramInfo {
public:
    // The application's own path when a Qt application object exists, else /proc/self/exe.
    std::string executablePath() const override;
    // $XDG_DATA_HOME/lumora (only an absolute XDG_DATA_HOME counts), else
    // ~/.local/share/lumora; created when missing, at every call.
    std::string pictureFolder() const override;

    // The folder without creating it.
    static std::string pictureFolderPath();
};

} // namespace lumora
