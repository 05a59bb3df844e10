#pragma once
// Shared by the window tests: a clock the test sets, with the C locale's (English) names, the
// names of parameterised rows, and (from the platform tests' helpers) test::waitUntil.
#include "linux/platform/system_clock.h"
#include "linux/platform/test_support.h"

#include <QTimer>

#include <string>

namespace lumora::test {

inline QDateTime at(int y, int mo, int d, int h, int mi, int s) {
    return {QDate(y, mo, d), QTime(h, mi, s)};
}

struct TestClock : SystemClock {
    TestClock() : SystemClock(QLocale::c(), [this] { return when; }) {}
    QDateTime when = at(2027, 2, 3, 9, 5, 7); // a Wednesday
};

// A timer's timeout now, through its connections, instead of waiting for its interval.
inline void fire(QTimer* timer) {
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
}

} // namespace lumora::test
