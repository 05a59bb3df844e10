#include "linux/desktop/prepared_pictures.h"

#include "linux/platform/xdg_dirs.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace lumora {

namespace {

constexpr char kMagic[8] = {'L', 'U', 'M', 'P', 'R', 'E', 'P', '\1'};
constexpr std::size_t kMaxHeader = 64 * 1024;
constexpr std::uint32_t kMaxPieces = 64;
constexpr const char* kSuffix = ".prep";

// The header as written: plain bytes in this machine's order (the cache never leaves it).
class HeaderWriter {
public:
    void bytes(const void* data, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        m_data.insert(m_data.end(), p, p + n);
    }
    template <typename T> void value(T v) { bytes(&v, sizeof v); }
    std::vector<std::uint8_t>& data() { return m_data; }

private:
    std::vector<std::uint8_t> m_data;
};

class HeaderReader {
public:
    HeaderReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool bytes(void* out, std::size_t n) {
        if (n > m_size - m_at) {
            return false;
        }
        std::memcpy(out, m_data + m_at, n);
        m_at += n;
        return true;
    }
    template <typename T> bool value(T& v) { return bytes(&v, sizeof v); }
    std::size_t at() const { return m_at; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

bool writeAll(int fd, const std::uint8_t* data, std::size_t n) {
    while (n > 0) {
        const ssize_t done = ::write(fd, data, n);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        data += done;
        n -= static_cast<std::size_t>(done);
    }
    return true;
}

bool readAll(int fd, std::uint8_t* out, std::size_t n, std::size_t offset) {
    while (n > 0) {
        const ssize_t done = ::pread(fd, out, n, static_cast<off_t>(offset));
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        out += done;
        offset += static_cast<std::size_t>(done);
        n -= static_cast<std::size_t>(done);
    }
    return true;
}

// A piece whose numbers make sense for pixels of `stride` bytes a row.
bool plausible(const PreparedPiece& p) {
    const PixelRect& clip = p.piece.sourceClip;
    return !clip.empty() && clip.width <= 32767 && clip.height <= 32767 && p.stride >= 4 &&
           p.stride / 4 <= 2 * std::size_t(clip.width) + 8 && p.stride >= std::size_t(clip.width);
}

} // namespace

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{
        static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
        static_cast<std::int64_t>(st.st_size), st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

std::uint64_t PreparedPictures::checksum(const std::uint8_t* data, std::size_t bytes) {
    // Four independent lanes of multiply and rotate, so the loop runs at memory speed.
    constexpr std::uint64_t k = 0x9e3779b97f4a7c15ull;
    std::uint64_t lane[4] = {k, k ^ 1, k ^ 2, k ^ 3};
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        for (int j = 0; j < 4; ++j) {
            std::uint64_t w;
            std::memcpy(&w, data + i + 8 * std::size_t(j), 8);
            lane[j] = ((lane[j] ^ w) * k);
            lane[j] = (lane[j] << 31) | (lane[j] >> 33);
        }
    }
    std::uint64_t h = bytes * k;
    for (std::uint64_t l : lane) {
        h = ((h ^ l) * k);
        h ^= h >> 29;
    }
    for (; i < bytes; ++i) {
        h = (h ^ data[i]) * k;
        h ^= h >> 29;
    }
    return h;
}

PreparedEntry::PreparedEntry(std::string file, int fd, std::vector<PreparedPiece> pieces,
                             std::vector<std::uint64_t> sums, std::size_t payloadStart)
    : m_file(std::move(file)), m_fd(fd), m_pieces(std::move(pieces)), m_sums(std::move(sums)),
      m_payloadStart(payloadStart) {}

PreparedEntry::~PreparedEntry() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

PreparedEntry::PreparedEntry(PreparedEntry&& other) noexcept
    : m_file(std::move(other.m_file)), m_fd(std::exchange(other.m_fd, -1)),
      m_pieces(std::move(other.m_pieces)), m_sums(std::move(other.m_sums)),
      m_payloadStart(other.m_payloadStart) {}

bool PreparedEntry::read(std::size_t index, std::uint8_t* out) {
    if (index >= m_pieces.size() || m_fd < 0) {
        return false;
    }
    std::size_t offset = m_payloadStart;
    for (std::size_t i = 0; i < index; ++i) {
        offset += m_pieces[i].bytes();
    }
    const std::size_t n = m_pieces[index].bytes();
    if (readAll(m_fd, out, n, offset) && PreparedPictures::checksum(out, n) == m_sums[index]) {
        return true;
    }
    ::unlink(m_file.c_str());
    return false;
}

PreparedPictures::PreparedPictures(std::string folder) : m_folder(std::move(folder)) {
    if (m_folder.empty()) {
        m_folder = QFile::encodeName(xdgDir(XdgDir::Cache)).toStdString() + "/lumora/prepared";
    }
}

std::string PreparedPictures::keyOf(const std::string& path, const FileIdentity& id,
                                    const std::string& screen) {
    return "file " + std::to_string(id.device) + ":" + std::to_string(id.inode) + " size " +
           std::to_string(id.size) + " mtime " + std::to_string(id.mtimeSec) + "." +
           std::to_string(id.mtimeNsec) + "\nscreen " + screen + "\npath " + path;
}

std::string PreparedPictures::fileFor(const std::string& key) const {
    char name[17];
    std::snprintf(name, sizeof name, "%016llx",
                  static_cast<unsigned long long>(
                      checksum(reinterpret_cast<const std::uint8_t*>(key.data()), key.size())));
    return m_folder + "/" + name + kSuffix;
}

std::optional<PreparedEntry> PreparedPictures::find(const std::string& key) const {
    const std::string file = fileFor(key);
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    auto damaged = [&] {
        ::close(fd);
        ::unlink(file.c_str());
        return std::nullopt;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return damaged();
    }
    std::vector<std::uint8_t> head(std::min<std::size_t>(kMaxHeader, std::size_t(st.st_size)));
    if (!readAll(fd, head.data(), head.size(), 0)) {
        return damaged();
    }
    HeaderReader in(head.data(), head.size());
    char magic[sizeof kMagic] = {};
    std::uint32_t keyLength = 0;
    if (!in.bytes(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0 ||
        !in.value(keyLength) || keyLength != key.size()) {
        return damaged();
    }
    std::string kept(keyLength, '\0');
    std::uint32_t count = 0;
    if (!in.bytes(kept.data(), keyLength) || kept != key || !in.value(count) || count == 0 ||
        count > kMaxPieces) {
        return damaged();
    }
    std::vector<PreparedPiece> pieces(count);
    std::vector<std::uint64_t> sums(count);
    std::size_t payload = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        WallpaperPiece& w = pieces[i].piece;
        std::int32_t v[11] = {};
        std::uint64_t stride = 0;
        if (!in.bytes(v, sizeof v) || !in.value(stride) || !in.value(sums[i])) {
            return damaged();
        }
        w = {{v[0], v[1]}, {v[2], v[3], v[4], v[5]}, {v[6], v[7], v[8], v[9]}, v[10] != 0};
        pieces[i].stride = static_cast<std::size_t>(stride);
        if (!plausible(pieces[i])) {
            return damaged();
        }
        payload += pieces[i].bytes();
    }
    const std::size_t headerEnd = in.at();
    std::uint64_t headerSum = 0;
    if (!in.value(headerSum) || headerSum != checksum(head.data(), headerEnd) ||
        std::uint64_t(st.st_size) != in.at() + payload) {
        return damaged();
    }
    // Used now: the least recently used entries are the ones let go of.
    ::futimens(fd, nullptr);
    return PreparedEntry(file, fd, std::move(pieces), std::move(sums), in.at());
}

bool PreparedPictures::store(const std::string& key, const std::vector<PreparedPiece>& pieces,
                             const std::vector<const std::uint8_t*>& pixels) const {
    if (pieces.empty() || pieces.size() != pixels.size() || pieces.size() > kMaxPieces ||
        key.size() > kMaxHeader / 2) {
        return false;
    }
    HeaderWriter out;
    out.bytes(kMagic, sizeof kMagic);
    out.value(static_cast<std::uint32_t>(key.size()));
    out.bytes(key.data(), key.size());
    out.value(static_cast<std::uint32_t>(pieces.size()));
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const WallpaperPiece& w = pieces[i].piece;
        const std::int32_t v[11] = {w.scaledSize.width, w.scaledSize.height, w.sourceClip.x,
                                    w.sourceClip.y,     w.sourceClip.width,  w.sourceClip.height,
                                    w.target.x,         w.target.y,          w.target.width,
                                    w.target.height,    w.tiled ? 1 : 0};
        if (!plausible(pieces[i])) {
            return false;
        }
        out.bytes(v, sizeof v);
        out.value(static_cast<std::uint64_t>(pieces[i].stride));
        out.value(checksum(pixels[i], pieces[i].bytes()));
    }
    out.value(checksum(out.data().data(), out.data().size()));

    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    static std::atomic<unsigned> serial{0};
    const std::string file = fileFor(key);
    const std::string temporary =
        file + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(serial.fetch_add(1));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    bool ok = writeAll(fd, out.data().data(), out.data().size());
    for (std::size_t i = 0; ok && i < pieces.size(); ++i) {
        ok = writeAll(fd, pixels[i], pieces[i].bytes());
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    trim();
    return true;
}

void PreparedPictures::trim() const {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<std::pair<fs::file_time_type, fs::path>> entries;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        const auto when = fs::last_write_time(p, ec);
        if (ec) {
            ec.clear();
            continue;
        }
        if (p.extension() == kSuffix) {
            entries.emplace_back(when, p);
        } else if (p.filename().string().find(".tmp-") != std::string::npos &&
                   now - when > std::chrono::minutes(10)) {
            fs::remove(p, ec); // left by a writer that did not finish
            ec.clear();
        }
    }
    if (entries.size() <= std::size_t(kMaxEntries)) {
        return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = kMaxEntries; i < entries.size(); ++i) {
        fs::remove(entries[i].second, ec);
    }
}

} // namespace lumora
