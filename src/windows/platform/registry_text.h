#pragma once
// String values of the registry in a few calls, for the services that keep texts there (the
// options, the Run value). Roots are the port's numbers (0x80000001 for the current user).
#include "core/ports/registry_backend.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

// The text of a string value; nothing when the key or the value is missing, or the value is of
// another type.
std::optional<std::string> readRegistryText(RegKey root, const std::string& path,
                                            const std::string& name);
// Writes a string value; the key is created when `create`, else it must exist. The registry's
// status code.
std::int32_t writeRegistryText(RegKey root, const std::string& path, const std::string& name,
                               const std::string& text, bool create);
// Deletes a value; success when it is gone (or never was).
std::int32_t deleteRegistryValue(RegKey root, const std::string& path, const std::string& name);

} // namespace lumora
