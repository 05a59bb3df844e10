#include "linux/platform/posix_file_sync.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lumora {

namespace {
int openForSync(const std::string& path) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
} // namespace

bool PosixFileSync::syncFile(const std::string& path) {
    const int fd = openForSync(path);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void PosixFileSync::startWriteOut(const std::string& path) {
    if (const int fd = openForSync(path); fd >= 0) {
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        ::close(fd);
    }
}

} // namespace lumora
