#pragma once
// The one icon record of the process, laid out field by field as the shell's notify call takes
// it (the version with balloon fields). Text fields are fixed byte arrays holding UTF-8.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lumora {

inline constexpr std::uint32_t kTrayIconDataSize = 488;
inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x200;

inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;
inline constexpr std::uint32_t NIF_INFO = 16;

inline constexpr std::uint32_t NIIF_NONE = 0;
inline constexpr std::uint32_t NIIF_INFO = 1;
inline constexpr std::uint32_t NIIF_WARNING = 2;
inline constexpr std::uint32_t NIIF_ERROR = 3;

struct TrayIconData {
    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    std::array<char, 128> szTip{};
    std::uint32_t dwState = 0;
    std::uint32_t dwStateMask = 0;
    std::array<char, 256> szInfo{};
    std::uint32_t uTimeout = 0;
    std::array<char, 64> szInfoTitle{};
    std::uint32_t dwInfoFlags = 0;
};

// Stores `text` followed by one NUL into `field`, padded with spaces after the NUL. A text that
// does not fit is cut at the field's width in bytes, on a character boundary (a UTF-8 sequence is
// never split), and then has no NUL; bytes left over by the cut are spaces.
void storeFieldText(char* field, std::size_t width, const std::string& text);

template <std::size_t N> void storeFieldText(std::array<char, N>& field, const std::string& text) {
    storeFieldText(field.data(), N, text);
}

// The text a field holds: the bytes before its first NUL, or the whole field when it has none.
std::string fieldText(const char* field, std::size_t width);

template <std::size_t N> std::string fieldText(const std::array<char, N>& field) {
    return fieldText(field.data(), N);
}

} // namespace lumora
