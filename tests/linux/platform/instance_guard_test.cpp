// The one-instance lock with real second processes, and a holder killed while it held the lock.
#include "linux/platform/lock_file_instance_guard.h"
#include "test_support.h"

#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::byName;

class InstanceGuard : public ::testing::Test {
protected:
    // Whether a new guard in a new process gets the lock.
    bool anotherProcessAcquires() {
        return test::Child([&](int) {
                   return LockFileInstanceGuard(m_path).tryAcquire();
               }).wait() == 1;
    }
    QTemporaryDir m_dir;
    const std::string m_path = m_dir.path().toStdString() + "/lumora-test.lock";
};

// A second guard, in this process or another, is refused until the holder releases the lock.
TEST_F(InstanceGuard, OthersAreRefusedUntilReleased) {
    LockFileInstanceGuard holder(m_path);
    LockFileInstanceGuard second(m_path);
    EXPECT_TRUE(holder.tryAcquire());
    EXPECT_TRUE(holder.tryAcquire()) << "asking again keeps it";
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_FALSE(anotherProcessAcquires());
    holder.release();
    EXPECT_TRUE(anotherProcessAcquires()) << "after release the next process gets it";
    EXPECT_TRUE(second.tryAcquire());
}

// A lock file left by someone else: only a live copy of this program named in it keeps it.
struct LeftLockRow {
    const char* name;
    std::string content; // "<self>" stands for this process's number
    bool taken;
};
class InstanceGuardLeftLock : public ::testing::TestWithParam<LeftLockRow> {};
TEST_P(InstanceGuardLeftLock, TakenUnlessALiveCopyHoldsIt) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/lumora-test.lock";
    std::string content = GetParam().content;
    if (auto at = content.find("<self>"); at != std::string::npos) {
        content.replace(at, 6, std::to_string(::getpid()));
    }
    ASSERT_TRUE(test::writeAll(path, content));
    // A new process, so the lock's own process-local bookkeeping plays no part.
    EXPECT_EQ(test::Child([&](int) { return LockFileInstanceGuard(path).tryAcquire(); }).wait(),
              GetParam().taken ? 1 : 0);
}
INSTANTIATE_TEST_SUITE_P(
    InstanceGuard, InstanceGuardLeftLock,
    ::testing::Values(LeftLockRow{"Empty", "", true}, LeftLockRow{"Damaged", "lumora\n", true},
                      // Process 1 is alive but is not this program, whatever the file says.
                      LeftLockRow{"OtherProgram", "1\nlumora\nanother-host\n", true},
                      LeftLockRow{"LiveCopy", "<self>\nlumora\nanother-host\n", false}),
    byName);

// A folder that cannot hold the lock (here a regular file stands where the folder should be)
// does not keep the program from starting: the second place takes over, and still keeps a second
// copy started the same way out.
TEST_F(InstanceGuard, UnusableFolderFallsBackToTheSecondPlace) {
    const std::string blocker = m_dir.path().toStdString() + "/runtime";
    ASSERT_TRUE(test::writeAll(blocker, "a file, not a folder"));
    const std::string path = blocker + "/lumora.lock";
    const std::string fallback = m_dir.path().toStdString() + "/cache/lumora/lumora.lock";
    LockFileInstanceGuard guard(path, fallback);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(guard.tryAcquire());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(guard.heldPath(), fallback);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(
        test::Child([&](int) { return LockFileInstanceGuard(path, fallback).tryAcquire(); }).wait(),
        0);
}

struct LockPathRow {
    const char* name;
    const char* runtime; // XDG_RUNTIME_DIR under the temporary folder ("-": unset)
    bool inRuntimeFolder;
};
class InstanceGuardPath : public ::testing::TestWithParam<LockPathRow> {};
TEST_P(InstanceGuardPath, Default) {
    QTemporaryDir dir;
    const std::string runtime = GetParam().runtime;
    std::optional<std::string> value;
    if (runtime != "-") {
        value = runtime == "relative" ? "run/user" : dir.path().toStdString() + runtime;
    }
    test::ScopedEnv env("XDG_RUNTIME_DIR", value);
    const std::string expected =
        (GetParam().inRuntimeFolder ? dir.path() : QDir::tempPath()).toStdString() + "/lumora-" +
        std::to_string(::getuid()) + ".lock";
    EXPECT_EQ(LockFileInstanceGuard::defaultLockPath(), expected);
    EXPECT_EQ(LockFileInstanceGuard().lockPath(), expected);
}
INSTANTIATE_TEST_SUITE_P(InstanceGuard, InstanceGuardPath,
                         ::testing::Values(LockPathRow{"RuntimeFolder", "", true},
                                           LockPathRow{"Unset", "-", false},
                                           LockPathRow{"Relative", "relative", false},
                                           LockPathRow{"Missing", "/missing", false}),
                         byName);

} // namespace
} // namespace lumora
