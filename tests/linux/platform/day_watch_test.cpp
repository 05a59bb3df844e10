// The day watch: the interval to the next local midnight, the file and time zone watches, the
// set-clock timerfd and logind's resume signal.
#include "linux/platform/qt_day_watch.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>

namespace lumora {
namespace {

using test::byName;

// QTimer rounds its remaining time up to the next millisecond.
constexpr int kRounding = 2;
using test::waitUntil;

class DayWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_platform_linux";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) {
            m_app = std::make_unique<QCoreApplication>(argc, argv);
        }
        ASSERT_TRUE(m_dir.isValid());
    }
    // A watch counting its calls; no system bus unless asked, zone files under the test folder.
    std::unique_ptr<QtDayWatch> makeWatch(DayWatchOptions options = {}) {
        if (options.zoneFiles == DayWatchOptions().zoneFiles) {
            options.zoneFiles = {path("etc/localtime"), path("etc/timezone")};
        }
        auto watch = std::make_unique<QtDayWatch>(std::move(options));
        watch->setDayCheck([this] { ++dayChecks; });
        watch->setFileCheck([this] { ++fileChecks; });
        return watch;
    }
    std::string path(const std::string& name) const {
        return m_dir.filePath(QString::fromStdString(name)).toStdString();
    }
    static DayWatchOptions noBus() {
        DayWatchOptions options;
        options.systemBus = false;
        return options;
    }

    int dayChecks = 0;
    int fileChecks = 0;

private:
    std::unique_ptr<QCoreApplication> m_app;
    QTemporaryDir m_dir;
};

// --- The interval to the next day ---------------------------------------------------------

struct NextDayRow {
    const char* zone; // an IANA name
    bool throughTz;   // local time with TZ set to the zone, instead of a QTimeZone
    QDate date;
    QTime time;
    qint64 expectedMs; // margin included
};
class NextDay : public ::testing::TestWithParam<NextDayRow> {};
TEST_P(NextDay, IsTheStartOfTomorrowPlusTheMargin) {
    const NextDayRow& row = GetParam();
    test::ScopedEnv tz("TZ", row.throughTz ? std::optional<std::string>(row.zone) : std::nullopt);
    ::tzset();
    const QDateTime now = row.throughTz
                              ? QDateTime(row.date, row.time, Qt::LocalTime)
                              : QDateTime(row.date, row.time, QTimeZone(QByteArray(row.zone)));
    ASSERT_TRUE(now.isValid());
    EXPECT_EQ(QtDayWatch::msecsToNextDay(now), row.expectedMs);
}
constexpr qint64 kHour = 3'600'000;
constexpr qint64 kMargin = QtDayWatch::kMidnightMarginMs;
INSTANTIATE_TEST_SUITE_P(
    DayWatch, NextDay,
    ::testing::Values(
        NextDayRow{"UTC", false, {2027, 1, 2}, {23, 59, 50}, 10'000 + kMargin},
        NextDayRow{"UTC", false, {2027, 1, 2}, {23, 59, 59, 999}, 1 + kMargin},
        NextDayRow{"UTC", false, {2027, 1, 3}, {0, 0, 0}, 24 * kHour + kMargin},
        // Spring forward (02:00 -> 03:00) and fall back (03:00 -> 02:00) in Berlin.
        NextDayRow{"Europe/Berlin", false, {2027, 3, 28}, {0, 0, 0}, 23 * kHour + kMargin},
        NextDayRow{"Europe/Berlin", false, {2027, 10, 31}, {0, 0, 0}, 25 * kHour + kMargin},
        NextDayRow{"Europe/Berlin", false, {2027, 10, 31}, {12, 0, 0}, 12 * kHour + kMargin},
        // Havana skips midnight in spring (00:00 -> 01:00): the day starts at 01:00.
        NextDayRow{"America/Havana", false, {2027, 3, 13}, {23, 59, 0}, 60'000 + kMargin},
        // The zone of the process, as TZ names it.
        NextDayRow{"Europe/Berlin", true, {2027, 10, 31}, {0, 0, 0}, 25 * kHour + kMargin}));

// The eve check: the last hour before the next day, once a day.
struct EveRow {
    const char* zone;
    QTime time; // on 2027-10-30, the day before Berlin's clocks go back
    bool doneToday;
    qint64 expectedMs;
};
class Eve : public ::testing::TestWithParam<EveRow> {};
TEST_P(Eve, ComesInTheLastHourBeforeTheNextDay) {
    const EveRow& row = GetParam();
    const QDateTime now({2027, 10, 30}, row.time, QTimeZone(QByteArray(row.zone)));
    EXPECT_EQ(QtDayWatch::msecsToEve(now, row.doneToday), row.expectedMs);
}
INSTANTIATE_TEST_SUITE_P(
    DayWatch, Eve,
    ::testing::Values(EveRow{"UTC", {12, 0}, false, 11 * kHour}, EveRow{"UTC", {23, 0}, false, 0},
                      EveRow{"UTC", {23, 30}, true, 23 * kHour + kHour / 2},
                      // The next day has 25 hours.
                      EveRow{"Europe/Berlin", {23, 30}, true, 24 * kHour + kHour / 2}));

TEST_F(DayWatchTest, ArmsTheMidnightTimerAndNothingElseTicks) {
    const qint64 expected = QtDayWatch::msecsToNextDay(QDateTime::currentDateTime());
    auto watch = makeWatch(noBus());
    watch->watchFiles({path("Monday.jpg")}, path(""));
    EXPECT_LE(watch->midnightRemainingMs(), expected + kRounding);
    EXPECT_GT(watch->midnightRemainingMs(), expected - 5000);
    EXPECT_TRUE(watch->clockSetWatched());
    EXPECT_FALSE(watch->polling());
    EXPECT_FALSE(QtDayWatch::isOnRemoteFileSystem(path(""))) << "the test folder is local";
}

// The midnight timer runs only once its check is connected, so none fires unheard; a stopped
// watch has no timer and no watch left, and a file event it would have seen calls nothing (a
// second watch on the same file shows that the event came).
TEST_F(DayWatchTest, MidnightWaitsForItsCheckAndStopEndsEverything) {
    const std::string monday = path("Monday.jpg");
    ASSERT_TRUE(test::writeAll(monday, "x"));
    QtDayWatch bare(noBus());
    EXPECT_EQ(bare.midnightRemainingMs(), -1);
    auto watch = makeWatch(noBus());
    watch->setEveCheck([this] { ++dayChecks; });
    watch->watchFiles({monday}, path(""));
    EXPECT_GT(watch->midnightRemainingMs(), 0);
    int witnessed = 0;
    QtDayWatch witness(noBus());
    witness.setFileCheck([&] { ++witnessed; });
    witness.watchFiles({monday}, path(""));

    watch->stop();
    EXPECT_EQ(watch->midnightRemainingMs(), -1);
    EXPECT_EQ(watch->eveRemainingMs(), -1);
    EXPECT_TRUE(watch->watchedPaths().isEmpty());
    watch->watchFiles({monday}, path("")); // a late call from a check under way
    EXPECT_TRUE(watch->watchedPaths().isEmpty());
    ASSERT_EQ(::unlink(monday.c_str()), 0);
    ASSERT_TRUE(waitUntil([&] { return witnessed >= 1; }));
    QTest::qWait(2 * QtDayWatch::kFileBurstMs); // the stopped watch's burst would be due by now
    EXPECT_EQ(fileChecks, 0);
    EXPECT_EQ(dayChecks, 0);
}

// --- The day files ------------------------------------------------------------------------

enum class Change { Delete, RenameOver, RenameAway, WriteInPlace, Appear };
const char* const kChangeNames[] = {"Delete", "RenameOver", "RenameAway", "WriteInPlace", "Appear"};
class FileChange : public DayWatchTest, public ::testing::WithParamInterface<Change> {};
TEST_P(FileChange, RunsTheFileCheckAndKeepsWatching) {
    const std::string monday = path("Monday.jpg");
    if (GetParam() != Change::Appear) {
        ASSERT_TRUE(test::writeAll(monday, "old"));
    }
    ASSERT_TRUE(test::writeAll(path("Tuesday.jpg"), "tue"));
    auto watch = makeWatch(noBus());
    watch->watchFiles({monday, path("Tuesday.jpg")}, path(""));

    switch (GetParam()) {
    case Change::Delete:
        ASSERT_EQ(::unlink(monday.c_str()), 0);
        break;
    case Change::RenameOver:
        ASSERT_TRUE(test::writeAll(path("incoming.tmp"), "new"));
        ASSERT_EQ(::rename(path("incoming.tmp").c_str(), monday.c_str()), 0);
        break;
    case Change::RenameAway:
        ASSERT_EQ(::rename(monday.c_str(), path("Monday.old").c_str()), 0);
        break;
    case Change::WriteInPlace:
    case Change::Appear:
        ASSERT_TRUE(test::writeAll(monday, "new"));
        break;
    }
    ASSERT_TRUE(waitUntil([&] { return fileChecks >= 1; }));

    // Whatever is under the name now is watched again: a write in place (which the folder
    // watch does not report) brings another check.
    if (!test::exists(monday)) {
        ASSERT_TRUE(test::writeAll(monday, "back"));
        ASSERT_TRUE(waitUntil([&] { return fileChecks >= 2; }));
    }
    const int before = fileChecks;
    ASSERT_TRUE(
        waitUntil([&] { return watch->watchedPaths().contains(QString::fromStdString(monday)); }));
    QFile f(QString::fromStdString(monday));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Append));
    f.write("more");
    f.close();
    ASSERT_TRUE(waitUntil([&] { return fileChecks > before; }));
}
INSTANTIATE_TEST_SUITE_P(DayWatch, FileChange,
                         ::testing::Values(Change::Delete, Change::RenameOver, Change::RenameAway,
                                           Change::WriteInPlace, Change::Appear),
                         [](const auto& row) { return kChangeNames[int(row.param)]; });

// Any change in the folder runs the check (it only looks at the day files again, which is
// cheap); changes seen in several passes of the event loop within a short time run it once.
TEST_F(DayWatchTest, ABurstInTheFolderRunsOneCheck) {
    auto watch = makeWatch(noBus());
    watch->watchFiles({path("Monday.jpg")}, path(""));
    constexpr int kChanges = 5;
    for (int i = 0; i < kChanges; ++i) {
        ASSERT_TRUE(test::writeAll(path("unrelated" + std::to_string(i)), "x"));
        QCoreApplication::processEvents(); // the watcher reports each change on its own
    }
    ASSERT_TRUE(waitUntil([&] { return fileChecks >= 1; }));
    QTest::qWait(3 * QtDayWatch::kFileBurstMs);
    EXPECT_LT(fileChecks, kChanges);
}

TEST_F(DayWatchTest, NewPathsReplaceTheOldOnes) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path("old"))));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path("new"))));
    auto watch = makeWatch(noBus());
    watch->watchFiles({path("old/Monday.jpg")}, path("old"));
    watch->watchFiles({path("new/Monday.jpg")}, path("new"));
    EXPECT_EQ(watch->watchedPaths(), QStringList{QString::fromStdString(path("new"))});
    ASSERT_TRUE(test::writeAll(path("old/Monday.jpg"), "x"));
    QTest::qWait(3 * QtDayWatch::kFileBurstMs);
    EXPECT_EQ(fileChecks, 0);
    ASSERT_TRUE(test::writeAll(path("new/Monday.jpg"), "x"));
    ASSERT_TRUE(waitUntil([&] { return fileChecks >= 1; }));
}

TEST_F(DayWatchTest, ANetworkFolderIsCheckedEverySecond) {
    ASSERT_TRUE(test::writeAll(path("Monday.jpg"), "x"));
    DayWatchOptions options = noBus();
    options.isRemote = [](const std::string&) { return true; };
    auto watch = makeWatch(options);
    watch->watchFiles({path("Monday.jpg")}, path(""));
    EXPECT_TRUE(watch->polling());
    EXPECT_TRUE(watch->watchedPaths().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return fileChecks >= 2; }));
    watch->watchFiles({}, "");
    EXPECT_FALSE(watch->polling());
}

// --- The time zone ------------------------------------------------------------------------

TEST_F(DayWatchTest, AReplacedZoneLinkRunsTheDayCheckWithTheNewZone) {
    test::ScopedEnv tz("TZ", "UTC");
    ::tzset();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path("etc"))));
    ASSERT_EQ(::symlink("/usr/share/zoneinfo/Etc/UTC", path("etc/localtime").c_str()), 0);
    ASSERT_TRUE(test::writeAll(path("etc/timezone"), "Etc/UTC\n"));
    auto watch = makeWatch(noBus());
    const qint64 utc = QtDayWatch::msecsToNextDay(QDateTime::currentDateTime());

    // Other files of the folder come and go without a day check.
    ASSERT_TRUE(test::writeAll(path("etc/motd"), "hello"));
    QTest::qWait(500);
    EXPECT_EQ(dayChecks, 0);

    // What the system's zone tool does: a new link renamed over the old one. The C library
    // reads the zone again (here through TZ, which the test can change without root).
    ::setenv("TZ", "Asia/Kathmandu", 1);
    ASSERT_EQ(::symlink("/usr/share/zoneinfo/Asia/Kathmandu", path("etc/localtime.new").c_str()),
              0);
    ASSERT_EQ(::rename(path("etc/localtime.new").c_str(), path("etc/localtime").c_str()), 0);
    ASSERT_TRUE(waitUntil([&] { return dayChecks >= 1; }));
    const qint64 kathmandu = QtDayWatch::msecsToNextDay(QDateTime::currentDateTime());
    ASSERT_GT(std::abs(kathmandu - utc), kHour); // +05:45 moves midnight
    EXPECT_LE(watch->midnightRemainingMs(), kathmandu + kRounding);
    EXPECT_GT(watch->midnightRemainingMs(), kathmandu - 5000);

    // /etc/timezone written in place counts as well.
    const int before = dayChecks;
    ASSERT_TRUE(test::writeAll(path("etc/timezone"), "Asia/Kathmandu\n"));
    ASSERT_TRUE(waitUntil([&] { return dayChecks > before; }));
}

// --- The wall clock set -------------------------------------------------------------------

TEST_F(DayWatchTest, SettingTheClockRunsTheDayCheck) {
    auto watch = makeWatch(noBus());
    ASSERT_TRUE(watch->clockSetWatched());
    // Set the clock to the time it already shows (the kernel reports any set); this needs
    // CAP_SYS_TIME.
    timespec real{}, mono0{}, mono1{};
    ::clock_gettime(CLOCK_REALTIME, &real);
    ::clock_gettime(CLOCK_MONOTONIC, &mono0);
    ::clock_gettime(CLOCK_MONOTONIC, &mono1);
    long ns = real.tv_nsec + (mono1.tv_sec - mono0.tv_sec) * 1'000'000'000L +
              (mono1.tv_nsec - mono0.tv_nsec);
    real.tv_sec += ns / 1'000'000'000L;
    real.tv_nsec = ns % 1'000'000'000L;
    if (::clock_settime(CLOCK_REALTIME, &real) != 0) {
        GTEST_SKIP() << "cannot set the clock here (" << std::strerror(errno)
                     << "); needs CAP_SYS_TIME";
    }
    ASSERT_TRUE(waitUntil([&] { return dayChecks >= 1; }));
    EXPECT_EQ(dayChecks, 1);
    EXPECT_EQ(fileChecks, 0);
}

// --- A resume, as logind reports it -------------------------------------------------------

TEST_F(DayWatchTest, LogindResumeRunsTheDayCheck) {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    // A private bus stands in for the system bus; this process owns logind's name on it.
    QProcess bus;
    bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
    ASSERT_TRUE(bus.waitForStarted());
    ASSERT_TRUE(waitUntil([&] { return bus.canReadLine(); }));
    const QString address = QString::fromUtf8(bus.readLine()).trimmed();
    test::ScopedEnv system("DBUS_SYSTEM_BUS_ADDRESS", address.toStdString());

    {
        QDBusConnection logind = QDBusConnection::connectToBus(address, QStringLiteral("logind"));
        ASSERT_TRUE(logind.isConnected());
        ASSERT_TRUE(logind.registerService(QStringLiteral("org.freedesktop.login1")));
        auto watch = makeWatch();
        ASSERT_TRUE(QDBusConnection::systemBus().isConnected());
        const auto send = [&](bool sleeping) {
            QDBusMessage signal =
                QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                           QStringLiteral("org.freedesktop.login1.Manager"),
                                           QStringLiteral("PrepareForSleep"));
            signal << sleeping;
            ASSERT_TRUE(logind.send(signal));
        };
        send(true); // going to sleep: nothing to do
        QTest::qWait(300);
        EXPECT_EQ(dayChecks, 0);
        send(false);
        ASSERT_TRUE(waitUntil([&] { return dayChecks >= 1; }));
        EXPECT_EQ(dayChecks, 1);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
    bus.kill();
    bus.waitForFinished();
}

} // namespace
} // namespace lumora
