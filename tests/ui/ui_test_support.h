#pragma once
// Shared by the window tests: a clock the test sets, with the C locale's (English) names, and the
// names of parameterised rows.
#include "platform/linux/system_clock.h"

#include <string>

namespace lumora::test {

inline QDateTime at(int y, int mo, int d, int h, int mi, int s) {
    return {QDate(y, mo, d), QTime(h, mi, s)};
}

struct TestClock : SystemClock {
    TestClock() : SystemClock(QLocale::c(), [this] { return when; }) {}
    QDateTime when = at(2027, 2, 3, 9, 5, 7); // a Wednesday
};

inline constexpr auto byName = [](const auto& row) { return std::string(row.param.name); };

} // namespace lumora::test
