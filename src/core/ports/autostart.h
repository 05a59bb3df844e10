#pragma once
// Start at logon: the per-user autostart entry.
#include <string>

namespace lumora {

class Autostart {
public:
    virtual ~Autostart() = default;
    // Writes the entry for `programPath`, enabled or disabled. True when it is on disk as asked.
    virtual bool write(const std::string& programPath, bool enabled) = 0;
    // Whether an enabled entry is on disk now.
    virtual bool isEnabled() const = 0;
};

} // namespace lumora
