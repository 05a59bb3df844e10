#include "core/engine/picture_files.h"

#include "core/text/utf8_path.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

namespace lumora {

namespace fs = std::filesystem;

std::string lastCharacters(const std::string& text, std::size_t count) {
    std::size_t start = text.size();
    std::size_t found = 0;
    while (start > 0 && found < count) {
        --start;
        // A UTF-8 continuation byte (10xxxxxx) belongs to the character before it.
        auto byte = static_cast<unsigned char>(text[start]);
        if ((byte & 0xC0u) != 0x80u) {
            ++found;
        }
    }
    return text.substr(start);
}

std::string plainNamePart(const std::string& part) {
    std::string out = part;
    for (char& c : out) {
        if (c == '/' || c == '\0' || c == static_cast<char>(fs::path::preferred_separator)) {
            c = '_';
        }
    }
    return out;
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A new file beside the destination that takes the bytes first. It is removed again unless it
// was renamed into place.
class PartFile {
public:
    PartFile(const fs::path& destination, FileAccess& files)
        : m_destination(destination), m_files(files) {
        std::random_device seed;
        std::mt19937_64 gen(seed());
        fs::path folder = destination.parent_path();
        // Built with append: GCC 12 warns wrongly (-Wrestrict) about "." + string at -O2.
        std::string name = ".";
        name.append(utf8FromPath(destination.filename())).append(".part-");
        for (int attempt = 0; attempt < 16 && !m_file; ++attempt) {
            fs::path candidate = folder / pathFromUtf8(name + std::to_string(gen() % 100000000ULL));
            // Never a file that is already there.
            m_file.reset(files.createNewFile(candidate));
            if (m_file) {
                m_path = candidate;
            }
        }
    }
    ~PartFile() {
        m_file.reset();
        if (!m_committed && !m_path.empty()) {
            std::error_code ec;
            fs::remove(m_path, ec);
        }
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    bool isOpen() const { return static_cast<bool>(m_file); }
    // `buffer` must outlive the file's use (the copy holds both).
    void setBuffer(std::vector<char>& buffer) {
        std::setvbuf(m_file.get(), buffer.data(), _IOFBF, buffer.size());
    }

    // Buffered: a failed write (a full disk) shows here or at the latest when the file is
    // flushed or committed, and the destination is then left as it was.
    bool write(const std::uint8_t* data, std::size_t size) {
        if (size == 0) {
            return true;
        }
        return std::fwrite(data, 1, size, m_file.get()) == size;
    }

    // Starts writing what was written so far to the disk (through `sync`), so the flush at the
    // end has little left to wait for.
    bool writeOut(FileSync* sync) {
        if (std::fflush(m_file.get()) != 0) {
            return false;
        }
        if (sync) {
            sync->startWriteOut(utf8FromPath(m_path));
        }
        return true;
    }

    // Closes, syncs and renames the file over the destination.
    bool commit(FileSync* sync) {
        if (std::fflush(m_file.get()) != 0 || std::ferror(m_file.get()) != 0) {
            return false;
        }
        if (std::fclose(m_file.release()) != 0) {
            return false;
        }
        if (sync && !sync->syncFile(utf8FromPath(m_path))) {
            return false;
        }
        if (!m_files.replaceFile(m_path, m_destination)) {
            return false;
        }
        m_committed = true;
        return true;
    }

private:
    fs::path m_destination;
    FileAccess& m_files;
    fs::path m_path;
    FilePtr m_file;
    bool m_committed = false;
};

} // namespace

bool copyInBlocks(const std::string& source, const std::string& destination, FileAccess& files,
                  EventPump& events, FileSync* sync) {
    std::error_code ec;
    // Only a regular file is copied: a folder has no bytes and a pipe would block the copy.
    std::uintmax_t length = 0;
    const fs::path sourcePath = pathFromUtf8(source);
    FilePtr in(files.openRegularFile(sourcePath, length));
    if (!in) {
        return false;
    }
    PartFile out{pathFromUtf8(destination), files};
    if (!out.isOpen()) {
        return false;
    }
    // The blocks are read and written through larger buffers: a few hundred system calls for a
    // large picture instead of one for every kilobyte.
    std::vector<char> inBuffer(kCopyIoBuffer);
    std::vector<char> outBuffer(kCopyIoBuffer);
    std::setvbuf(in.get(), inBuffer.data(), _IOFBF, inBuffer.size());
    out.setBuffer(outBuffer);

    const auto total = static_cast<long long>(length);
    long long block = static_cast<long long>(kCopyBlockSize);
    std::vector<std::uint8_t> buffer(kCopyBlockSize);
    // A large copy goes to the disk in portions while it is made: the flush at the end would
    // otherwise hold the program for the whole file at once.
    constexpr long long kWriteOutStep = 8LL << 20;
    long long writtenOut = 0;
    // Positions count bytes from 1.
    for (long long p = 1; p <= total; p += block) {
        if (total - p - block < 0) {
            // The last 1,024 bytes or fewer go one byte per step.
            block = 1;
        }
        const auto size = static_cast<std::size_t>(block);
        if (std::fread(buffer.data(), 1, size, in.get()) != size) {
            return false; // the source shrank or could not be read
        }
        if (!out.write(buffer.data(), size)) {
            return false;
        }
        if (p + block - 1 - writtenOut >= kWriteOutStep) {
            writtenOut = p + block - 1;
            if (!out.writeOut(sync)) {
                return false;
            }
        }
        events.processEvents();
    }

    // The source must still be the file that was measured at the start.
    const std::uintmax_t lengthNow = fs::file_size(sourcePath, ec);
    if (ec || lengthNow != length) {
        return false;
    }
    in.reset();
    return out.commit(sync);
}

bool writeFileAtomically(const std::string& destination, const std::vector<std::uint8_t>& bytes,
                         FileAccess& files, FileSync* sync) {
    PartFile out{pathFromUtf8(destination), files};
    if (!out.isOpen()) {
        return false;
    }
    if (!out.write(bytes.data(), bytes.size())) {
        return false;
    }
    return out.commit(sync);
}

bool fileHolds(const std::string& path, const std::vector<std::uint8_t>& bytes, FileAccess& files) {
    std::uintmax_t length = 0;
    std::FILE* in = files.openRegularFile(pathFromUtf8(path), length);
    if (in == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> held(bytes.size());
    const bool same = length == bytes.size() &&
                      std::fread(held.data(), 1, held.size(), in) == held.size() &&
                      std::fgetc(in) == EOF && held == bytes;
    std::fclose(in);
    return same;
}

void removeStaleParts(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(pathFromUtf8(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = utf8FromPath(it->path().filename());
        if (name.size() > 1 && name[0] == '.' && name.find(".part-") != std::string::npos &&
            it->is_regular_file(ec)) {
            fs::remove(it->path(), ec);
        }
    }
}

} // namespace lumora
