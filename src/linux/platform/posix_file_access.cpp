#include "linux/platform/posix_file_access.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {

namespace {

int openRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The descriptor as a stream, or closed when it cannot become one.
std::FILE* streamOf(int fd, const char* mode) {
    std::FILE* file = ::fdopen(fd, mode);
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
}

} // namespace

std::FILE* PosixFileAccess::openRegularFile(const std::filesystem::path& path,
                                            std::uintmax_t& length) {
    // O_NONBLOCK: a pipe or a device in the file's place never keeps the open waiting; what was
    // opened is then checked, not the name, so nothing can be swapped in between.
    const int fd = openRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = streamOf(fd, "rb");
    if (file != nullptr) {
        length = static_cast<std::uintmax_t>(info.st_size);
    }
    return file;
}

std::FILE* PosixFileAccess::createNewFile(const std::filesystem::path& path) {
    // O_EXCL: never a file that is already there, nor the target of a link in its place.
    const int fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    return streamOf(fd, "wb");
}

} // namespace lumora
