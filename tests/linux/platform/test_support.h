#pragma once
// Helpers of the platform and window tests: child processes, environment variables, small files,
// and waiting for the event loop.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace lumora::test {

// What a child sends through `fd` to say it is ready.
inline void ready(int fd, char byte = 'y') {
    (void)!::write(fd, &byte, 1);
}

// A forked child that runs body(fd) and exits with its result (3 when it threw); body calls
// ready(fd) when the parent may go on. Killed at the end when still there.
class Child {
public:
    template <typename Body> explicit Child(Body body) {
        int fds[2] = {-1, -1};
        std::fflush(nullptr);
        if (::pipe(fds) == 0 && (m_pid = ::fork()) == 0) {
            int rc = 3;
            try {
                rc = body(fds[1]);
            } catch (...) {
            }
            ::_exit(rc);
        }
        ::close(fds[1]);
        m_ready = fds[0];
    }
    ~Child() {
        kill();
        ::close(m_ready);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    // How the child ended: its exit code, or 128 + the signal that ended it.
    int wait() {
        int status = 0;
        const pid_t pid = std::exchange(m_pid, 0);
        return pid > 0 && ::waitpid(pid, &status, 0) == pid
                   ? (WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status))
                   : -1;
    }
    int kill() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
        }
        return wait();
    }

private:
    pid_t m_pid = 0;
    int m_ready = -1;
};

// Sets (or with nullopt removes) an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        apply(value);
    }
    ~ScopedEnv() { apply(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void apply(const std::optional<std::string>& value) {
        value ? ::setenv(m_name.c_str(), value->c_str(), 1) : ::unsetenv(m_name.c_str());
    }
    std::string m_name;
    std::optional<std::string> m_old;
};

inline std::string readAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

inline bool writeAll(const std::string& path, const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(QByteArray::fromStdString(bytes)) == static_cast<qint64>(bytes.size());
}

// The name of a parameterised row, for INSTANTIATE_TEST_SUITE_P.
inline constexpr auto byName = [](const auto& row) { return std::string(row.param.name); };

inline bool exists(const std::string& path) {
    return QFile::exists(QString::fromStdString(path));
}

// Runs the event loop until `done` holds, for up to `ms`; whether it holds. Use it in an ASSERT or
// EXPECT: Qt's QTRY_ macros report to QTest, which GoogleTest never hears from.
template <typename Done> bool waitUntil(Done done, int ms = 5000) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

} // namespace lumora::test
