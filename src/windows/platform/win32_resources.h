#pragma once
// The built-in pictures and icon from the program's own resources (RCDATA, named as the core
// names them: "default_bmp", "nopicture_bmp", "logo_bmp", "icon_png"), packed in the program
// (tools/pack_resource.py) and given back unpacked, byte for byte the committed files.
#include "core/ports/resources.h"

namespace lumora {

class Win32Resources : public Resources {
public:
    std::vector<std::uint8_t> bytes(const std::string& name) const override;
};

} // namespace lumora
