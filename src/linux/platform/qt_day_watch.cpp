#include "linux/platform/qt_day_watch.h"

#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimeZone>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/timerfd.h>
#include <unistd.h>

// How the day change is seen, and why this way:
//
// - Midnight: a QTimer armed with the interval from QDateTime::currentDateTime() to the start of
//   the next local day. QTimer counts on CLOCK_MONOTONIC and Qt computes its wait from the
//   process's own clock calls, so it follows a clock moved (or sped up) for the process by
//   faketime, where an absolute kernel timer taken from a faked time would not.
// - The wall clock set: a CLOCK_REALTIME timerfd with TFD_TIMER_CANCEL_ON_SET, armed a century
//   ahead; a read failing with ECANCELED means the clock was set. The kernel treats a resume from
//   suspend as a set clock too (timekeeping_resume() calls timerfd_resume()), because the offset
//   between the wall clock and the monotonic clock moved by the time asleep. So a machine that
//   slept through midnight reports it as it wakes, while the monotonic midnight timer, which did
//   not count the sleep, is still pending: no second kernel timer on CLOCK_BOOTTIME is needed,
//   and nothing compares clocks on a schedule.
// - A resume, where logind runs: PrepareForSleep(false) on the system bus, as a second source.
//   Without a system bus the connection is simply not made.
// - The time zone: /etc/localtime and /etc/timezone watched as files and through their folder (a
//   replaced link drops a file watch). The C library reads /etc/localtime again on tzset() when
//   it changed, and Qt calls tzset() before every local time conversion, so the interval armed
//   after the change already uses the new zone.

namespace lumora {
namespace {

constexpr time_t kCentury = time_t{100} * 365 * 24 * 3600;

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string folderOf(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
}

// Identity of a file as seen through a link: the link's target and the file's inode and times.
std::string fileIdentity(const std::string& path) {
    std::string out = path + '|';
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    if (n > 0) {
        out.append(target, static_cast<size_t>(n));
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        out += '|' + std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino) + ':' +
               std::to_string(st.st_size) + ':' + std::to_string(st.st_mtim.tv_sec) + '.' +
               std::to_string(st.st_mtim.tv_nsec) + ':' + std::to_string(st.st_ctim.tv_sec) + '.' +
               std::to_string(st.st_ctim.tv_nsec);
    }
    return out;
}

} // namespace

QtDayWatch::QtDayWatch(DayWatchOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)) {
    if (!m_options.isRemote) {
        m_options.isRemote = &QtDayWatch::isOnRemoteFileSystem;
    }

    m_midnight.setSingleShot(true);
    m_midnight.setTimerType(Qt::PreciseTimer);
    connect(&m_midnight, &QTimer::timeout, this, &QtDayWatch::onMidnight);
    m_eve.setSingleShot(true);
    connect(&m_eve, &QTimer::timeout, this, &QtDayWatch::onEve);
    // The midnight timer is armed with its check (setDayCheck), so no midnight passes unheard.

    m_clockFd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_clockFd >= 0) {
        m_clockNotifier = new QSocketNotifier(m_clockFd, QSocketNotifier::Read, this);
        connect(m_clockNotifier, &QSocketNotifier::activated, this,
                &QtDayWatch::onClockSetReadable);
        armClockSet();
    } else {
        std::fprintf(stderr, "lumora: no timerfd (%s): a set clock is seen at midnight only\n",
                     std::strerror(errno));
    }

    for (const std::string& file : m_options.zoneFiles) {
        m_zoneWatcher.addPath(QString::fromStdString(folderOf(file)));
        if (exists(file)) {
            m_zoneWatcher.addPath(QString::fromStdString(file));
        }
    }
    m_zone = zoneIdentity();
    connect(&m_zoneWatcher, &QFileSystemWatcher::fileChanged, this, &QtDayWatch::onZoneEvent);
    connect(&m_zoneWatcher, &QFileSystemWatcher::directoryChanged, this, &QtDayWatch::onZoneEvent);

    if (m_options.systemBus) {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (bus.isConnected()) {
            bus.connect(QStringLiteral("org.freedesktop.login1"),
                        QStringLiteral("/org/freedesktop/login1"),
                        QStringLiteral("org.freedesktop.login1.Manager"),
                        QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)));
        }
    }

    m_fileBurst.setSingleShot(true);
    m_fileBurst.setInterval(kFileBurstMs);
    connect(&m_fileBurst, &QTimer::timeout, this, &QtDayWatch::runFileCheck);
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &QtDayWatch::runFileCheck);
    connect(&m_fileWatcher, &QFileSystemWatcher::fileChanged, this, &QtDayWatch::onFileEvent);
    connect(&m_fileWatcher, &QFileSystemWatcher::directoryChanged, this, &QtDayWatch::onFileEvent);
}

QtDayWatch::~QtDayWatch() {
    delete m_clockNotifier;
    if (m_clockFd >= 0) {
        ::close(m_clockFd);
    }
}

void QtDayWatch::setDayCheck(std::function<void()> check) {
    if (m_stopped) {
        return;
    }
    m_dayCheck = std::move(check);
    armMidnight();
}

void QtDayWatch::stop() {
    m_stopped = true;
    m_dayCheck = nullptr;
    m_fileCheck = nullptr;
    m_eveCheck = nullptr;
    m_midnight.stop();
    m_eve.stop();
    m_fileBurst.stop();
    m_poll.stop();
    if (m_clockNotifier != nullptr) {
        m_clockNotifier->setEnabled(false);
    }
    if (const QStringList watched = watchedPaths(); !watched.isEmpty()) {
        m_fileWatcher.removePaths(watched);
    }
    if (const QStringList zone = m_zoneWatcher.files() + m_zoneWatcher.directories();
        !zone.isEmpty()) {
        m_zoneWatcher.removePaths(zone);
    }
    QDBusConnection::systemBus().disconnect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(onPrepareForSleep(bool)));
}

void QtDayWatch::setFileCheck(std::function<void()> check) {
    if (!m_stopped) {
        m_fileCheck = std::move(check);
    }
}

void QtDayWatch::setEveCheck(std::function<void()> check) {
    if (m_stopped) {
        return;
    }
    m_eveCheck = std::move(check);
    armEve();
}

qint64 QtDayWatch::msecsToEve(const QDateTime& now, bool doneToday) {
    const qint64 toNextDay = msecsToNextDay(now) - kMidnightMarginMs;
    if (toNextDay > kEveMs) {
        return toNextDay - kEveMs;
    }
    if (!doneToday) {
        return 0;
    }
    // The next day's eve: the next day's length (23 or 25 hours where clocks change) less the hour.
    const QDateTime nextDay = now.addMSecs(toNextDay + kMidnightMarginMs);
    return toNextDay + msecsToNextDay(nextDay) - kEveMs;
}

void QtDayWatch::armEve() {
    if (!m_eveCheck) {
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    m_eve.start(std::chrono::milliseconds(msecsToEve(now, m_eveDoneOn == now.date())));
}

void QtDayWatch::onEve() {
    const QDateTime now = QDateTime::currentDateTime();
    // Early (a slewed clock), or this day's eve already came: wait for the right moment.
    if (msecsToEve(now, m_eveDoneOn == now.date()) == 0) {
        m_eveDoneOn = now.date();
        if (m_eveCheck) {
            m_eveCheck();
        }
    }
    armEve();
}

qint64 QtDayWatch::msecsToNextDay(const QDateTime& now) {
    const QDate tomorrow = now.date().addDays(1);
    QDateTime start;
    switch (now.timeSpec()) {
    case Qt::TimeZone:
        start = tomorrow.startOfDay(now.timeZone());
        break;
    case Qt::OffsetFromUTC:
        start = tomorrow.startOfDay(Qt::OffsetFromUTC, now.offsetFromUtc());
        break;
    default:
        start = tomorrow.startOfDay(now.timeSpec());
        break;
    }
    return std::max<qint64>(0, now.msecsTo(start)) + kMidnightMarginMs;
}

void QtDayWatch::armMidnight() {
    const QDateTime now = QDateTime::currentDateTime();
    m_armedOn = now.date();
    m_midnight.start(std::chrono::milliseconds(msecsToNextDay(now)));
}

void QtDayWatch::onMidnight() {
    // A timer may end a little early (or the clock was slewed): wait for the rest of the day.
    if (QDate::currentDate() == m_armedOn) {
        armMidnight();
        return;
    }
    dayMayHaveChanged();
}

void QtDayWatch::armClockSet() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    itimerspec when{};
    when.it_value.tv_sec = now.tv_sec + kCentury;
    if (::timerfd_settime(m_clockFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) !=
        0) {
        std::fprintf(stderr, "lumora: cannot watch for a set clock (%s)\n", std::strerror(errno));
    }
}

void QtDayWatch::onClockSetReadable() {
    std::uint64_t expirations = 0;
    const ssize_t n = ::read(m_clockFd, &expirations, sizeof expirations);
    if (n < 0 && errno == ECANCELED) {
        // The wall clock was set, or the machine woke up.
        armClockSet();
        dayMayHaveChanged();
    } else if (n == static_cast<ssize_t>(sizeof expirations)) {
        armClockSet(); // a century went by
    }
    // EAGAIN: already re-armed by another event of the same loop pass.
}

void QtDayWatch::onPrepareForSleep(bool sleeping) {
    if (!sleeping) {
        dayMayHaveChanged();
    }
}

void QtDayWatch::onZoneEvent() {
    for (const std::string& file : m_options.zoneFiles) {
        const QString path = QString::fromStdString(file);
        if (exists(file) && !m_zoneWatcher.files().contains(path)) {
            m_zoneWatcher.addPath(path);
        }
    }
    // The folder (/etc) changes for many other reasons: act only when a zone file did.
    std::string zone = zoneIdentity();
    if (zone == m_zone) {
        return;
    }
    m_zone = std::move(zone);
    ::tzset();
    dayMayHaveChanged();
}

std::string QtDayWatch::zoneIdentity() const {
    std::string out;
    for (const std::string& file : m_options.zoneFiles) {
        out += fileIdentity(file) + '\n';
    }
    return out;
}

void QtDayWatch::dayMayHaveChanged() {
    if (m_stopped) {
        return;
    }
    armMidnight();
    armEve();
    if (m_dayCheck) {
        m_dayCheck();
    }
}

void QtDayWatch::watchFiles(const std::vector<std::string>& paths, const std::string& folder) {
    if (m_stopped) {
        return;
    }
    m_files = paths;
    m_folder = folder;
    if (const QStringList old = watchedPaths(); !old.isEmpty()) {
        m_fileWatcher.removePaths(old);
    }
    m_poll.stop();
    std::set<std::string> folders;
    if (!folder.empty()) {
        folders.insert(QDir::cleanPath(QString::fromStdString(folder)).toStdString());
    }
    for (const std::string& path : paths) {
        if (!path.empty()) {
            folders.insert(folderOf(path));
        }
    }
    bool poll = false;
    const auto cannotWatch = [&](const std::string& path) {
        poll = true;
        if (m_reported.insert(path).second) {
            std::fprintf(stderr,
                         "lumora: %s cannot be watched for changes (network file system?); "
                         "checking it every second\n",
                         path.c_str());
        }
    };
    for (const std::string& dir : folders) {
        if (!exists(dir)) {
            continue; // a missing folder: its files are checked when anything else changes
        }
        if (m_options.isRemote(dir) || !m_fileWatcher.addPath(QString::fromStdString(dir))) {
            cannotWatch(dir);
        }
    }
    for (const std::string& path : paths) {
        if (!path.empty() && exists(path) && !m_options.isRemote(path) &&
            !m_fileWatcher.addPath(QString::fromStdString(path))) {
            cannotWatch(path);
        }
    }
    if (const std::string& settings = m_options.settingsFile;
        !settings.empty() && exists(settings) &&
        (m_options.isRemote(settings) ||
         !m_fileWatcher.addPath(QString::fromStdString(settings)))) {
        cannotWatch(settings);
    }
    if (poll) {
        m_poll.start();
    }
}

QStringList QtDayWatch::watchedPaths() const {
    return m_fileWatcher.files() + m_fileWatcher.directories();
}

void QtDayWatch::onFileEvent() {
    if (!m_stopped && !m_fileBurst.isActive()) {
        m_fileBurst.start();
    }
}

void QtDayWatch::runFileCheck() {
    if (m_stopped) {
        return;
    }
    addFileWatches();
    if (m_fileCheck) {
        m_fileCheck();
    }
}

void QtDayWatch::addFileWatches() {
    // A deleted or replaced file drops its watch; the file now under the name gets a new one.
    const QStringList watched = m_fileWatcher.files();
    std::vector<std::string> files = m_files;
    if (!m_options.settingsFile.empty()) {
        files.push_back(m_options.settingsFile);
    }
    for (const std::string& path : files) {
        const QString name = QString::fromStdString(path);
        if (!watched.contains(name) && exists(path) && !m_options.isRemote(path)) {
            m_fileWatcher.addPath(name);
        }
    }
}

bool QtDayWatch::isRemoteFileSystemType(long type) {
    switch (static_cast<std::uint32_t>(type)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE (sshfs, rclone, gvfs ...)
    case 0x73757245: // Coda
    case 0x5346414F: // AFS
    case 0x6B414653: // kAFS
    case 0x01021997: // 9P (v9fs)
    case 0x564C:     // NCP
    case 0x00C36400: // Ceph
    case 0x47504653: // GPFS
    case 0x0BD00BD0: // Lustre
        return true;
    default:
        return false;
    }
}

bool QtDayWatch::isOnRemoteFileSystem(const std::string& path) {
    struct statfs fs {};
    return ::statfs(path.c_str(), &fs) == 0 && isRemoteFileSystemType(fs.f_type);
}

} // namespace lumora
