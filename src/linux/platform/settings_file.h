#pragma once
// The per-user settings file: the registry keys and the option texts in one human-readable file,
// $XDG_CONFIG_HOME/lumora/lumora.conf (default ~/.config/lumora/lumora.conf).
//
// Reads use the copy in memory and load the file again whenever it changed on disk, so values
// another process wrote are seen. Every write takes <file>.lock, reads the file again, applies
// its one change and saves the whole file atomically (written beside it, flushed, renamed over
// it), so a crash never leaves half a file and two processes never lose each other's values.
//
// Failures the store raises (StoreFailure with an errno code, which GetRegValue turns into
// "Error: <code>"): the file exists but cannot be read (EACCES, EIO, ...), the path is a directory
// (EISDIR) or another non-regular file (EINVAL), the file is larger than 4 MiB (EFBIG), or a
// folder on the way is a file (ENOTDIR). A missing file is an empty store, not a failure. A
// damaged file is not a failure either: the lines that parse are used, and the damaged original
// is copied to <file>.damaged (or <file>.damaged.N) before the file is next replaced. Writes never
// throw: a write that cannot be done leaves the file as it was and logs one line on stderr.
#include "core/settings/memory_registry.h"
#include "core/settings/settings_format.h"

#include <optional>
#include <string>

struct stat;

namespace lumora {

class SettingsFile : public RegistryBackend, public OptionStore {
public:
    explicit SettingsFile(std::string path);

    // $XDG_CONFIG_HOME/lumora/lumora.conf, or ~/.config/lumora/lumora.conf.
    static std::string defaultPath();
    const std::string& path() const { return m_path; }

    // Registry seam
    std::int32_t createKey(RegKey root, const std::string& path, std::uint32_t access,
                           RegKey* opened) override;
    std::int32_t openKey(RegKey root, const std::string& path, std::uint32_t access,
                         RegKey* opened) override;
    std::int32_t queryValue(RegKey key, const std::string& name, std::uint32_t* type,
                            std::vector<std::uint8_t>* data, std::uint32_t* size) override;
    std::int32_t setValue(RegKey key, const std::string& name, std::uint32_t type,
                          const std::vector<std::uint8_t>& data) override;
    std::int32_t closeKey(RegKey key) override;

    // Option store seam
    std::optional<std::string> readOption(const std::string& app, const std::string& section,
                                          const std::string& key) override;
    void writeOption(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& text) override;

    // What the last load of the file found (bad line numbers of a damaged file).
    const SettingsParseReport& lastReport() const { return m_report; }
    // Where the damaged original was last kept, if one was.
    const std::string& lastBackupPath() const { return m_lastBackup; }
    // How long a write waits for another process's lock.
    void setLockTimeout(int milliseconds) { m_lockTimeoutMs = milliseconds; }
    // A reader that only takes a first look says nothing of an unreadable or damaged file: the
    // program's own reader tells it, once.
    void setQuiet(bool quiet) { m_quiet = quiet; }

    static constexpr long long kMaxFileSize = 4 * 1024 * 1024;

private:
    struct Stamp {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long mtimeNs = 0;
        long long ctimeNs = 0;
        bool exists = false;
        bool operator==(const Stamp&) const = default;
    };
    // The stamp of a file from its status.
    static Stamp stampOf(const struct stat& st);

    // Loads the file when it changed on disk (always when `force`). Throws StoreFailure when it
    // exists but cannot be read; the next call tries again.
    void refresh(bool force);
    // Under the lock: reads the file again, runs `change` on the fresh copy and saves it when
    // `change` returned true. False when the change could not be saved (logged).
    template <typename Change> bool modify(Change change);
    bool keepDamagedCopy();
    bool save();
    void logReadFailure(int code);

    std::string m_path;
    MemoryRegistry m_cache;
    std::optional<Stamp> m_stamp; // of the file the cache was loaded from; none = load again
    SettingsParseReport m_report;
    std::optional<std::string> m_damagedText; // raw text of a damaged file not yet kept aside
    std::string m_lastBackup;
    int m_lockTimeoutMs = 5000;
    int m_loggedReadFailure = 0;
    bool m_quiet = false;
};

} // namespace lumora
