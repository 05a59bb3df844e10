#include "linux/desktop/sway_backend.h"

#include "linux/desktop/desktop_mapping.h"
#include "linux/platform/xdg_dirs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStringList>

#include <csignal>
#include <unistd.h>

namespace lumora {

namespace {

std::string defaultPidFile() {
    return (xdgDir(XdgDir::Runtime) + QStringLiteral("/lumora-swaybg-%1.pid").arg(getuid()))
        .toStdString();
}

long long readPid(const std::string& file) {
    QFile in(QString::fromStdString(file));
    if (!in.open(QIODevice::ReadOnly)) {
        return 0;
    }
    bool ok = false;
    const long long pid = in.readLine(32).trimmed().toLongLong(&ok);
    return ok && pid > 1 ? pid : 0;
}

void writePid(const std::string& file, long long pid) {
    QSaveFile out(QString::fromStdString(file));
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QByteArray::number(pid) + '\n');
        out.commit();
    }
}

// Whether process `pid` is gone (or a zombie nobody reaped).
bool ended(long long pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
    const qsizetype close = text.lastIndexOf(')');
    return close <= 0 || text.size() <= close + 2 || text[close + 2] == 'Z';
}

// Whether the swaybg just started ended within its first moments, as it does when it cannot
// reach the compositor or load the picture.
bool endedAtOnce(long long pid) {
    for (int i = 0; i < 10; ++i) {
        if (ended(pid)) {
            return true;
        }
        ::usleep(25'000);
    }
    return ended(pid);
}

// Ends a swaybg of ours; any other process that has taken over the number is left alone.
void stopSwaybg(long long pid) {
    if (pid <= 1) {
        return;
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "swaybg") {
        return;
    }
    kill(static_cast<pid_t>(pid), SIGTERM);
}

} // namespace

SwayBackend::SwayBackend(std::string program, std::string pidFile)
    : m_program(std::move(program)),
      m_pidFile(pidFile.empty() ? defaultPidFile() : std::move(pidFile)) {}

DesktopResult SwayBackend::setWallpaper(const std::string& path, int style) {
    if (DesktopResult refused = m_log.checkPicturePathAsText(path); !refused) {
        return refused;
    }
    m_path = path;
    if (swaybgMode(style)) {
        m_style = style;
    }
    return restart();
}

DesktopResult SwayBackend::setBackgroundColor(std::uint32_t rgb) {
    m_color = rgb;
    return restart();
}

DesktopResult SwayBackend::restart() {
    QStringList args;
    for (const std::string& arg : swaybgArguments(m_path, m_style, m_color)) {
        args << QString::fromStdString(arg);
    }
    const long long previous = m_pid != 0 ? m_pid : readPid(m_pidFile);
    // Detached, and holding none of our descriptors: a caller reading our output would otherwise
    // wait for swaybg to end.
    QProcess process;
    process.setProgram(QString::fromStdString(m_program));
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid) || pid <= 0) {
        return m_log.fail(m_program + " could not be started");
    }
    if (endedAtOnce(pid)) {
        // The background shown so far stays.
        return m_log.fail(m_program + " ended at once");
    }
    m_pid = pid;
    writePid(m_pidFile, pid);
    if (previous != pid) {
        stopSwaybg(previous);
    }
    return DesktopResult::success();
}

} // namespace lumora
