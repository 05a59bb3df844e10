#pragma once
// The running program's path and its picture folder, %LOCALAPPDATA%\Lumora: a standard user may
// not create files in the root of the system drive, where the day copies once went.
#include "core/ports/program_info.h"

#include <string>

namespace lumora {

class Win32ProgramInfo : public ProgramInfo {
public:
    std::string executablePath() const override;
    // Created on first use.
    std::string pictureFolder() const override;
};

} // namespace lumora
