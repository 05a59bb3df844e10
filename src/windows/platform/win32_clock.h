#pragma once
// The local clock and the names of months and days in the user's language (GetDateFormatEx with
// the user's locale). Months are named as inside a date ("03 February 2027"): languages that
// decline a month's name inside a date get that form.
#include "core/ports/clock.h"

#include <string>

namespace lumora {

class Win32Clock : public Clock {
public:
    // `locale` is a locale name ("de-DE"); empty: the user's.
    explicit Win32Clock(std::string locale = {});

    DateTime now() const override;
    // Empty outside 1..12 / 1..7.
    std::string monthName(int month) const override;
    std::string weekdayName(int weekdayNumber) const override;

private:
    std::string m_locale;
};

} // namespace lumora
