#include "windows/platform/win32_day_watch.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <set>

namespace lumora {

namespace {

constexpr UINT_PTR kMidnightTimer = 1;
constexpr UINT_PTR kEveTimer = 2;
constexpr UINT_PTR kBurstTimer = 3;
constexpr UINT kFileEvent = WM_APP + 1;
constexpr std::int64_t kTicksPerMs = 10'000;

std::int64_t ticksOf(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}
FILETIME fileTimeOf(std::int64_t ticks) {
    const auto u = static_cast<std::uint64_t>(ticks);
    return FILETIME{static_cast<DWORD>(u & 0xffffffffu), static_cast<DWORD>(u >> 32)};
}

SYSTEMTIME localOf(std::int64_t utc) {
    const FILETIME ft = fileTimeOf(utc);
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    FileTimeToSystemTime(&ft, &universal);
    SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    return local;
}

LRESULT CALLBACK watchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* watch = reinterpret_cast<Win32DayWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (watch != nullptr) {
        watch->onMessage(message, wParam);
    }
    if (message == WM_POWERBROADCAST) {
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* windowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.lpfnWndProc = watchWindowProc;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = L"LumoraDayWatch";
        return RegisterClassExW(&c);
    }();
    return atom != 0 ? L"LumoraDayWatch" : nullptr;
}

// The nearest key of `path` under the current user that exists, opened for notifications.
HKEY nearestKey(const std::string& path) {
    std::string at = path;
    for (;;) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, wideFromUtf8(at).c_str(), 0, KEY_NOTIFY, &key) ==
            ERROR_SUCCESS) {
            return key;
        }
        const std::size_t cut = at.rfind('\\');
        if (at.empty()) {
            return nullptr;
        }
        at = cut == std::string::npos ? std::string() : at.substr(0, cut);
    }
}

} // namespace

Win32DayWatch::Win32DayWatch(Win32DayWatchOptions options) : m_options(std::move(options)) {
    if (const wchar_t* name = windowClass()) {
        HWND window = CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        if (window != nullptr) {
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            m_window = window;
        }
    }
    m_changed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    m_rewatched = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    m_quit = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread([this] { watchThread(); });
}

Win32DayWatch::~Win32DayWatch() {
    stop();
    CloseHandle(m_changed);
    CloseHandle(m_rewatched);
    CloseHandle(m_quit);
}

std::int64_t Win32DayWatch::now() const {
    if (m_options.utcNow) {
        return m_options.utcNow();
    }
    FILETIME t{};
    GetSystemTimePreciseAsFileTime(&t);
    return ticksOf(t);
}

int Win32DayWatch::localDay(std::int64_t utc) const {
    const SYSTEMTIME local = localOf(utc);
    return local.wYear * 10000 + local.wMonth * 100 + local.wDay;
}

std::int64_t Win32DayWatch::msecsToNextDay(std::int64_t utc) {
    // Tomorrow's date at 00:00 local, back to UTC with the zone's rules for that date.
    SYSTEMTIME local = localOf(utc);
    local.wHour = local.wMinute = local.wSecond = local.wMilliseconds = 0;
    FILETIME midnightLocal{};
    SystemTimeToFileTime(&local, &midnightLocal);
    SYSTEMTIME tomorrow{};
    const FILETIME next = fileTimeOf(ticksOf(midnightLocal) + 24 * 3600 * 1000 * kTicksPerMs +
                                     2 * 3600 * 1000 * kTicksPerMs); // past any 25-hour day
    FileTimeToSystemTime(&next, &tomorrow);
    tomorrow.wHour = tomorrow.wMinute = tomorrow.wSecond = tomorrow.wMilliseconds = 0;
    SYSTEMTIME universal{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &tomorrow, &universal)) {
        return 24LL * 3600 * 1000;
    }
    FILETIME start{};
    SystemTimeToFileTime(&universal, &start);
    return std::max<std::int64_t>(0, (ticksOf(start) - utc) / kTicksPerMs) + kMidnightMarginMs;
}

void Win32DayWatch::armMidnight() {
    if (m_window == nullptr || m_stopped) {
        return;
    }
    const std::int64_t utc = now();
    m_armedOn = localDay(utc);
    const auto wait = static_cast<UINT>(std::min<std::int64_t>(msecsToNextDay(utc), 0x7ffffffe));
    SetTimer(static_cast<HWND>(m_window), kMidnightTimer, std::max<UINT>(wait, USER_TIMER_MINIMUM),
             nullptr);
}

void Win32DayWatch::armEve() {
    if (m_window == nullptr || m_stopped || !m_eveCheck) {
        return;
    }
    const std::int64_t utc = now();
    const std::int64_t toNextDay = msecsToNextDay(utc) - kMidnightMarginMs;
    std::int64_t wait = toNextDay - kEveMs;
    if (wait <= 0) {
        // Inside the eve: at once unless it came today, else the next day's eve (about a day).
        wait = m_eveDoneOn == localDay(utc) ? toNextDay + 23 * kEveMs : 0;
    }
    SetTimer(static_cast<HWND>(m_window), kEveTimer,
             static_cast<UINT>(std::clamp<std::int64_t>(wait, USER_TIMER_MINIMUM, 0x7ffffffe)),
             nullptr);
}

void Win32DayWatch::setDayCheck(std::function<void()> check) {
    if (!m_stopped) {
        m_dayCheck = std::move(check);
        armMidnight();
    }
}

void Win32DayWatch::setFileCheck(std::function<void()> check) {
    if (!m_stopped) {
        m_fileCheck = std::move(check);
    }
}

void Win32DayWatch::setEveCheck(std::function<void()> check) {
    if (!m_stopped) {
        m_eveCheck = std::move(check);
        armEve();
    }
}

void Win32DayWatch::dayMayHaveChanged() {
    if (m_stopped) {
        return;
    }
    armMidnight();
    armEve();
    if (m_dayCheck) {
        m_dayCheck();
    }
}

void Win32DayWatch::onMessage(unsigned message, std::uintptr_t wParam) {
    if (m_stopped) {
        return;
    }
    HWND window = static_cast<HWND>(m_window);
    switch (message) {
    case WM_TIMER:
        if (wParam == kMidnightTimer) {
            KillTimer(window, kMidnightTimer);
            // Early (a slewed clock): wait for the rest of the day.
            if (localDay(now()) == m_armedOn) {
                armMidnight();
            } else {
                dayMayHaveChanged();
            }
        } else if (wParam == kEveTimer) {
            KillTimer(window, kEveTimer);
            const std::int64_t utc = now();
            if (msecsToNextDay(utc) - kMidnightMarginMs <= kEveMs && m_eveDoneOn != localDay(utc)) {
                m_eveDoneOn = localDay(utc);
                if (m_eveCheck) {
                    m_eveCheck();
                }
            }
            armEve();
        } else if (wParam == kBurstTimer) {
            KillTimer(window, kBurstTimer);
            m_burst = false;
            if (m_fileCheck) {
                m_fileCheck();
            }
        }
        break;
    case WM_TIMECHANGE:
        dayMayHaveChanged();
        break;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
            dayMayHaveChanged();
        }
        break;
    case kFileEvent:
        // A burst of changes brings one check.
        if (!m_burst) {
            m_burst = true;
            SetTimer(window, kBurstTimer, kFileBurstMs, nullptr);
        }
        break;
    default:
        break;
    }
}

void Win32DayWatch::watchFiles(const std::vector<std::string>& paths, const std::string& folder) {
    if (m_stopped) {
        return;
    }
    std::set<std::string> folders;
    if (!folder.empty()) {
        folders.insert(folder);
    }
    for (const std::string& path : paths) {
        const std::size_t cut = path.find_last_of("\\/");
        if (cut != std::string::npos && cut > 0) {
            folders.insert(path.substr(0, cut));
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_folders.assign(folders.begin(), folders.end());
    }
    // Watched when this returns: a change right after it is seen.
    SetEvent(m_changed);
    WaitForSingleObject(m_rewatched, 5000);
}

void Win32DayWatch::watchThread() {
    const DWORD changes = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                          FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
    HANDLE registryEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HKEY values = nearestKey(m_options.dayValuesKey);
    auto armRegistry = [&] {
        if (values != nullptr) {
            RegNotifyChangeKeyValue(values, TRUE,
                                    REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                    registryEvent, TRUE);
        }
    };
    armRegistry();
    std::vector<HANDLE> folders;
    auto closeFolders = [&] {
        for (HANDLE h : folders) {
            FindCloseChangeNotification(h);
        }
        folders.clear();
    };
    for (;;) {
        std::vector<HANDLE> waits{m_quit, m_changed, registryEvent};
        waits.insert(waits.end(), folders.begin(), folders.end());
        const DWORD n =
            static_cast<DWORD>(std::min<std::size_t>(waits.size(), MAXIMUM_WAIT_OBJECTS));
        const DWORD got = WaitForMultipleObjects(n, waits.data(), FALSE, INFINITE);
        if (got == WAIT_OBJECT_0 || got == WAIT_FAILED) {
            break;
        }
        if (got == WAIT_OBJECT_0 + 1) {
            // New folders: watched from now on.
            closeFolders();
            std::vector<std::string> wanted;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                wanted = m_folders;
            }
            for (const std::string& folder : wanted) {
                HANDLE h =
                    FindFirstChangeNotificationW(wideFromUtf8(folder).c_str(), FALSE, changes);
                if (h != INVALID_HANDLE_VALUE) {
                    folders.push_back(h);
                }
            }
            SetEvent(m_rewatched);
            continue;
        }
        if (got == WAIT_OBJECT_0 + 2) {
            armRegistry();
        } else if (got > WAIT_OBJECT_0 + 2 && got < WAIT_OBJECT_0 + n) {
            FindNextChangeNotification(waits[got - WAIT_OBJECT_0]);
        }
        PostMessageW(static_cast<HWND>(m_window), kFileEvent, 0, 0);
    }
    closeFolders();
    if (values != nullptr) {
        RegCloseKey(values);
    }
    CloseHandle(registryEvent);
}

void Win32DayWatch::stop() {
    if (m_stopped) {
        return;
    }
    m_stopped = true;
    m_dayCheck = nullptr;
    m_fileCheck = nullptr;
    m_eveCheck = nullptr;
    SetEvent(m_quit);
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_window != nullptr) {
        DestroyWindow(static_cast<HWND>(m_window));
        m_window = nullptr;
    }
}

} // namespace lumora
