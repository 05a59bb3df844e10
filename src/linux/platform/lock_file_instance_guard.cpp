#include "linux/platform/lock_file_instance_guard.h"

#include "linux/platform/xdg_dirs.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {

namespace {

QString lockName() {
    return QStringLiteral("lumora-%1.lock").arg(static_cast<qulonglong>(::getuid()));
}

QString fromNative(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The file name of the program process `pid` runs; empty when it cannot be read.
QString programName(const QString& pid) {
    QString target = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    // A program replaced while it runs shows as "/usr/bin/lumora (deleted)".
    const QString deleted = QStringLiteral(" (deleted)");
    if (target.endsWith(deleted)) {
        target.chop(deleted.size());
    }
    if (!target.isEmpty()) {
        return QFileInfo(target).fileName();
    }
    // Its exe may be hidden from us: the first word of its command line says the same.
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray first = cmdline.read(4096).split('\0').value(0);
    return QFileInfo(QFile::decodeName(first)).fileName();
}

} // namespace

LockFileInstanceGuard::LockFileInstanceGuard(std::string lockPath, std::string fallbackPath)
    : m_path(lockPath.empty() ? defaultLockPath() : std::move(lockPath)),
      m_fallbackPath(fallbackPath.empty() ? defaultFallbackPath() : std::move(fallbackPath)) {}

LockFileInstanceGuard::~LockFileInstanceGuard() = default;

std::string LockFileInstanceGuard::defaultLockPath() {
    return QFile::encodeName(QDir(xdgDir(XdgDir::Runtime)).filePath(lockName())).toStdString();
}

std::string LockFileInstanceGuard::defaultFallbackPath() {
    return QFile::encodeName(
               QDir(xdgDir(XdgDir::Cache)).filePath(QStringLiteral("lumora/") + lockName()))
        .toStdString();
}

bool LockFileInstanceGuard::isLiveCopyOfThisProgram(long long pid) {
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)) {
        return false;
    }
    const QString name = programName(QString::number(pid));
    return !name.isEmpty() && name == programName(QStringLiteral("self"));
}

LockFileInstanceGuard::Outcome LockFileInstanceGuard::take(const std::string& path,
                                                           std::string& why) {
    auto lock = std::make_unique<QLockFile>(fromNative(path));
    // Held for the whole run: never stale by age, only by who holds it.
    lock->setStaleLockTime(0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            return Outcome::Acquired;
        }
        if (lock->error() != QLockFile::LockFailedError) {
            why = lock->error() == QLockFile::PermissionError ? "permission denied"
                                                              : "the file cannot be created";
            return Outcome::Failed;
        }
        qint64 pid = 0;
        QString host;
        QString app;
        // An empty or damaged file names nobody; a number may have been reused by another
        // program. Either way no copy of ours holds it. (Removal is refused while a live holder
        // keeps the file locked.)
        if ((lock->getLockInfo(&pid, &host, &app) && isLiveCopyOfThisProgram(pid)) ||
            !lock->removeStaleLockFile()) {
            return Outcome::HeldByLiveCopy;
        }
    }
    return Outcome::HeldByLiveCopy;
}

bool LockFileInstanceGuard::tryAcquire() {
    if (m_lock) {
        return true;
    }
    std::string why;
    const Outcome outcome = take(m_path, why);
    if (outcome != Outcome::Failed) {
        return outcome == Outcome::Acquired;
    }
    // The usual place cannot hold a lock: not a reason to stay away.
    const QString fallbackFolder = QFileInfo(fromNative(m_fallbackPath)).absolutePath();
    QDir().mkpath(fallbackFolder);
    ::chmod(QFile::encodeName(fallbackFolder).constData(), 0700);
    std::string fallbackWhy;
    const Outcome fallback = take(m_fallbackPath, fallbackWhy);
    if (fallback == Outcome::HeldByLiveCopy) {
        return false;
    }
    const std::string instead = fallback == Outcome::Acquired
                                    ? "using " + m_fallbackPath + " instead"
                                    : "starting without one";
    std::fprintf(stderr, "lumora: the instance lock %s cannot be taken (%s); %s\n", m_path.c_str(),
                 why.c_str(), instead.c_str());
    return true;
}

std::string LockFileInstanceGuard::heldPath() const {
    return m_lock ? QFile::encodeName(m_lock->fileName()).toStdString() : std::string();
}

void LockFileInstanceGuard::release() {
    m_lock.reset();
}

} // namespace lumora
