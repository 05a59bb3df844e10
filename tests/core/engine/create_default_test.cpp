// The built-in default picture written at every start.
#include "core/fakes/fakes.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

enum Before {
    NoFolder,        // the picture folder does not exist yet
    NoFile,          // the folder exists, without Default.bmp
    LongerFile,      // a longer file of other bytes is there
    DamagedFile,     // a file of the right length with other bytes
    SameFile,        // the file already holds the resource
    FolderIsFile,    // a file stands where the picture folder should be
    DefaultIsFolder, // a folder stands where Default.bmp should be
};

struct DefaultRow {
    const char* name;
    Before before;
    bool resource;  // whether the resource is there
    bool syncFails; // the finished file cannot be made durable
    bool written;   // Default.bmp holds the resource afterwards
    // The picture folder's name in the scratch folder, in UTF-8 and UTF-16.
    std::string folder = "pictures";
    std::u16string folder16 = u"pictures";
};

const DefaultRow kRows[] = {
    {"FirstStartCreatesFolderAndFile", NoFolder, true, false, true},
    {"ReplacesLongerFileWhole", LongerFile, true, false, true},
    {"RewritesDamagedFile", DamagedFile, true, false, true},
    {"LeavesAFileThatHoldsTheResource", SameFile, true, false, true},
    {"MissingResourceLeavesOldFile", DamagedFile, false, false, false},
    {"MissingResourceWritesNothing", NoFile, false, false, false},
    {"FailedSyncLeavesOldFile", LongerFile, true, true, false},
    {"FolderIsFileQuietly", FolderIsFile, true, false, false},
    {"DefaultIsFolderQuietly", DefaultIsFolder, true, false, false},
    {"FolderNamedOutsideAscii", NoFolder, true, false, true,
     "\xc3\xa9t\xc3\xa9 \xd1\x84\xd0\xbe\xd1\x82\xd0\xbe \xe5\xa3\x81",
     u"\u00e9t\u00e9 \u0444\u043e\u0442\u043e \u58c1"},
    {"SameFileInFolderNamedOutsideAscii", SameFile, true, false, true, "caf\xc3\xa9", u"caf\u00e9"},
};

class CreateDefaultTable : public ::testing::TestWithParam<DefaultRow> {};

TEST_P(CreateDefaultTable, WritesTheResourceAtomically) {
    const DefaultRow& row = GetParam();
    fakes::EngineRig rig{row.folder};
    ASSERT_EQ(rig.folder(), rig.scratch() / fs::path(row.folder16));
    const auto picture = fakes::patternBytes(381976, 4);
    if (row.resource) {
        rig.resources.picture = picture;
    }
    fakes::CountingFileSync sync;
    sync.result = !row.syncFails;
    rig.engine.setFileSync(&sync);
    const fs::path target = rig.folder() / "Default.bmp";
    std::optional<std::vector<std::uint8_t>> old;
    if (row.before == FolderIsFile) {
        fakes::writeBytes(rig.folder(), fakes::patternBytes(10));
    } else if (row.before != NoFolder) {
        fs::create_directories(row.before == DefaultIsFolder ? target : rig.folder());
    }
    if (row.before == SameFile) {
        fakes::writeBytes(target, picture);
    } else if (row.before == LongerFile || row.before == DamagedFile) {
        old = fakes::patternBytes(row.before == LongerFile ? 400000 : 381976, 9);
        fakes::writeBytes(target, *old);
    }

    EXPECT_NO_THROW(rig.engine.CreateDefault());

    EXPECT_EQ(rig.engine.defaultPicturePath(), utf8FromPath(target));
    if (row.written) {
        EXPECT_EQ(fakes::readBytes(target), picture);
        EXPECT_EQ(sync.synced.size(), row.before == SameFile ? 0u : 1u);
    } else if (old) {
        EXPECT_EQ(fakes::readBytes(target), *old);
    } else {
        EXPECT_EQ(fs::is_directory(target), row.before == DefaultIsFolder);
        EXPECT_FALSE(fs::is_regular_file(target));
    }
    // Nothing half-written is left behind.
    if (fs::is_directory(rig.folder())) {
        for (const auto& entry : fs::directory_iterator(rig.folder())) {
            EXPECT_EQ(entry.path(), target);
        }
    }
    // Every start rewrites the same bytes.
    if (row.written) {
        fakes::writeBytes(target, fakes::patternBytes(12));
        rig.engine.CreateDefault();
        EXPECT_EQ(fakes::readBytes(target), picture);
    }
}

// A copy killed half-way leaves its temporary file; the next start clears it and nothing else.
TEST(CreateDefault, ClearsTemporaryFilesOfAnInterruptedCopy) {
    fakes::EngineRig rig;
    rig.resources.picture = fakes::patternBytes(381976, 4);
    fs::create_directories(rig.folder());
    const fs::path part = rig.folder() / ".Monday.jpg.part-12345";
    const fs::path keep[] = {rig.folder() / "Monday.jpg", rig.folder() / ".hidden",
                             rig.folder() / "Tuesday.part-1"};
    fakes::writeBytes(part, fakes::patternBytes(100));
    for (const auto& p : keep) {
        fakes::writeBytes(p, fakes::patternBytes(10));
    }
    rig.engine.CreateDefault();
    EXPECT_FALSE(fs::exists(part));
    for (const auto& p : keep) {
        EXPECT_TRUE(fs::exists(p)) << p;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CreateDefaultTable, ::testing::ValuesIn(kRows), byName);

} // namespace
} // namespace lumora
