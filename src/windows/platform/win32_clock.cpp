#include "windows/platform/win32_clock.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <utility>

namespace lumora {

namespace {

// `picture` of the date `when` in the locale; empty when it cannot be made.
std::string formatted(const std::wstring& locale, const SYSTEMTIME& when, const wchar_t* picture) {
    wchar_t text[128] = {};
    if (GetDateFormatEx(locale.empty() ? LOCALE_NAME_USER_DEFAULT : locale.c_str(), 0, &when,
                        picture, text, 128, nullptr) == 0) {
        return {};
    }
    return utf8FromWide(text);
}

} // namespace

Win32Clock::Win32Clock(std::string locale) : m_locale(std::move(locale)) {}

DateTime Win32Clock::now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return DateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wDayOfWeek + 1};
}

std::string Win32Clock::monthName(int month) const {
    if (month < 1 || month > 12) {
        return {};
    }
    // "dd MMMM" gives the name as it stands inside a date; the day and the space go.
    SYSTEMTIME when{2027, static_cast<WORD>(month), 0, 3, 0, 0, 0, 0};
    const std::string text = formatted(wideFromUtf8(m_locale), when, L"dd MMMM");
    return text.size() > 3 ? text.substr(3) : std::string();
}

std::string Win32Clock::weekdayName(int weekdayNumber) const {
    if (weekdayNumber < 1 || weekdayNumber > 7) {
        return {};
    }
    // 3 January 2027 is a Sunday.
    SYSTEMTIME when{2027, 1, 0, static_cast<WORD>(2 + weekdayNumber), 0, 0, 0, 0};
    return formatted(wideFromUtf8(m_locale), when, L"dddd");
}

} // namespace lumora
