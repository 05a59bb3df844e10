// One instance per session: a second guard of the same name is refused while the first holds,
// in this process and from another; a holder that is killed leaves the next start free.
#include "windows/platform/mutex_instance_guard.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_program_info.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace lumora {
namespace {

const char* const kName = "Local\\LumoraTest.Instance";
const wchar_t* const kReady = L"Local\\LumoraTest.HolderReady";

// Run as a process of its own by the test below (LUMORA_HOLD set): holds the guard until killed.
// Disabled, so that only that test runs it.
TEST(InstanceHolder, DISABLED_HoldsUntilKilled) {
    if (std::getenv("LUMORA_HOLD") == nullptr) {
        GTEST_SKIP() << "started by the test that kills it";
    }
    MutexInstanceGuard guard(kName);
    ASSERT_TRUE(guard.tryAcquire());
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, kReady);
    SetEvent(ready);
    Sleep(INFINITE);
}

TEST(Instance, SecondIsRefusedUntilTheFirstGoes) {
    auto first = std::make_unique<MutexInstanceGuard>(kName);
    ASSERT_TRUE(first->tryAcquire());
    MutexInstanceGuard second(kName);
    EXPECT_FALSE(second.tryAcquire());
    first.reset();
    EXPECT_TRUE(second.tryAcquire());
}

TEST(Instance, AKilledHolderInAnotherProcessFreesTheNextStart) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, kReady);
    ASSERT_NE(ready, nullptr);
    const std::wstring exe = wideFromUtf8(Win32ProgramInfo().executablePath());
    std::wstring command = L"\"" + exe +
                           L"\" --gtest_also_run_disabled_tests"
                           L" --gtest_filter=InstanceHolder.DISABLED_HoldsUntilKilled";
    SetEnvironmentVariableW(L"LUMORA_HOLD", L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION holder{};
    const BOOL started = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &holder);
    SetEnvironmentVariableW(L"LUMORA_HOLD", nullptr);
    ASSERT_TRUE(started);
    ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0) << "the holder did not start";
    EXPECT_FALSE(MutexInstanceGuard(kName).tryAcquire());
    TerminateProcess(holder.hProcess, 1);
    WaitForSingleObject(holder.hProcess, 60000);
    CloseHandle(holder.hThread);
    CloseHandle(holder.hProcess);
    CloseHandle(ready);
    EXPECT_TRUE(MutexInstanceGuard(kName).tryAcquire());
}

// The picture folder is the user's local application data, made on first use.
TEST(ProgramInfo, PictureFolderIsUnderLocalAppData) {
    const Win32ProgramInfo info;
    const std::string folder = info.pictureFolder();
    wchar_t local[MAX_PATH] = {};
    ASSERT_NE(GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH), 0u);
    EXPECT_EQ(folder, utf8FromWide(local) + "\\Lumora");
    EXPECT_NE(GetFileAttributesW(wideFromUtf8(folder).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(info.executablePath().ends_with(".exe")) << info.executablePath();
}

} // namespace
} // namespace lumora
