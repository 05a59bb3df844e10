// Weekday numbering, the fields of the current time and the locale's names.
#include "platform/linux/system_clock.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct WeekdayRow {
    QDate date;
    int weekday;
};
class Weekdays : public ::testing::TestWithParam<WeekdayRow> {};
TEST_P(Weekdays, SundayIsOne) {
    EXPECT_EQ(SystemClock::weekdayNumber(GetParam().date), GetParam().weekday);
    SystemClock clock(QLocale::c(), [d = GetParam().date] { return QDateTime(d, QTime(12, 0)); });
    EXPECT_EQ(clock.now().weekday, GetParam().weekday);
}
INSTANTIATE_TEST_SUITE_P(
    Clock, Weekdays,
    ::testing::Values(WeekdayRow{QDate(2027, 1, 3), 1}, WeekdayRow{QDate(2027, 1, 4), 2},
                      WeekdayRow{QDate(2027, 1, 5), 3}, WeekdayRow{QDate(2027, 1, 6), 4},
                      WeekdayRow{QDate(2027, 1, 7), 5}, WeekdayRow{QDate(2027, 1, 8), 6},
                      WeekdayRow{QDate(2027, 1, 9), 7}, WeekdayRow{QDate(2028, 2, 29), 3},
                      WeekdayRow{QDate(2000, 1, 1), 7}));

TEST(Clock, NowCarriesEveryField) {
    SystemClock clock(QLocale::c(), [] { return QDateTime(QDate(2027, 2, 3), QTime(23, 59, 58)); });
    DateTime now = clock.now();
    EXPECT_EQ(now.year, 2027);
    EXPECT_EQ(now.month, 2);
    EXPECT_EQ(now.day, 3);
    EXPECT_EQ(now.hour, 23);
    EXPECT_EQ(now.minute, 59);
    EXPECT_EQ(now.second, 58);
    EXPECT_EQ(now.weekday, 4);
}

TEST(Clock, RealClockAgreesWithQt) {
    SystemClock clock;
    QDate before = QDate::currentDate();
    DateTime now = clock.now();
    QDate after = QDate::currentDate();
    QDate seen(now.year, now.month, now.day);
    EXPECT_TRUE(seen == before || seen == after);
    EXPECT_EQ(now.weekday, SystemClock::weekdayNumber(seen));
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
    SystemClock clock{QLocale(GetParam().language)};
    EXPECT_EQ(clock.monthName(GetParam().month), GetParam().monthName);
    EXPECT_EQ(clock.weekdayName(GetParam().weekday), GetParam().weekdayName);
}
INSTANTIATE_TEST_SUITE_P(Clock, LocaleNames,
                         ::testing::Values(NameRow{QLocale::English, 2, "February", 1, "Sunday"},
                                           NameRow{QLocale::English, 12, "December", 7, "Saturday"},
                                           NameRow{QLocale::English, 1, "January", 4, "Wednesday"},
                                           NameRow{QLocale::German, 3, "M\xC3\xA4rz", 1, "Sonntag"},
                                           NameRow{QLocale::French, 8, "ao\xC3\xBBt", 2, "lundi"},
                                           NameRow{QLocale::English, 0, "", 0, ""},
                                           NameRow{QLocale::English, 13, "", 8, ""}));

} // namespace
} // namespace lumora
