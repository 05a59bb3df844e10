#pragma once
// The events that may change the day or the day pictures, from the Qt event loop and the kernel:
// a single-shot timer for the next local midnight, a timerfd that reports a set wall clock (and a
// resume), a watch on the time zone files, logind's resume signal, and inotify on the pictures
// and the settings file.
// Nothing ticks unless a watched path cannot be watched (a network file system).
#include "core/ports/day_watch.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>
#include <set>
#include <string>
#include <vector>

class QSocketNotifier;

namespace lumora {

struct DayWatchOptions {
    // The files that name the local time zone; their folders are watched for replaced links.
    std::vector<std::string> zoneFiles = {"/etc/localtime", "/etc/timezone"};
    // Listen for logind's PrepareForSleep on the system bus, where there is one.
    bool systemBus = true;
    // Whether a path lies on a file system whose changes inotify may not see; empty: statfs.
    std::function<bool(const std::string&)> isRemote;
    // The settings file, watched as a file (not its folder, where every write takes a lock):
    // a day's value changed or made unreadable there brings the file check too.
    std::string settingsFile;
};

class QtDayWatch : public QObject, public DayWatchSource {
    Q_OBJECT
public:
    explicit QtDayWatch(DayWatchOptions options = {}, QObject* parent = nullptr);
    ~QtDayWatch() override;
    QtDayWatch(const QtDayWatch&) = delete;
    QtDayWatch& operator=(const QtDayWatch&) = delete;

    void setDayCheck(std::function<void()> check) override;
    void setFileCheck(std::function<void()> check) override;
    void setEveCheck(std::function<void()> check) override;
    void watchFiles(const std::vector<std::string>& paths, const std::string& folder) override;
    void stop() override;

    // The midnight timer fires this long after the day starts, so the new date is already there.
    static constexpr int kMidnightMarginMs = 50;
    // A burst of file events within this time brings one file check.
    static constexpr int kFileBurstMs = 100;
    // The check interval for paths that cannot be watched.
    static constexpr int kPollMs = 1000;

    // Milliseconds from `now` until kMidnightMarginMs after the start of the next day, in the
    // time zone (or time spec) of `now`. The start of a day is its first valid moment, so a day
    // whose midnight is skipped by a clock change still has one.
    static qint64 msecsToNextDay(const QDateTime& now);
    // The eve check comes in the last hour before the next day starts.
    static constexpr qint64 kEveMs = 3'600'000;
    // Milliseconds from `now` until the eve check is due: 0 inside the eve unless it already
    // came today (`doneToday`), then the next day's eve.
    static qint64 msecsToEve(const QDateTime& now, bool doneToday);
    // NFS, SMB/CIFS, FUSE and other file systems where inotify misses changes made elsewhere.
    static bool isRemoteFileSystemType(long type);
    static bool isOnRemoteFileSystem(const std::string& path);

    // The state, for tests and benchmarks.
    int midnightRemainingMs() const { return m_midnight.remainingTime(); }
    int eveRemainingMs() const { return m_eve.remainingTime(); }
    bool clockSetWatched() const { return m_clockFd >= 0; }
    bool polling() const { return m_poll.isActive(); }
    bool stopped() const { return m_stopped; }
    QStringList watchedPaths() const;

private slots:
    void onPrepareForSleep(bool sleeping);

private:
    void armMidnight();
    void armEve();
    void onEve();
    void onMidnight();
    void armClockSet();
    void onClockSetReadable();
    void onZoneEvent();
    void dayMayHaveChanged();
    void onFileEvent();
    void runFileCheck();
    void addFileWatches();
    std::string zoneIdentity() const;

    DayWatchOptions m_options;
    std::function<void()> m_dayCheck;
    std::function<void()> m_fileCheck;
    std::function<void()> m_eveCheck;

    QTimer m_midnight;
    QDate m_armedOn;
    QTimer m_eve;
    QDate m_eveDoneOn; // the day whose eve check came
    int m_clockFd = -1;
    QSocketNotifier* m_clockNotifier = nullptr;
    QFileSystemWatcher m_zoneWatcher;
    std::string m_zone;

    QFileSystemWatcher m_fileWatcher;
    QTimer m_fileBurst;
    QTimer m_poll;
    std::vector<std::string> m_files;
    std::string m_folder;
    std::set<std::string> m_reported;
    bool m_stopped = false;
};

} // namespace lumora
