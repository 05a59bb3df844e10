#pragma once
// The events that may change the day or the day pictures, on Windows. A hidden top-level window
// (broadcasts reach only those) gets a timer at the next local midnight, WM_TIMECHANGE when the
// clock or the time zone is set, and WM_POWERBROADCAST when the machine resumes. The picture
// folders (folder change notifications) and the day values in the registry (a registry change
// notification) are waited for on a thread of their own, which tells the window; every check runs
// on the window's thread, the user-interface thread. Nothing ticks meanwhile.
#include "core/ports/day_watch.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumora {

struct Win32DayWatchOptions {
    // The time now, in 100-nanosecond steps since 1601 (UTC, as FILETIME counts); the system's
    // when empty. The time zone is always the system's.
    std::function<std::int64_t()> utcNow;
    // The key of the day values under the current user; its nearest existing key is watched
    // with everything below it.
    std::string dayValuesKey = "Software\\Corvane\\Local Settings";
};

class Win32DayWatch : public DayWatchSource {
public:
    explicit Win32DayWatch(Win32DayWatchOptions options = {});
    ~Win32DayWatch() override;
    Win32DayWatch(const Win32DayWatch&) = delete;
    Win32DayWatch& operator=(const Win32DayWatch&) = delete;

    void setDayCheck(std::function<void()> check) override;
    void setFileCheck(std::function<void()> check) override;
    void setEveCheck(std::function<void()> check) override;
    void watchFiles(const std::vector<std::string>& paths, const std::string& folder) override;
    void stop() override;

    static constexpr int kMidnightMarginMs = 50;
    static constexpr int kFileBurstMs = 100;
    static constexpr std::int64_t kEveMs = 3'600'000;

    // Milliseconds from `utc` until kMidnightMarginMs after the next local midnight, in the
    // system's time zone (days of 23 or 25 hours included).
    static std::int64_t msecsToNextDay(std::int64_t utc);
    // The window that takes the events (for tests).
    void* window() const { return m_window; }

    // Called by the window procedure.
    void onMessage(unsigned message, std::uintptr_t wParam);

private:
    std::int64_t now() const;
    int localDay(std::int64_t utc) const; // yyyymmdd
    void armMidnight();
    void armEve();
    void dayMayHaveChanged();
    void watchThread();

    Win32DayWatchOptions m_options;
    std::function<void()> m_dayCheck;
    std::function<void()> m_fileCheck;
    std::function<void()> m_eveCheck;
    void* m_window = nullptr;
    int m_armedOn = 0;
    int m_eveDoneOn = 0;
    bool m_burst = false;
    bool m_stopped = false;

    // Shared with the watching thread.
    std::mutex m_mutex;
    std::vector<std::string> m_folders;
    void* m_changed = nullptr;   // the folders to watch changed
    void* m_rewatched = nullptr; // and are watched now
    void* m_quit = nullptr;
    std::thread m_thread;
};

} // namespace lumora
