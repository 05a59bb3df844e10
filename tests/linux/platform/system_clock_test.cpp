// Weekday numbering, the fields of the current time and the locale's names.
#include "linux/platform/system_clock.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

class Weekdays : public ::testing::TestWithParam<std::pair<QDate, int>> {};
TEST_P(Weekdays, SundayIsOne) {
    const auto [date, weekday] = GetParam();
    EXPECT_EQ(SystemClock::weekdayNumber(date), weekday);
    EXPECT_EQ(
        SystemClock(QLocale::c(), [d = date] { return QDateTime(d, QTime(12, 0)); }).now().weekday,
        weekday);
}
INSTANTIATE_TEST_SUITE_P(
    Clock, Weekdays,
    ::testing::Values(std::pair(QDate(2027, 1, 3), 1), std::pair(QDate(2027, 1, 4), 2),
                      std::pair(QDate(2027, 1, 8), 6), std::pair(QDate(2027, 1, 9), 7),
                      std::pair(QDate(2028, 2, 29), 3), std::pair(QDate(2000, 1, 1), 7)));

// Every field of the current time, and the real clock's day.
TEST(Clock, NowCarriesEveryField) {
    const DateTime now = SystemClock(QLocale::c(), [] {
                             return QDateTime(QDate(2027, 2, 3), QTime(23, 59, 58));
                         }).now();
    EXPECT_EQ(
        (std::array{now.year, now.month, now.day, now.hour, now.minute, now.second, now.weekday}),
        (std::array{2027, 2, 3, 23, 59, 58, 4}));
    const DateTime real = SystemClock().now();
    EXPECT_EQ(real.weekday, SystemClock::weekdayNumber(QDate(real.year, real.month, real.day)));
}

struct NameRow {
    QLocale::Language language;
    int month;
    std::string monthName;
    int weekday;
    std::string weekdayName;
};
class LocaleNames : public ::testing::TestWithParam<NameRow> {};
TEST_P(LocaleNames, LongNames) {
    const SystemClock clock{QLocale(GetParam().language)};
    EXPECT_EQ(clock.monthName(GetParam().month), GetParam().monthName);
    EXPECT_EQ(clock.weekdayName(GetParam().weekday), GetParam().weekdayName);
}
INSTANTIATE_TEST_SUITE_P(Clock, LocaleNames,
                         ::testing::Values(NameRow{QLocale::English, 2, "February", 1, "Sunday"},
                                           NameRow{QLocale::English, 12, "December", 7, "Saturday"},
                                           NameRow{QLocale::German, 3, "M\xC3\xA4rz", 1, "Sonntag"},
                                           NameRow{QLocale::French, 8, "ao\xC3\xBBt", 2, "lundi"},
                                           NameRow{QLocale::English, 0, "", 0, ""},
                                           NameRow{QLocale::English, 13, "", 8, ""}));

} // namespace
} // namespace lumora
