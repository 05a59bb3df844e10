#pragma once
// Wallpapers prepared ahead for the root-window backend: the pixels of every piece of a picture as
// drawn on this screen (decoded, scaled, in the server's pixel format), kept on disk under
// $XDG_CACHE_HOME/lumora/prepared/, so that drawing the same picture again (the next log-in, the
// next time its day comes) only reads the pixels back instead of decoding the file.
//
// An entry is used only for the very file it was made from (device, inode, size and modification
// time, and the path) and for the very screen it was made for (the key text says both); its
// header and every piece carry a checksum, and an entry whose size, header or pixels do not match
// is removed, never drawn. Entries are written under a temporary name and renamed into place, so
// a reader never sees half of one. The folder keeps the kMaxEntries most recently used entries
// (one a day of the week), nothing else.
#include "linux/desktop/wallpaper_geometry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

// What tells one version of a picture file from another.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeSec = 0;
    std::int64_t mtimeNsec = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the regular file `path` names (links followed); nothing when there is none.
std::optional<FileIdentity> fileIdentity(const std::string& path);

// One piece of a prepared picture: where it goes, and its rows of `stride` bytes.
struct PreparedPiece {
    WallpaperPiece piece;
    std::size_t stride = 0;
    std::size_t bytes() const { return stride * static_cast<std::size_t>(piece.sourceClip.height); }
};

// A found entry: its pieces, and the means to read their pixels.
class PreparedEntry {
public:
    PreparedEntry(std::string file, int fd, std::vector<PreparedPiece> pieces,
                  std::vector<std::uint64_t> sums, std::size_t payloadStart);
    ~PreparedEntry();
    PreparedEntry(PreparedEntry&& other) noexcept;
    PreparedEntry& operator=(PreparedEntry&&) = delete;
    PreparedEntry(const PreparedEntry&) = delete;
    PreparedEntry& operator=(const PreparedEntry&) = delete;

    const std::vector<PreparedPiece>& pieces() const { return m_pieces; }
    // Reads piece `index` into `out` (pieces()[index].bytes() bytes). False when the file is
    // short or the pixels do not match their checksum: the entry is then removed.
    bool read(std::size_t index, std::uint8_t* out);

private:
    std::string m_file;
    int m_fd = -1;
    std::vector<PreparedPiece> m_pieces;
    std::vector<std::uint64_t> m_sums;
    std::size_t m_payloadStart = 0;
};

class PreparedPictures {
public:
    // The most entries the folder keeps: one for each day of the week.
    static constexpr int kMaxEntries = 7;

    // `folder` empty: $XDG_CACHE_HOME/lumora/prepared (~/.cache/lumora/prepared).
    explicit PreparedPictures(std::string folder = {});

    const std::string& folder() const { return m_folder; }

    // The key of a picture drawn on a screen: the file's path and identity, and `screen`, a text
    // that names everything about the screen and the drawing that the pixels depend on (size,
    // monitors, pixel format, style, background).
    static std::string keyOf(const std::string& path, const FileIdentity& identity,
                             const std::string& screen);

    // The entry for `key` when there is a good one; a damaged one is removed.
    std::optional<PreparedEntry> find(const std::string& key) const;

    // Keeps `pieces` (their pixels at `pixels[i]`, rows of pieces[i].stride bytes) under `key`,
    // replacing what was kept under it, then lets go of the least recently used entries beyond
    // kMaxEntries. False when nothing could be written (the folder is not writable, the disk is
    // full); nothing half-written is ever left under the entry's name.
    bool store(const std::string& key, const std::vector<PreparedPiece>& pieces,
               const std::vector<const std::uint8_t*>& pixels) const;

    // The checksum kept with the header and with every piece.
    static std::uint64_t checksum(const std::uint8_t* data, std::size_t bytes);

private:
    std::string fileFor(const std::string& key) const;
    void trim() const;

    std::string m_folder;
};

} // namespace lumora
