// The pages of a read-only file mapping that only this process holds go back to the system.
#include "platform/linux/memory.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <linux/magic.h>
#include <vector>

TEST(Memory, CodePagesOfThisProcessAloneAreHandedBack) {
    QTemporaryDir dir(QDir::currentPath() + "/pages-XXXXXX"); // the build folder, not a tmpfs
    const std::string path = dir.path().toStdString() + "/code";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0 || fs.f_type == TMPFS_MAGIC) {
        ::close(fd);
        GTEST_SKIP() << "pages of a tmpfs file have nowhere to go but swap";
    }
    const long page = ::sysconf(_SC_PAGESIZE);
    const std::size_t size = 64 * static_cast<std::size_t>(page);
    std::vector<char> bytes(size, 'x');
    ASSERT_EQ(::write(fd, bytes.data(), size), static_cast<ssize_t>(size));
    ASSERT_EQ(::fsync(fd), 0); // clean pages: nothing left to write back
    auto* mapped =
        static_cast<volatile char*>(::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0));
    ::close(fd);
    ASSERT_NE(mapped, MAP_FAILED);
    const auto resident = [&] {
        std::vector<unsigned char> in(64);
        ::mincore(const_cast<char*>(mapped), size, in.data());
        int n = 0;
        for (unsigned char c : in) {
            n += c & 1;
        }
        return n;
    };
    long sum = 0;
    for (std::size_t i = 0; i < size; i += static_cast<std::size_t>(page)) {
        sum += mapped[i];
    }
    EXPECT_EQ(sum, 64L * 'x');
    EXPECT_EQ(resident(), 64);
    // Pages the kernel has not yet put on its lists are passed over once.
    for (int round = 0; round < 3 && resident() == 64; ++round) {
        lumora::handBackCodePages();
    }
    EXPECT_LT(resident(), 64);
    EXPECT_EQ(mapped[0], 'x'); // read again from the file when needed
    ::munmap(const_cast<char*>(mapped), size);
}
