#include "platform/desktop/sway_backend.h"

#include "platform/desktop/desktop_mapping.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace lumora {

namespace {

std::string defaultPidFile() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
    }
    return (dir + QStringLiteral("/lumora-swaybg-%1.pid").arg(getuid())).toStdString();
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

void SwayBackend::setWallpaper(const std::string& path, int style) {
    m_path = path;
    if (swaybgMode(style)) {
        m_style = style;
    }
    restart();
}

void SwayBackend::setBackgroundColor(std::uint32_t rgb) {
    m_color = rgb;
    restart();
}

void SwayBackend::restart() {
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
        std::fprintf(stderr, "lumora: %s could not be started\n", m_program.c_str());
        return;
    }
    m_pid = pid;
    writePid(m_pidFile, pid);
    if (previous != pid) {
        stopSwaybg(previous);
    }
}

} // namespace lumora
