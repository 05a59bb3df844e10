// The day watch under Wine: midnight on an injected clock, a set clock as the system broadcasts
// it, a deleted day file, a changed day value in the registry, a burst brought to one check, and
// nothing at all once stopped.
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_day_watch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// Runs the thread's messages until `done` or `ms` went by.
bool pumpUntil(const std::function<bool()>& done, DWORD ms = 10000) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (!done()) {
        const ULONGLONG left = deadline > GetTickCount64() ? deadline - GetTickCount64() : 0;
        if (left == 0) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(std::min<ULONGLONG>(left, 50)), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    return true;
}

std::int64_t systemNow() {
    FILETIME t{};
    GetSystemTimePreciseAsFileTime(&t);
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}

class DayWatch : public ::testing::Test {
protected:
    void SetUp() override {
        // Test cases run at once in processes of their own: a folder for each.
        folder = fs::temp_directory_path() /
                 (L"LumoraWatch \u00E9 " + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ofstream(folder / L"Monday.jpg") << "x";
        std::ofstream(folder / L"Tuesday.jpg") << "x";
    }
    void TearDown() override { fs::remove_all(folder); }
    std::unique_ptr<Win32DayWatch> watch(Win32DayWatchOptions options = {}) {
        options.dayValuesKey = valuesKey;
        auto w = std::make_unique<Win32DayWatch>(std::move(options));
        w->setDayCheck([this] { ++dayChecks; });
        w->setFileCheck([this] { ++fileChecks; });
        w->watchFiles({utf8FromWide((folder / L"Monday.jpg").wstring())},
                      utf8FromWide(folder.wstring()));
        return w;
    }

    fs::path folder;
    const std::string valuesKey =
        "Software\\LumoraWatchTest" + std::to_string(GetCurrentProcessId()) + "\\Local Settings";
    int dayChecks = 0;
    int fileChecks = 0;
};

TEST_F(DayWatch, MidnightOnTheInjectedClockBringsTheDayCheckAndTheEve) {
    // Three seconds before the next local midnight, and running from there: room for a busy
    // machine to make the watch before the eve is over.
    const std::int64_t start = systemNow();
    const std::int64_t offset =
        (Win32DayWatch::msecsToNextDay(start) - Win32DayWatch::kMidnightMarginMs - 3000) * 10000;
    const ULONGLONG started = GetTickCount64();
    Win32DayWatchOptions options;
    options.utcNow = [=] {
        return start + offset + static_cast<std::int64_t>(GetTickCount64() - started) * 10000;
    };
    // Other tests broadcast set clocks, which bring day checks too: only one made once the
    // injected clock is past midnight counts.
    const std::int64_t midnight = start + offset + 3000 * 10000;
    int eves = 0;
    int afterMidnight = 0;
    auto w = watch(options);
    w->setDayCheck([&] { afterMidnight += options.utcNow() >= midnight ? 1 : 0; });
    w->setEveCheck([&] { ++eves; });
    EXPECT_TRUE(pumpUntil([&] { return eves == 1; })) << "inside the eve, at once";
    EXPECT_TRUE(pumpUntil([&] { return afterMidnight >= 1; })) << "no day check after midnight";
    EXPECT_EQ(eves, 1);
}

TEST_F(DayWatch, ASetClockAsTheSystemBroadcastsIt) {
    auto w = watch();
    SendMessageTimeoutW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(pumpUntil([&] { return dayChecks >= 1; }));
}

TEST_F(DayWatch, ADeletedFileAndAChangedValueBringTheFileCheck) {
    auto w = watch();
    fs::remove(folder / L"Monday.jpg");
    ASSERT_TRUE(pumpUntil([&] { return fileChecks >= 1; })) << "the deletion was not seen";
    const int before = fileChecks;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wideFromUtf8(valuesKey).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"Monday", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    RegCloseKey(key);
    EXPECT_TRUE(pumpUntil([&] { return fileChecks > before; })) << "the value change was not seen";
    RegDeleteTreeW(HKEY_CURRENT_USER,
                   wideFromUtf8(valuesKey.substr(0, valuesKey.rfind('\\'))).c_str());
}

TEST_F(DayWatch, ABurstIsOneCheck) {
    auto w = watch();
    for (int i = 0; i < 20; ++i) {
        std::ofstream(folder / (L"burst" + std::to_wstring(i))) << "x";
    }
    ASSERT_TRUE(pumpUntil([&] { return fileChecks >= 1; }));
    pumpUntil([] { return false; }, 3 * Win32DayWatch::kFileBurstMs);
    EXPECT_LT(fileChecks, 20);
}

// Stopped, nothing is called; a second watch on the same folder shows that the change came.
TEST_F(DayWatch, AStoppedWatchCallsNothing) {
    auto stopped = watch();
    stopped->stop();
    int witnessed = 0;
    Win32DayWatch witness;
    witness.setFileCheck([&] { ++witnessed; });
    witness.watchFiles({}, utf8FromWide(folder.wstring()));
    fs::remove(folder / L"Tuesday.jpg");
    SendMessageTimeoutW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return witnessed >= 1; }));
    EXPECT_EQ(fileChecks, 0);
    EXPECT_EQ(dayChecks, 0);
}

} // namespace
} // namespace lumora
