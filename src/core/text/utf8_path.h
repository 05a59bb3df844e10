#pragma once
// The one crossing between the core's UTF-8 text and file system paths. A path made from a
// std::string directly would read the bytes in the system's narrow encoding (the C locale or the
// ANSI code page on Windows) and break every name outside ASCII there.
#include <filesystem>
#include <string>
#include <string_view>

namespace lumora {

// The path a UTF-8 text names. Where names are bytes (Linux) the bytes are kept as they are, even
// when they are not UTF-8; where names are UTF-16 (Windows) the text is converted, and a text
// that is not UTF-8 throws std::filesystem::filesystem_error.
std::filesystem::path pathFromUtf8(std::string_view text);

// The UTF-8 text of a path: its bytes where names are bytes, converted where they are UTF-16.
std::string utf8FromPath(const std::filesystem::path& path);

} // namespace lumora
