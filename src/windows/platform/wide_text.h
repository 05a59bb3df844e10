#pragma once
// UTF-8 at the core's ports, UTF-16 at the Windows API: the one crossing between the two.
#include <string>

namespace lumora {

// Bytes that are not UTF-8 become U+FFFD, as Windows itself replaces them.
std::wstring wideFromUtf8(const std::string& text);
std::string utf8FromWide(const std::wstring& text);

} // namespace lumora
