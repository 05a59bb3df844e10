// The swaybg backend: what it starts, with which arguments, and that each start ends the one
// before. A stand-in named swaybg records its arguments and waits to be ended.
#include "linux/desktop/sway_backend.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

namespace lumora {
namespace {

using Args = std::vector<std::string>;

class SwayBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QFile script(m_dir.filePath("swaybg"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // Each argument NUL-terminated, in a file named by the process id.
        script.write(
            "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$0.$$.tmp\" && mv \"$0.$$.tmp\" \"$0.$$\"\n"
            "trap 'kill $child; exit 0' TERM\nsleep 600 & child=$!\nwait $child\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override {
        for (const long long pid : m_started) {
            kill(static_cast<pid_t>(pid), SIGTERM);
        }
    }
    SwayBackend backend(const char* program = "swaybg") {
        return SwayBackend(m_dir.filePath(program).toStdString(), pidFile());
    }
    std::string pidFile() const { return m_dir.filePath("pid").toStdString(); }
    // A picture file of that name (a backend refuses a missing one).
    std::string picture(const char* name) {
        QFile file(m_dir.filePath(QString::fromUtf8(name)));
        file.open(QIODevice::WriteOnly);
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(&file, "PNG");
        return file.fileName().toStdString();
    }
    // The swaybg the backend runs now, and the arguments it was started with.
    std::pair<long long, Args> started(const SwayBackend& backend) {
        const long long pid = backend.runningPid();
        m_started.push_back(pid);
        QFile file(m_dir.filePath(QStringLiteral("swaybg.%1").arg(pid)));
        for (int i = 0; i < 300 && !file.exists(); ++i) {
            QThread::msleep(10);
        }
        Args args;
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& arg : file.readAll().split('\0')) {
                args.push_back(arg.toStdString());
            }
            args.pop_back(); // after the last terminator
        }
        return {pid, args};
    }
    // Whether `pid` is a live process (not a zombie), once it had up to 3 s to end.
    static bool running(long long pid, bool wait = false) {
        for (int i = 0; i < (wait ? 300 : 1); QThread::msleep(10), ++i) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : "";
            const qsizetype close = text.lastIndexOf(')');
            if (close <= 0 || text.size() <= close + 2 || text[close + 2] == 'Z') {
                return false;
            }
        }
        return true;
    }

    QTemporaryDir m_dir;
    std::vector<long long> m_started;
};

TEST_F(SwayBackendTest, AnotherProgramUnderTheRecordedNumberIsLeftAlone) {
    // The recorded number belongs to this test program, which is not a swaybg: were it sent
    // SIGTERM, the test program would end here.
    QFile pid(QString::fromStdString(pidFile()));
    ASSERT_TRUE(pid.open(QIODevice::WriteOnly));
    pid.write(QByteArray::number(static_cast<qint64>(getpid())) + "\n");
    pid.close();
    SwayBackend sway = backend();
    sway.setWallpaper(picture("a.png"), 2);
    EXPECT_GT(started(sway).first, 0);
}

// A change that does not reach the screen fails, says why once, and leaves the background that
// was shown before running.
struct FailureRow {
    const char* name;
    const char* program;
    const char* picture; // made in the test's folder; "-": a relative path
    const char* reason;
};
class SwayFailures : public SwayBackendTest, public ::testing::WithParamInterface<FailureRow> {};
TEST_P(SwayFailures, AreReportedAndKeepTheShownBackground) {
    QFile failing(m_dir.filePath("failing-swaybg"));
    ASSERT_TRUE(failing.open(QIODevice::WriteOnly));
    failing.write("#!/bin/sh\necho 'cannot connect to the compositor' >&2\nexit 1\n");
    failing.close();
    failing.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SwayBackend shown = backend();
    ASSERT_TRUE(shown.setWallpaper(picture("shown.png"), 2));
    const long long before = started(shown).first;

    SwayBackend sway = backend(GetParam().program);
    const std::string path =
        std::string(GetParam().picture) == "-" ? "pictures/a.png" : picture(GetParam().picture);
    ::testing::internal::CaptureStderr();
    const DesktopResult first = sway.setWallpaper(path, 2);
    const DesktopResult second = sway.setWallpaper(path, 2);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(first.ok || second.ok);
    EXPECT_NE(first.reason.find(GetParam().reason), std::string::npos) << first.reason;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_TRUE(running(before)) << "the background shown before was ended";
}
INSTANTIATE_TEST_SUITE_P(
    Sway, SwayFailures,
    ::testing::Values(FailureRow{"MissingSwaybg", "no-such-swaybg", "a.png",
                                 "could not be started"},
                      FailureRow{"SwaybgEndsAtOnce", "failing-swaybg", "a.png", "ended at once"},
                      FailureRow{"RelativePath", "swaybg", "-", "not an absolute path"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
