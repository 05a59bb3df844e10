// The engine's files on Linux: a source opens only when what was opened is a regular file, at
// once even for a pipe without a writer; a new file only under a name nothing has. And a day copy
// from a pipe through the engine fails at once and keeps the day's previous copy.
#include "core/fakes/fakes.h"
#include "linux/platform/posix_file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct Scratch {
    fakes::TempProgramInfo temp;
    fs::path at(const char* name) const { return temp.dir / pathFromUtf8(name); }
};

struct OpenRow {
    const char* name;
    // Makes what stands at `path` in the scratch folder.
    std::function<void(const Scratch&, const fs::path& path)> make;
    std::optional<std::uintmax_t> length; // nothing: refused
};

void fileOf(const fs::path& path, std::size_t size) {
    fakes::writeBytes(path, fakes::patternBytes(size));
}

const OpenRow kOpenRows[] = {
    {"RegularFile", [](auto&, auto& p) { fileOf(p, 3000); }, 3000},
    {"EmptyFile", [](auto&, auto& p) { fileOf(p, 0); }, 0},
    {"NameOutsideAscii",
     [](auto& s, auto& p) {
         fileOf(s.at("\xc3\xa9t\xc3\xa9.jpg"), 10);
         fs::create_symlink(s.at("\xc3\xa9t\xc3\xa9.jpg"), p);
     },
     10},
    {"LinkToRegularFile",
     [](auto& s, auto& p) {
         fileOf(s.at("target"), 1025);
         fs::create_symlink(s.at("target"), p);
     },
     1025},
    {"Missing", [](auto&, auto&) {}, std::nullopt},
    {"Folder", [](auto&, auto& p) { fs::create_directory(p); }, std::nullopt},
    {"DanglingLink", [](auto& s, auto& p) { fs::create_symlink(s.at("gone"), p); }, std::nullopt},
    // A named pipe with no writer: a blocking open would wait for one for ever.
    {"PipeWithoutWriter", [](auto&, auto& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
     std::nullopt},
    {"LinkToDevice", [](auto&, auto& p) { fs::create_symlink("/dev/zero", p); }, std::nullopt},
};

class PosixOpenRegularFile : public ::testing::TestWithParam<OpenRow> {};

TEST_P(PosixOpenRegularFile, OpensOnlyRegularFiles) {
    Scratch scratch;
    const fs::path path = scratch.at("source");
    GetParam().make(scratch, path);
    PosixFileAccess files;
    std::uintmax_t length = 12345;
    std::FILE* file = files.openRegularFile(path, length);
    ASSERT_EQ(file != nullptr, GetParam().length.has_value());
    if (file == nullptr) {
        EXPECT_EQ(length, 12345u); // untouched
        return;
    }
    EXPECT_EQ(length, *GetParam().length);
    std::vector<std::uint8_t> bytes(length + 1);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), length);
    bytes.resize(length);
    EXPECT_EQ(bytes, fakes::patternBytes(length));
    EXPECT_NE(::fcntl(::fileno(file), F_GETFD) & FD_CLOEXEC, 0); // no child inherits it
    std::fclose(file);
}

INSTANTIATE_TEST_SUITE_P(Rows, PosixOpenRegularFile, ::testing::ValuesIn(kOpenRows), byName);

struct CreateRow {
    const char* name;
    std::function<void(const Scratch&, const fs::path& path)> make;
    bool created;
};

const CreateRow kCreateRows[] = {
    {"NewName", [](auto&, auto&) {}, true},
    {"ExistingFile", [](auto&, auto& p) { fileOf(p, 100); }, false},
    {"Folder", [](auto&, auto& p) { fs::create_directory(p); }, false},
    // The link's target must not be created through it.
    {"DanglingLink", [](auto& s, auto& p) { fs::create_symlink(s.at("elsewhere"), p); }, false},
    {"LinkToFile",
     [](auto& s, auto& p) {
         fileOf(s.at("elsewhere"), 100);
         fs::create_symlink(s.at("elsewhere"), p);
     },
     false},
};

class PosixCreateNewFile : public ::testing::TestWithParam<CreateRow> {};

TEST_P(PosixCreateNewFile, CreatesOnlyUnderANewName) {
    Scratch scratch;
    const fs::path path = scratch.at(".Monday.jpg.part-1");
    GetParam().make(scratch, path);
    const auto before = fs::symlink_status(path).type();
    PosixFileAccess files;
    std::FILE* file = files.createNewFile(path);
    ASSERT_EQ(file != nullptr, GetParam().created);
    if (file == nullptr) {
        EXPECT_EQ(fs::symlink_status(path).type(), before);
        EXPECT_FALSE(fs::exists(scratch.at("elsewhere")) &&
                     fs::file_size(scratch.at("elsewhere")) != 100);
        return;
    }
    const auto bytes = fakes::patternBytes(2000);
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    EXPECT_NE(::fcntl(::fileno(file), F_GETFD) & FD_CLOEXEC, 0);
    EXPECT_EQ(std::fclose(file), 0);
    EXPECT_EQ(fakes::readBytes(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(Rows, PosixCreateNewFile, ::testing::ValuesIn(kCreateRows), byName);

// A pipe named as the source fails the day copy at once; the day keeps its copy and value.
TEST(PosixFileAccess, DayCopyFromAPipeFailsAtOnce) {
    fakes::EngineRig rig;
    PosixFileAccess files;
    WallpaperEngine engine{rig.state, EngineServices{rig.registry, rig.options, rig.desktop,
                                                     rig.messages, rig.events, rig.program,
                                                     rig.resources, rig.dialogs, files}};
    const fs::path copy = rig.folder() / "Monday.jpg";
    fs::create_directories(rig.folder());
    fakes::writeBytes(copy, fakes::patternBytes(500, 5));
    rig.setDayValue(2, utf8FromPath(copy));
    const fs::path source = rig.scratch() / "new.jpg";
    ASSERT_EQ(mkfifo(source.c_str(), 0600), 0);

    EXPECT_FALSE(engine.Transf(utf8FromPath(source), 2));

    EXPECT_EQ(rig.dayValue(2), utf8FromPath(copy));
    EXPECT_EQ(fakes::readBytes(copy), fakes::patternBytes(500, 5));
    EXPECT_EQ(rig.events.count, 0);
}

} // namespace
} // namespace lumora
