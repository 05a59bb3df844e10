#pragma once
#include "core/ports/resources.h"

namespace lumora {

// The built-in resources compiled in under ":/lumora/".
class QtResources : public Resources {
public:
    std::vector<std::uint8_t> bytes(const std::string& name) const override;

    // ":/lumora/default.bmp" for "default_bmp"; empty for an unknown name.
    static std::string resourcePath(const std::string& name);
};

} // namespace lumora
