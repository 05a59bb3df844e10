#pragma once
// The clock and the locale's names of days and months.
#include <string>

namespace lumora {

struct DateTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;
    int weekday = 7; // WeekdayNumber: Sunday = 1 .. Saturday = 7
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    // Full names in the user's language.
    virtual std::string monthName(int month) const = 0;           // 1..12
    virtual std::string weekdayName(int weekdayNumber) const = 0; // Sunday = 1 .. Saturday = 7
};

} // namespace lumora
