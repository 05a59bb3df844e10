// The built-in default picture written at every start.
#include "core/fakes/engine_rig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora {
namespace {

namespace fs = std::filesystem;

enum class Before {
    NoFolder,     // the picture folder does not exist yet
    NoFile,       // the folder exists, without Default.bmp
    LongerFile,   // a longer file of other bytes is there
    DamagedFile,  // a file of the right length with other bytes
    FolderIsFile, // a file stands where the picture folder should be
    DefaultIsFolder,
};

struct DefaultRow {
    const char* name;
    Before before;
    bool resource;  // whether the resource is there
    bool syncFails; // the finished file cannot be made durable
    bool written;   // Default.bmp holds the resource afterwards
};

void PrintTo(const DefaultRow& row, std::ostream* os) {
    *os << row.name;
}

const std::vector<DefaultRow> kRows = {
    {"FirstStartCreatesFolderAndFile", Before::NoFolder, true, false, true},
    {"WritesIntoExistingFolder", Before::NoFile, true, false, true},
    {"ReplacesLongerFileWhole", Before::LongerFile, true, false, true},
    {"RewritesDamagedFile", Before::DamagedFile, true, false, true},
    {"MissingResourceLeavesOldFile", Before::DamagedFile, false, false, false},
    {"MissingResourceWritesNothing", Before::NoFile, false, false, false},
    {"FailedSyncLeavesOldFile", Before::LongerFile, true, true, false},
    {"FolderIsFileQuietly", Before::FolderIsFile, true, false, false},
    {"DefaultIsFolderQuietly", Before::DefaultIsFolder, true, false, false},
};

class CreateDefaultTable : public ::testing::TestWithParam<DefaultRow> {};

TEST_P(CreateDefaultTable, WritesTheResourceAtomically) {
    const DefaultRow& row = GetParam();
    fakes::EngineRig rig;
    const auto picture = fakes::patternBytes(381976, 4);
    if (row.resource) {
        rig.resources.items["default_bmp"] = picture;
    }
    rig.resources.items["logo_bmp"] = fakes::patternBytes(100);
    fakes::CountingFileSync sync;
    sync.result = !row.syncFails;
    rig.engine.setFileSync(&sync);
    const fs::path target = rig.folder() / "Default.bmp";
    std::optional<std::vector<std::uint8_t>> old;
    switch (row.before) {
    case Before::NoFolder:
        break;
    case Before::NoFile:
        fs::create_directories(rig.folder());
        break;
    case Before::LongerFile:
        fs::create_directories(rig.folder());
        old = fakes::patternBytes(400000, 9);
        break;
    case Before::DamagedFile:
        fs::create_directories(rig.folder());
        old = fakes::patternBytes(381976, 8);
        break;
    case Before::FolderIsFile:
        fakes::writeBytes(rig.folder(), fakes::patternBytes(10));
        break;
    case Before::DefaultIsFolder:
        fs::create_directories(target);
        break;
    }
    if (old) {
        fakes::writeBytes(target, *old);
    }

    EXPECT_NO_THROW(rig.engine.CreateDefault());

    EXPECT_EQ(rig.engine.defaultPicturePath(), target.string());
    if (row.written) {
        EXPECT_EQ(fakes::readBytes(target), picture);
        EXPECT_EQ(sync.synced.size(), 1u);
    } else if (old) {
        EXPECT_EQ(fakes::readBytes(target), *old);
    } else if (row.before == Before::DefaultIsFolder) {
        EXPECT_TRUE(fs::is_directory(target));
    } else {
        EXPECT_FALSE(fs::is_regular_file(target));
    }
    // Nothing half-written is left behind.
    if (fs::is_directory(rig.folder())) {
        for (const auto& entry : fs::directory_iterator(rig.folder())) {
            EXPECT_EQ(entry.path(), target);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CreateDefaultTable, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CreateDefault, EveryStartRewritesTheSameBytes) {
    fakes::EngineRig rig;
    const auto picture = fakes::patternBytes(381976, 4);
    rig.resources.items["default_bmp"] = picture;
    rig.engine.CreateDefault();
    fakes::writeBytes(rig.folder() / "Default.bmp", fakes::patternBytes(12));
    rig.engine.CreateDefault();
    EXPECT_EQ(fakes::readBytes(rig.folder() / "Default.bmp"), picture);
}

} // namespace
} // namespace lumora
