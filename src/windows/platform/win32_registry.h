#pragma once
// The registry seam on the real registry, through its wide-character functions: key paths, value
// names and string data cross as UTF-8 at the port and as UTF-16 in the registry, so any name
// survives, whatever the system's ANSI code page. Status codes are the registry's own; nothing is
// raised. A string value reads back as the UTF-8 of exactly what is stored, its terminating zero
// included when there is one, so the settings routines' terminator rule holds as it does on
// Windows.
#include "core/ports/registry_backend.h"

#include <map>

namespace lumora {

class Win32Registry : public RegistryBackend {
public:
    Win32Registry() = default;
    ~Win32Registry() override;
    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;

    std::int32_t createKey(RegKey root, const std::string& path, std::uint32_t access,
                           RegKey* opened) override;
    std::int32_t openKey(RegKey root, const std::string& path, std::uint32_t access,
                         RegKey* opened) override;
    std::int32_t queryValue(RegKey key, const std::string& name, std::uint32_t* type,
                            std::vector<std::uint8_t>* data, std::uint32_t* size) override;
    std::int32_t setValue(RegKey key, const std::string& name, std::uint32_t type,
                          const std::vector<std::uint8_t>& data) override;
    std::int32_t closeKey(RegKey key) override;

private:
    // The port's handles are 32-bit numbers; the registry's are pointers. Open keys are
    // numbered here; the two root keys keep their own numbers.
    void* handleOf(RegKey key) const;
    std::int32_t open(RegKey root, const std::string& path, std::uint32_t access, RegKey* opened,
                      bool create);
    RegKey remember(void* handle);

    std::map<RegKey, void*> m_open;
    RegKey m_next = 1;
};

} // namespace lumora
