#include "platform/linux/posix_file_sync.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lumora {

bool PosixFileSync::syncFile(const std::string& path) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace lumora
