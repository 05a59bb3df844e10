#include "platform/linux/posix_file_sync.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

struct SyncCase {
    const char* name;
    bool makeFile;
    bool expected;
};

class PosixFileSyncTest : public ::testing::TestWithParam<SyncCase> {};

TEST_P(PosixFileSyncTest, ReportsWhetherTheDataReachedTheDisk) {
    const auto& c = GetParam();
    auto dir = std::filesystem::temp_directory_path() / ("lumora-sync-" + std::string(c.name));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto file = dir / "copy.tmp";
    if (c.makeFile) {
        std::ofstream(file) << "picture bytes";
    }
    lumora::PosixFileSync sync;
    EXPECT_EQ(sync.syncFile(file.string()), c.expected);
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Rows, PosixFileSyncTest,
                         ::testing::Values(SyncCase{"written", true, true},
                                           SyncCase{"missing", false, false}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
