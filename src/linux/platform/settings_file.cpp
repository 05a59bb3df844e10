#include "linux/platform/settings_file.h"

#include "linux/platform/xdg_dirs.h"
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {

namespace {

long long nanoseconds(const timespec& t) {
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

QString qpath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string errnoText(int code) {
    return std::string(std::strerror(code)) + " (error " + std::to_string(code) + ")";
}

// Why the file cannot be read, in words a user can act on.
std::string readFailureText(int code) {
    switch (code) {
    case EISDIR:
        return "it is a folder (error " + std::to_string(code) + ")";
    case EINVAL:
        return "it is not a regular file (error " + std::to_string(code) + ")";
    case EFBIG:
        return "it is larger than 4 MiB (error " + std::to_string(code) + ")";
    default:
        return errnoText(code);
    }
}

// The XDG base folder named by `variable` (used only when absolute), else $HOME/<fallback>.
} // namespace

SettingsFile::Stamp SettingsFile::stampOf(const struct stat& st) {
    return Stamp{static_cast<unsigned long long>(st.st_dev),
                 static_cast<unsigned long long>(st.st_ino),
                 static_cast<long long>(st.st_size),
                 nanoseconds(st.st_mtim),
                 nanoseconds(st.st_ctim),
                 true};
}

SettingsFile::SettingsFile(std::string path) : m_path(std::move(path)) {}

std::string SettingsFile::defaultPath() {
    return QFile::encodeName(xdgDir(XdgDir::Config) + QStringLiteral("/lumora/lumora.conf"))
        .toStdString();
}

void SettingsFile::logReadFailure(int code) {
    if (m_loggedReadFailure != code && !m_quiet) {
        std::fprintf(stderr, "lumora: cannot read the settings file %s: %s\n", m_path.c_str(),
                     readFailureText(code).c_str());
        m_loggedReadFailure = code;
    }
}

void SettingsFile::refresh(bool force) {
    auto fail = [this](int code) {
        m_stamp.reset();
        logReadFailure(code);
        throw StoreFailure(code, readFailureText(code), m_path);
    };
    auto loadMissing = [this] {
        m_cache.clear();
        m_report = {};
        m_damagedText.reset();
        m_stamp = Stamp{};
        m_loggedReadFailure = 0;
    };

    struct stat st {};
    if (::stat(m_path.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            if (force || !m_stamp || m_stamp->exists) {
                loadMissing();
            }
            return;
        }
        fail(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        fail(EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        fail(EINVAL);
    }
    Stamp seen = stampOf(st);
    if (!force && m_stamp && *m_stamp == seen) {
        return;
    }
    if (seen.size > kMaxFileSize) {
        fail(EFBIG);
    }

    int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) { // replaced or removed since the stat
            loadMissing();
            return;
        }
        fail(errno);
    }
    std::string text;
    char buffer[16384];
    int readError = 0;
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            readError = errno;
            break;
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        if (static_cast<long long>(text.size()) > kMaxFileSize) {
            readError = EFBIG;
            break;
        }
    }
    // The stamp of what was actually read: the file may have been replaced since the stat.
    struct stat readStat {};
    if (readError == 0 && ::fstat(fd, &readStat) == 0) {
        seen = stampOf(readStat);
    }
    ::close(fd);
    if (readError != 0) {
        fail(readError);
    }

    m_cache.clear();
    m_report = parseSettings(text, m_cache);
    m_stamp = seen;
    m_loggedReadFailure = 0;
    if (m_report.damaged()) {
        bool known = m_damagedText && *m_damagedText == text; // said already
        m_damagedText = std::move(text);
        if (known || m_quiet) {
            return;
        }
        std::string lines;
        for (std::size_t i = 0; i < m_report.badLines.size() && i < 10; ++i) {
            lines += (i ? ", " : "") + std::to_string(m_report.badLines[i]);
        }
        if (m_report.badLines.size() > 10) {
            lines += ", ...";
        }
        std::fprintf(stderr,
                     "lumora: the settings file %s is damaged (line %s); the readable values are "
                     "used and the file is kept as %s.damaged before it is next saved\n",
                     m_path.c_str(), lines.c_str(), m_path.c_str());
    } else {
        m_damagedText.reset();
    }
}

bool SettingsFile::keepDamagedCopy() {
    if (!m_damagedText) {
        return true;
    }
    QByteArray content = QByteArray::fromStdString(*m_damagedText);
    // <file>.damaged, or the first free <file>.damaged.N; a copy with the same bytes is reused.
    for (int n = 0; n < 1000; ++n) {
        std::string candidate = m_path + ".damaged" + (n ? "." + std::to_string(n) : "");
        QFile existing(qpath(candidate));
        if (existing.exists()) {
            if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) {
                m_lastBackup = candidate;
                m_damagedText.reset();
                return true;
            }
            continue;
        }
        QSaveFile backup(qpath(candidate));
        if (!backup.open(QIODevice::WriteOnly) || backup.write(content) != content.size() ||
            !backup.commit()) {
            std::fprintf(stderr, "lumora: settings not saved: cannot keep the damaged file as %s\n",
                         candidate.c_str());
            return false;
        }
        m_lastBackup = candidate;
        m_damagedText.reset();
        return true;
    }
    std::fprintf(stderr, "lumora: settings not saved: no free name to keep the damaged file\n");
    return false;
}

bool SettingsFile::save() {
    QByteArray content = QByteArray::fromStdString(serializeSettings(m_cache));
    QSaveFile file(qpath(m_path));
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "lumora: settings not saved to %s: %s\n", m_path.c_str(),
                     file.errorString().toLocal8Bit().constData());
        return false;
    }
    if (file.write(content) != content.size() || !file.commit()) {
        std::fprintf(stderr, "lumora: settings not saved to %s: %s\n", m_path.c_str(),
                     file.errorString().toLocal8Bit().constData());
        file.cancelWriting();
        return false;
    }
    struct stat st {};
    if (::stat(m_path.c_str(), &st) == 0) {
        m_stamp = stampOf(st);
    } else {
        m_stamp.reset();
    }
    return true;
}

namespace {
// True when the lock file names no holder and has been there for more than a second: far longer
// than a live writer takes between creating the file and writing its process id.
bool lockLeftEmpty(const QLockFile& lock, const QString& path) {
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock.getLockInfo(&pid, &host, &app)) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.lastModified().msecsTo(QDateTime::currentDateTime()) > 1000;
}
} // namespace

template <typename Change> bool SettingsFile::modify(Change change) {
    QString folder = QFileInfo(qpath(m_path)).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "lumora: settings not saved: cannot create the folder %s\n",
                     folder.toLocal8Bit().constData());
        return false;
    }
    const QString lockPath = qpath(m_path + ".lock");
    QLockFile lock(lockPath);
    // A holder that died is recognised at once by its process id; the age limit covers a lock
    // left by another machine sharing the home folder.
    lock.setStaleLockTime(30000);
    // Waited for in short slices: a writer killed between creating the lock file and writing its
    // process id into it leaves a lock nobody can identify, which is cleared as soon as it is
    // old, not after the whole wait (that wait would freeze the program at every such kill).
    QElapsedTimer waited;
    waited.start();
    bool locked = false;
    for (;;) {
        const auto left = std::max<qint64>(0, m_lockTimeoutMs - waited.elapsed());
        locked = lock.tryLock(static_cast<int>(std::min<qint64>(left, 100)));
        if (locked || lock.error() != QLockFile::LockFailedError) {
            break;
        }
        if (lockLeftEmpty(lock, lockPath)) {
            lock.removeStaleLockFile();
        } else if (left == 0) {
            break;
        }
        if (waited.elapsed() > m_lockTimeoutMs + 1000) {
            break; // a lock that keeps coming back empty
        }
    }
    if (!locked) {
        std::fprintf(stderr, "lumora: settings not saved to %s: the file is locked (%s.lock)\n",
                     m_path.c_str(), m_path.c_str());
        return false;
    }
    bool saved = false;
    try {
        refresh(true);
        if (!change(m_cache)) {
            return true; // nothing to write
        }
        saved = keepDamagedCopy() && save();
    } catch (const StoreFailure&) {
        std::fprintf(stderr, "lumora: settings not saved to %s: the file cannot be read\n",
                     m_path.c_str());
    }
    if (!saved) {
        m_stamp.reset(); // the copy in memory no longer matches the file: load it again
    }
    return saved;
}

std::int32_t SettingsFile::createKey(RegKey root, const std::string& path, std::uint32_t access,
                                     RegKey* opened) {
    if (opened) {
        *opened = 0;
    }
    if (root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE) {
        return ERROR_INVALID_HANDLE;
    }
    refresh(false);
    RegKey probe = 0;
    if (m_cache.openKey(root, path, KEY_QUERY_VALUE, &probe) == ERROR_SUCCESS) {
        m_cache.closeKey(probe);
    } else {
        bool saved = modify([&](MemoryRegistry& store) {
            RegKey existing = 0;
            if (store.openKey(root, path, KEY_QUERY_VALUE, &existing) == ERROR_SUCCESS) {
                store.closeKey(existing);
                return false; // another process created it meanwhile
            }
            store.putKey(root, path);
            return true;
        });
        if (!saved) {
            return ERROR_ACCESS_DENIED;
        }
    }
    return m_cache.createKey(root, path, access, opened);
}

std::int32_t SettingsFile::openKey(RegKey root, const std::string& path, std::uint32_t access,
                                   RegKey* opened) {
    if (opened) {
        *opened = 0;
    }
    refresh(false);
    return m_cache.openKey(root, path, access, opened);
}

std::int32_t SettingsFile::queryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                      std::vector<std::uint8_t>* data, std::uint32_t* size) {
    return m_cache.queryValue(key, name, type, data, size);
}

std::int32_t SettingsFile::setValue(RegKey key, const std::string& name, std::uint32_t type,
                                    const std::vector<std::uint8_t>& data) {
    std::int32_t status = ERROR_SUCCESS;
    bool saved = modify([&](MemoryRegistry& store) {
        std::uint32_t oldType = 0;
        std::uint32_t oldSize = 0;
        std::int32_t found = store.queryValue(key, name, &oldType, nullptr, &oldSize);
        if (found == ERROR_INVALID_HANDLE) {
            status = found;
            return false;
        }
        if (found == ERROR_SUCCESS && oldType == type && oldSize == data.size()) {
            std::vector<std::uint8_t> old(oldSize);
            if (store.queryValue(key, name, &oldType, &old, &oldSize) == ERROR_SUCCESS &&
                old == data) {
                return false; // already stored
            }
        }
        status = store.setValue(key, name, type, data);
        return status == ERROR_SUCCESS;
    });
    if (!saved) {
        return ERROR_ACCESS_DENIED;
    }
    return status;
}

std::int32_t SettingsFile::closeKey(RegKey key) {
    return m_cache.closeKey(key);
}

std::optional<std::string> SettingsFile::readOption(const std::string& app,
                                                    const std::string& section,
                                                    const std::string& key) {
    refresh(false);
    return m_cache.readOption(app, section, key);
}

void SettingsFile::writeOption(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& text) {
    modify([&](MemoryRegistry& store) {
        if (store.readOption(app, section, key) == text) {
            return false; // already stored
        }
        store.writeOption(app, section, key, text);
        return true;
    });
}

} // namespace lumora
