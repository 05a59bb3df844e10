// Whether a file's data reached the disk: yes for a written file, no for a missing one.
#include "linux/platform/posix_file_sync.h"
#include "test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PosixFileSync, ReportsWhetherTheDataReachedTheDisk) {
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/copy.tmp";
    lumora::PosixFileSync sync;
    EXPECT_FALSE(sync.syncFile(file));
    ASSERT_TRUE(lumora::test::writeAll(file, "picture bytes"));
    EXPECT_TRUE(sync.syncFile(file));
}
