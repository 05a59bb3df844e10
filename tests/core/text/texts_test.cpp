// The date and time patterns, with English names for the locale.
#include "core/fakes/fakes.h"
#include "core/text/texts.h"

namespace lumora {
namespace {

// Wednesday 3 February 2027, 09:05:07; Sunday 31 December 2028, 23:59:59; Monday 1 March 2027.
const DateTime kWed{2027, 2, 3, 9, 5, 7, 4};
const DateTime kSun{2028, 12, 31, 23, 59, 59, 1};
const DateTime kMon{2027, 3, 1, 0, 0, 0, 2};

// "mm" not after "hh:" is the month.
TEST(Texts, DatePatterns) {
    fakes::CallLog log;
    for (auto [pattern, when, expected] : {std::tuple{"dd mmmm yyyy", kWed, "03 February 2027"},
                                           {"dddd dd mmmm yyyy", kSun, "Sunday 31 December 2028"},
                                           {"hh:mm:ss", kWed, "09:05:07"},
                                           {"hh:mm:ss", kSun, "23:59:59"},
                                           {"hh:mm", kMon, "00:00"},
                                           {"dd/mm/yyyy", kWed, "03/02/2027"},
                                           {"", kWed, ""},
                                           {"at hh:mm!", kWed, "at 09:05!"}}) {
        EXPECT_EQ(formatDateTime(when, pattern, fakes::FakeClock(log)), expected) << pattern;
    }
}

} // namespace
} // namespace lumora
