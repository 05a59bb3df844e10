// The one-instance lock with real second processes, and a holder killed while it held the lock.
#include "platform/linux/lock_file_instance_guard.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace lumora {
namespace {

using test::forkChild;
using test::waitChild;

TEST(InstanceGuard, SecondGuardInTheSameProcessIsRefusedUntilReleased) {
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/lumora-test.lock";
    LockFileInstanceGuard first(path);
    LockFileInstanceGuard second(path);
    EXPECT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.tryAcquire()) << "asking again keeps it";
    EXPECT_FALSE(second.tryAcquire());
    first.release();
    EXPECT_TRUE(second.tryAcquire());
}

TEST(InstanceGuard, AnotherProcessIsRefusedWhileTheHolderRuns) {
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/lumora-test.lock";
    LockFileInstanceGuard holder(path);
    ASSERT_TRUE(holder.tryAcquire());
    pid_t child = forkChild([&] {
        LockFileInstanceGuard guard(path);
        return guard.tryAcquire() ? 1 : 0;
    });
    EXPECT_EQ(waitChild(child), 0) << "the second process must be refused";
    holder.release();
    child = forkChild([&] {
        LockFileInstanceGuard guard(path);
        return guard.tryAcquire() ? 0 : 1;
    });
    EXPECT_EQ(waitChild(child), 0) << "after release the next process gets it";
}

TEST(InstanceGuard, KilledHolderDoesNotBlockTheNextStart) {
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/lumora-test.lock";
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    pid_t child = forkChild([&] {
        ::close(fds[0]);
        LockFileInstanceGuard guard(path);
        char answer = guard.tryAcquire() ? 'y' : 'n';
        (void)!::write(fds[1], &answer, 1);
        for (;;) {
            ::pause();
        }
        return 0;
    });
    ::close(fds[1]);
    char answer = 0;
    ASSERT_EQ(::read(fds[0], &answer, 1), 1);
    ::close(fds[0]);
    ASSERT_EQ(answer, 'y');

    LockFileInstanceGuard next(path);
    EXPECT_FALSE(next.tryAcquire()) << "the holder still runs";
    ::kill(child, SIGKILL);
    EXPECT_EQ(waitChild(child), 128 + SIGKILL);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path))) << "a killed holder leaves its file";
    EXPECT_TRUE(next.tryAcquire());
}

struct LockPathRow {
    const char* name;
    int runtime; // 0 unset, 1 an existing absolute folder, 2 relative, 3 missing folder
    bool inRuntimeFolder;
};
class InstanceGuardPath : public ::testing::TestWithParam<LockPathRow> {};
TEST_P(InstanceGuardPath, Default) {
    QTemporaryDir dir;
    std::optional<std::string> value;
    switch (GetParam().runtime) {
    case 1:
        value = dir.path().toStdString();
        break;
    case 2:
        value = "run/user";
        break;
    case 3:
        value = dir.path().toStdString() + "/missing";
        break;
    default:
        break;
    }
    test::ScopedEnv env("XDG_RUNTIME_DIR", value);
    std::string name = "/lumora-" + std::to_string(::getuid()) + ".lock";
    std::string folder =
        GetParam().inRuntimeFolder ? dir.path().toStdString() : QDir::tempPath().toStdString();
    EXPECT_EQ(LockFileInstanceGuard::defaultLockPath(), folder + name);
    EXPECT_EQ(LockFileInstanceGuard().lockPath(), folder + name);
}
INSTANTIATE_TEST_SUITE_P(InstanceGuard, InstanceGuardPath,
                         ::testing::Values(LockPathRow{"RuntimeFolder", 1, true},
                                           LockPathRow{"Unset", 0, false},
                                           LockPathRow{"Relative", 2, false},
                                           LockPathRow{"Missing", 3, false}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
