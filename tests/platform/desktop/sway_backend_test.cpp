// The swaybg backend: what it starts, with which arguments, and that each start ends the one
// before. A stand-in named swaybg records its arguments and waits to be ended.
#include "platform/desktop/sway_backend.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace lumora {
namespace {

class SwayBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_program = m_dir.filePath(QStringLiteral("swaybg"));
        QFile script(m_program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // Each argument on its own NUL-terminated record, in a file named by the process id.
        script.write("#!/bin/sh\n"
                     "printf '%s\\0' \"$@\" > \"$(dirname \"$0\")/args.$$.tmp\"\n"
                     "mv \"$(dirname \"$0\")/args.$$.tmp\" \"$(dirname \"$0\")/args.$$\"\n"
                     "trap 'kill $child 2>/dev/null; exit 0' TERM\n"
                     "sleep 600 & child=$!\n"
                     "wait $child\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_pidFile = m_dir.filePath(QStringLiteral("swaybg.pid")).toStdString();
    }
    void TearDown() override {
        for (const long long pid : m_started) {
            kill(static_cast<pid_t>(pid), SIGTERM);
        }
    }
    // The arguments the stand-in of `pid` was started with (waits for it to write them).
    std::vector<std::string> argsOf(long long pid) {
        QFile file(m_dir.filePath(QStringLiteral("args.%1").arg(pid)));
        for (int i = 0; i < 300 && !file.exists(); ++i) {
            QThread::msleep(10);
        }
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        std::vector<std::string> args;
        for (const QByteArray& arg : file.readAll().split('\0')) {
            args.push_back(arg.toStdString());
        }
        args.pop_back(); // after the last terminator
        return args;
    }
    static bool running(long long pid) {
        // A zombie is not running: only a live process has a state other than Z.
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) {
            return false;
        }
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        return close > 0 && text.size() > close + 2 && text[close + 2] != 'Z';
    }
    static bool endsWithin(long long pid) {
        for (int i = 0; i < 300; ++i) {
            if (!running(pid)) {
                return true;
            }
            QThread::msleep(10);
        }
        return false;
    }
    long long start(SwayBackend& backend) {
        const long long pid = backend.runningPid();
        m_started.push_back(pid);
        return pid;
    }

    QTemporaryDir m_dir;
    QString m_program;
    std::string m_pidFile;
    std::vector<long long> m_started;
};

TEST_F(SwayBackendTest, EachChangeReplacesTheOneBefore) {
    SwayBackend backend(m_program.toStdString(), m_pidFile);
    backend.setBackgroundColor(0xFFFFFF);
    const long long first = start(backend);
    ASSERT_GT(first, 0);
    EXPECT_EQ(argsOf(first),
              (std::vector<std::string>{"-o", "*", "-c", "#ffffff", "-m", "solid_color"}));

    const std::string path = "/tmp/it's a \"$(id)\" #1\nfile.png";
    backend.setWallpaper(path, 0);
    const long long second = start(backend);
    ASSERT_GT(second, 0);
    EXPECT_NE(second, first);
    EXPECT_EQ(argsOf(second),
              (std::vector<std::string>{"-o", "*", "-c", "#ffffff", "-i", path, "-m", "center"}));
    EXPECT_TRUE(endsWithin(first)) << "the swaybg started before is still running";
    EXPECT_TRUE(running(second));

    // The colour alone redraws the same picture on the new colour.
    backend.setBackgroundColor(0x0000FF);
    const long long third = start(backend);
    EXPECT_EQ(argsOf(third),
              (std::vector<std::string>{"-o", "*", "-c", "#ff0000", "-i", path, "-m", "center"}));
    EXPECT_TRUE(endsWithin(second));

    backend.setWallpaper("", 2);
    const long long fourth = start(backend);
    EXPECT_EQ(argsOf(fourth),
              (std::vector<std::string>{"-o", "*", "-c", "#ff0000", "-m", "solid_color"}));
    EXPECT_TRUE(endsWithin(third));
}

TEST_F(SwayBackendTest, ALaterRunReplacesTheEarlierRunsSwaybg) {
    long long earlier = 0;
    {
        SwayBackend run1(m_program.toStdString(), m_pidFile);
        run1.setWallpaper("/tmp/a.png", 3);
        earlier = start(run1);
    }
    // The program has ended; its swaybg keeps the desktop's background.
    ASSERT_TRUE(running(earlier));
    SwayBackend run2(m_program.toStdString(), m_pidFile);
    run2.setWallpaper("/tmp/b.png", 1);
    const long long later = start(run2);
    EXPECT_EQ(argsOf(later), (std::vector<std::string>{"-o", "*", "-c", "#000000", "-i",
                                                       "/tmp/b.png", "-m", "tile"}));
    EXPECT_TRUE(endsWithin(earlier));
}

TEST_F(SwayBackendTest, AnotherProgramUnderTheRecordedNumberIsLeftAlone) {
    // The recorded number now belongs to this test program, which is not a swaybg.
    QFile pid(QString::fromStdString(m_pidFile));
    ASSERT_TRUE(pid.open(QIODevice::WriteOnly));
    pid.write(QByteArray::number(static_cast<qint64>(getpid())) + "\n");
    pid.close();
    SwayBackend backend(m_program.toStdString(), m_pidFile);
    backend.setWallpaper("/tmp/a.png", 2);
    start(backend);
    SUCCEED() << "still running: the test program was not sent SIGTERM";
}

TEST_F(SwayBackendTest, MissingSwaybgIsReportedNotFatal) {
    SwayBackend backend(m_dir.filePath(QStringLiteral("no-such-swaybg")).toStdString(), m_pidFile);
    ::testing::internal::CaptureStderr();
    backend.setWallpaper("/tmp/a.png", 2);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(backend.runningPid(), 0);
    EXPECT_NE(err.find("could not be started"), std::string::npos) << err;
}

} // namespace
} // namespace lumora
