// The clock: the weekday counted from Sunday = 1 as the system counts it, and the names of months
// and days in the locale asked for.
#include "windows/platform/win32_clock.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace lumora {
namespace {

TEST(Win32Clock, NowIsTheLocalTimeWithSundayAsOne) {
    SYSTEMTIME before{};
    GetLocalTime(&before);
    const DateTime now = Win32Clock().now();
    EXPECT_EQ(now.weekday, before.wDayOfWeek + 1);
    EXPECT_EQ(now.year, before.wYear);
    EXPECT_EQ(now.month, before.wMonth);
}

struct NameRow {
    const char* locale;
    int number;
    std::string month;
    std::string weekday;
};
class Names : public ::testing::TestWithParam<NameRow> {};
TEST_P(Names, FollowTheLocale) {
    const NameRow& row = GetParam();
    const Win32Clock clock(row.locale);
    EXPECT_EQ(clock.monthName(row.number), row.month);
    EXPECT_EQ(clock.weekdayName(row.number), row.weekday);
}
INSTANTIATE_TEST_SUITE_P(Win32Clock, Names,
                         ::testing::Values(NameRow{"en-US", 1, "January", "Sunday"},
                                           NameRow{"en-US", 7, "July", "Saturday"},
                                           NameRow{"de-DE", 3, "M\xC3\xA4rz", "Dienstag"},
                                           NameRow{"en-US", 0, "", ""},
                                           NameRow{"en-US", 13, "", ""}),
                         [](const auto& row) {
                             return std::string(row.param.locale[0] == 'd' ? "German" : "English") +
                                    std::to_string(row.param.number);
                         });

} // namespace
} // namespace lumora
