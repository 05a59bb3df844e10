#pragma once
// The clock and the user's month and weekday names, from Qt's date and locale.
#include "core/ports/clock.h"

#include <QDateTime>
#include <QLocale>

#include <functional>

namespace lumora {

class SystemClock : public Clock {
public:
    using Source = std::function<QDateTime()>;
    // `source` empty: the current local time.
    explicit SystemClock(QLocale locale = QLocale::system(), Source source = {});

    DateTime now() const override;
    // Long names as used inside a date ("03 February 2027"); empty outside 1..12 / 1..7.
    std::string monthName(int month) const override;
    std::string weekdayName(int weekdayNumber) const override;

    // Sunday = 1 .. Saturday = 7 (Qt counts Monday = 1 .. Sunday = 7).
    static int weekdayNumber(const QDate& date);
    static DateTime toDateTime(const QDateTime& when);

private:
    QLocale m_locale;
    Source m_source;
};

} // namespace lumora
