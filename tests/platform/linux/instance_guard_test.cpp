// The one-instance lock with real second processes, and a holder killed while it held the lock.
#include "platform/linux/lock_file_instance_guard.h"
#include "test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumora {
namespace {

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

TEST_F(InstanceGuard, SecondGuardInTheSameProcessIsRefusedUntilReleased) {
    LockFileInstanceGuard first(m_path);
    LockFileInstanceGuard second(m_path);
    EXPECT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.tryAcquire()) << "asking again keeps it";
    EXPECT_FALSE(second.tryAcquire());
    first.release();
    EXPECT_TRUE(second.tryAcquire());
}

TEST_F(InstanceGuard, AnotherProcessIsRefusedWhileTheHolderRuns) {
    LockFileInstanceGuard holder(m_path);
    ASSERT_TRUE(holder.tryAcquire());
    EXPECT_FALSE(anotherProcessAcquires());
    holder.release();
    EXPECT_TRUE(anotherProcessAcquires()) << "after release the next process gets it";
}

TEST_F(InstanceGuard, KilledHolderDoesNotBlockTheNextStart) {
    test::Child holder([&](int readyFd) {
        LockFileInstanceGuard guard(m_path);
        test::ready(readyFd, guard.tryAcquire() ? 'y' : 'n');
        for (;;) {
            ::pause();
        }
        return 0;
    });
    ASSERT_EQ(holder.waitReady(), 'y');
    LockFileInstanceGuard next(m_path);
    EXPECT_FALSE(next.tryAcquire()) << "the holder still runs";
    EXPECT_EQ(holder.kill(), 128 + SIGKILL);
    EXPECT_TRUE(test::exists(m_path)) << "a killed holder leaves its file";
    EXPECT_TRUE(next.tryAcquire());
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
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
