#pragma once
// The registry seam: the five registry calls the settings routines need, with the registry's own
// handles, access masks, value types and status codes. On Linux the per-user settings file serves
// it; tests use an in-memory registry.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace lumora {

using RegKey = std::uint32_t;

inline constexpr RegKey HKEY_CURRENT_USER = 0x80000001u;
inline constexpr RegKey HKEY_LOCAL_MACHINE = 0x80000002u;

inline constexpr std::uint32_t KEY_QUERY_VALUE = 0x1;
inline constexpr std::uint32_t KEY_SET_VALUE = 0x2;
inline constexpr std::uint32_t KEY_CREATE_ACCESS =
    0x3F; // query, set, create subkey, enumerate, notify, link

inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

inline constexpr std::int32_t ERROR_SUCCESS = 0;
inline constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
inline constexpr std::int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr std::int32_t ERROR_MORE_DATA = 234;

// A failure of the store itself (not a status code): a settings file that exists but cannot be
// read, for example. `code` is the platform's error number (errno on Linux); `what()` says why in
// a few words ("it is a folder"), `where()` names the store (the settings file's path).
class StoreFailure : public std::runtime_error {
public:
    StoreFailure(int code, const std::string& what, std::string where = {})
        : std::runtime_error(what), m_code(code), m_where(std::move(where)) {}
    int code() const noexcept { return m_code; }
    const std::string& where() const noexcept { return m_where; }

private:
    int m_code;
    std::string m_where;
};

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Creates `path` under `root` when missing (non-volatile) and opens it. Status code.
    virtual std::int32_t createKey(RegKey root, const std::string& path, std::uint32_t access,
                                   RegKey* opened) = 0;
    // Opens an existing key. ERROR_FILE_NOT_FOUND when it does not exist; `*opened` stays 0 then.
    virtual std::int32_t openKey(RegKey root, const std::string& path, std::uint32_t access,
                                 RegKey* opened) = 0;
    // Type and size of a value without reading it (data == nullptr), or the data too, as the
    // registry stores it (a string value's bytes include its terminating zero).
    virtual std::int32_t queryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                    std::vector<std::uint8_t>* data, std::uint32_t* size) = 0;
    virtual std::int32_t setValue(RegKey key, const std::string& name, std::uint32_t type,
                                  const std::vector<std::uint8_t>& data) = 0;
    virtual std::int32_t closeKey(RegKey key) = 0;
};

} // namespace lumora
