#include "linux/platform/picture_file.h"

#include <QByteArray>
#include <QFile>
#include <QImage>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {

std::string picturePathProblem(const std::string& path) {
    if (path.empty() || path.front() != '/') {
        return "not an absolute path: \"" + path + "\"";
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return path + ": " + std::strerror(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return path + ": not a regular file";
    }
    return {};
}

std::unique_ptr<QFile> openPictureFile(const QByteArray& name, std::string* why) {
    auto fail = [&](const std::string& reason) -> std::unique_ptr<QFile> {
        if (why) {
            *why = name.toStdString() + ": " + reason;
        }
        return nullptr;
    };
    if (name.isEmpty()) {
        return fail("no file name");
    }
    // O_NONBLOCK: opening a pipe with no writer returns at once instead of waiting for one.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return fail(std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail("not a regular file");
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail("cannot be read");
    }
    return file;
}

namespace {

// A TGA has no signature at its start (its first bytes pass for another format's), only the
// footer of version 2.0 at its end, which is the only TGA Qt reads.
bool hasTgaFooter(int fd) {
    static constexpr char kFooter[] = "TRUEVISION-XFILE.";
    constexpr off_t kLength = sizeof kFooter; // with its terminating zero, as in the file
    struct stat info {};
    char tail[kLength] = {};
    return ::fstat(fd, &info) == 0 && info.st_size >= 18 + kLength &&
           ::pread(fd, tail, kLength, info.st_size - kLength) == kLength &&
           std::memcmp(tail, kFooter, kLength) == 0;
}

} // namespace

PictureReader::PictureReader(const QString& path) : PictureReader(QFile::encodeName(path)) {}

PictureReader::PictureReader(const QByteArray& name)
    : m_name(name), m_file(openPictureFile(name, &m_problem)) {
    if (m_file) {
        m_reader.setDevice(m_file.get());
        if (hasTgaFooter(m_file->handle())) {
            m_reader.setFormat("tga");
        } else {
            m_reader.setDecideFormatFromContent(true);
        }
    }
}

int PictureReader::handle() const {
    return m_file ? m_file->handle() : -1;
}

PictureReader::~PictureReader() {
    m_reader.setDevice(nullptr);
}

QSize PictureReader::size() {
    if (!m_file) {
        return {};
    }
    QSize size = m_reader.size();
    if (size.isEmpty() && m_reader.canRead()) {
        // A format that tells its size only by decoding. Read on a reader of its own, so that
        // this one can still decode the picture.
        PictureReader again(m_name);
        size = again.reader().read().size();
    }
    // A header that declares no pixels (0 x 0) holds no picture either.
    return size.isEmpty() ? QSize() : size;
}

bool PictureReader::withinLimit(const QSize& size) {
    return size.isValid() &&
           std::int64_t{size.width()} * std::int64_t{size.height()} <= kMaxPicturePixels;
}

} // namespace lumora
