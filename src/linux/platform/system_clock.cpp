#include "linux/platform/system_clock.h"

namespace lumora {

SystemClock::SystemClock(QLocale locale, Source source)
    : m_locale(std::move(locale)), m_source(std::move(source)) {}

int SystemClock::weekdayNumber(const QDate& date) {
    return date.dayOfWeek() % 7 + 1;
}

DateTime SystemClock::toDateTime(const QDateTime& when) {
    DateTime out;
    QDate d = when.date();
    QTime t = when.time();
    out.year = d.year();
    out.month = d.month();
    out.day = d.day();
    out.hour = t.hour();
    out.minute = t.minute();
    out.second = t.second();
    out.weekday = weekdayNumber(d);
    return out;
}

DateTime SystemClock::now() const {
    return toDateTime(m_source ? m_source() : QDateTime::currentDateTime());
}

std::string SystemClock::monthName(int month) const {
    if (month < 1 || month > 12) {
        return {};
    }
    return m_locale.monthName(month, QLocale::LongFormat).toStdString();
}

std::string SystemClock::weekdayName(int weekday) const {
    if (weekday < 1 || weekday > 7) {
        return {};
    }
    int qtDay = weekday == 1 ? 7 : weekday - 1;
    return m_locale.dayName(qtDay, QLocale::LongFormat).toStdString();
}

} // namespace lumora
