// The version caption and the date and time patterns, with fixed names for the locale.
#include "core/text/texts.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace lumora {
namespace {

class EnglishNames : public Clock {
public:
    DateTime now() const override { return {}; }
    std::string monthName(int month) const override {
        static const std::array<const char*, 12> names = {
            "January", "February", "March",     "April",   "May",      "June",
            "July",    "August",   "September", "October", "November", "December"};
        return month >= 1 && month <= 12 ? names[static_cast<std::size_t>(month - 1)] : "?";
    }
    std::string weekdayName(int weekday) const override {
        static const std::array<const char*, 7> names = {
            "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        return weekday >= 1 && weekday <= 7 ? names[static_cast<std::size_t>(weekday - 1)] : "?";
    }
};

TEST(Texts, VersionCaption) {
    EXPECT_EQ(versionNumber(), "2.2.4");
    EXPECT_EQ(versionCaption(), "Lumora - v2.2.4");
}

struct FormatRow {
    const char* pattern;
    DateTime when;
    std::string expected;
};
class DatePatterns : public ::testing::TestWithParam<FormatRow> {};
TEST_P(DatePatterns, Format) {
    EnglishNames names;
    EXPECT_EQ(formatDateTime(GetParam().when, GetParam().pattern, names), GetParam().expected);
}

// Wednesday 3 February 2027, 09:05:07; Sunday 31 December 2028, 23:59:59; Monday 1 March 2027.
const DateTime kWed{2027, 2, 3, 9, 5, 7, 4};
const DateTime kSun{2028, 12, 31, 23, 59, 59, 1};
const DateTime kMon{2027, 3, 1, 0, 0, 0, 2};

INSTANTIATE_TEST_SUITE_P(
    Texts, DatePatterns,
    ::testing::Values(FormatRow{"dd mmmm yyyy", kWed, "03 February 2027"},
                      FormatRow{"dddd dd mmmm yyyy", kWed, "Wednesday 03 February 2027"},
                      FormatRow{"hh:mm:ss", kWed, "09:05:07"}, FormatRow{"hh:mm", kWed, "09:05"},
                      FormatRow{"dd mmmm yyyy", kSun, "31 December 2028"},
                      FormatRow{"dddd dd mmmm yyyy", kSun, "Sunday 31 December 2028"},
                      FormatRow{"hh:mm:ss", kSun, "23:59:59"}, FormatRow{"hh:mm", kMon, "00:00"},
                      FormatRow{"dddd", kMon, "Monday"},
                      FormatRow{"dd/mm/yyyy", kWed,
                                "03/02/2027"}, // "mm" not after "hh:" is the month
                      FormatRow{"", kWed, ""}, FormatRow{"at hh:mm!", kWed, "at 09:05!"}));

TEST(Texts, ClockCaption) {
    EnglishNames names;
    EXPECT_EQ(clockCaption(versionCaption(), kWed, names),
              "Lumora - v2.2.4 - 03 February 2027 - 09:05:07");
}

TEST(Texts, LineBreakIsLineFeedThenCarriageReturn) {
    EXPECT_EQ(std::string(kLineBreak), std::string("\n\r"));
}

} // namespace
} // namespace lumora
