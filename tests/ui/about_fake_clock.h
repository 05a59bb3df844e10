#pragma once
// A settable clock with English names, for the window tests.
#include "platform/seams/clock.h"

#include <array>
#include <string>

namespace lumora::test {

class FakeClock : public Clock {
public:
    FakeClock() = default;
    explicit FakeClock(DateTime when) : m_now(when) {}

    DateTime now() const override { return m_now; }
    std::string monthName(int month) const override {
        static const std::array<const char*, 12> names = {
            "January", "February", "March",     "April",   "May",      "June",
            "July",    "August",   "September", "October", "November", "December"};
        return month >= 1 && month <= 12 ? names[static_cast<std::size_t>(month - 1)] : "";
    }
    std::string weekdayName(int weekdayNumber) const override {
        static const std::array<const char*, 7> names = {
            "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        return weekdayNumber >= 1 && weekdayNumber <= 7
                   ? names[static_cast<std::size_t>(weekdayNumber - 1)]
                   : "";
    }

    void set(DateTime when) { m_now = when; }

private:
    DateTime m_now;
};

// 09:05:07 on Wednesday 3 February 2027.
inline DateTime feb3at090507() {
    return DateTime{2027, 2, 3, 9, 5, 7, 4};
}

} // namespace lumora::test
