#include "platform/linux/lock_file_instance_guard.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

namespace lumora {

LockFileInstanceGuard::LockFileInstanceGuard(std::string lockPath)
    : m_path(lockPath.empty() ? defaultLockPath() : std::move(lockPath)) {}

LockFileInstanceGuard::~LockFileInstanceGuard() = default;

std::string LockFileInstanceGuard::defaultLockPath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder) || !QFileInfo(folder).isDir()) {
        folder = QDir::tempPath();
    }
    QString name = QStringLiteral("lumora-%1.lock").arg(static_cast<qulonglong>(::getuid()));
    return QFile::encodeName(QDir(folder).filePath(name)).toStdString();
}

bool LockFileInstanceGuard::tryAcquire() {
    if (m_lock) {
        return true;
    }
    auto lock = std::make_unique<QLockFile>(QFile::decodeName(QByteArray::fromStdString(m_path)));
    // Held for the whole run: never stale by age, only when its process is gone.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

void LockFileInstanceGuard::release() {
    m_lock.reset();
}

} // namespace lumora
