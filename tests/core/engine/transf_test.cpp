// The day copy: names, sizes, the block scheme as the event rounds see it, and every failure
// leaving the day's previous copy and value as they were.
#include "core/engine/picture_files.h"
#include "core/fakes/fakes.h"

#include <csignal>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace lumora {
namespace {

namespace fs = std::filesystem;
using fakes::patternBytes;
using fakes::readBytes;
using fakes::writeBytes;

// The files in a folder (none when it is not a folder).
std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         ++it) {
        out.push_back(it->path());
    }
    return out;
}

// Open descriptors of this process where the system lists them (Linux); 0 elsewhere. (Under
// Wine "/proc/self/fd" would list the descriptors of Wine's own work.)
long openDescriptors() {
#ifdef _WIN32
    return 0;
#else
    return static_cast<long>(filesIn("/proc/self/fd").size());
#endif
}

// Whether `file` can be renamed and back, or is not there: Windows refuses it while the file is
// open, so a stream the copy left open shows there.
bool notHeldOpen(const fs::path& file) {
    if (!fs::is_regular_file(file)) {
        return true;
    }
    fs::path moved = file;
    moved += ".moved";
    std::error_code ec;
    fs::rename(file, moved, ec);
    if (ec) {
        return false;
    }
    fs::rename(moved, file, ec);
    return !ec;
}

#ifndef _WIN32
// Keeps the file size limit and the handling of SIGXFSZ, which a row may change, and restores
// them at the end of the scope; a write beyond the limit then fails instead of ending the process.
class FileSizeLimitKept {
public:
    FileSizeLimitKept() : m_onFileSize(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_limit);
    }
    ~FileSizeLimitKept() {
        setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_onFileSize);
    }
    FileSizeLimitKept(const FileSizeLimitKept&) = delete;
    FileSizeLimitKept& operator=(const FileSizeLimitKept&) = delete;

private:
    rlimit m_limit{};
    void (*m_onFileSize)(int);
};
#else
struct FileSizeLimitKept {};
#endif

// Relative source paths are taken inside the scratch folder.
class TransfTest : public ::testing::Test {
protected:
    void SetUp() override { fs::current_path(rig.scratch()); }
    void TearDown() override { fs::current_path(m_cwd); }

    fakes::EngineRig rig;
    fs::path m_cwd = fs::current_path();
};

// ---- names, sizes and the block scheme: one event round per block and one per single byte ----

struct CopyRow {
    const char* name;
    std::string source; // relative to the scratch folder
    int day;
    std::string copyName; // in the picture folder
    std::size_t size;
    int rounds;
};

// A picture of exactly 1,024 bytes goes one byte per step from the start.
const CopyRow kCopyRows[] = {
    {"Gif", "pics/photo.gif", 4, "Wednesday.gif", 0, 0},
    {"JpegLosesItsDot", "pics/photo.jpeg", 2, "Mondayjpeg", 1, 1},
    {"CaseKept", "pics/photo.JPG", 1, "Sunday.JPG", 1023, 1023},
    {"ShortPathWhole", "a.b", 7, "Saturdaya.b", 1024, 1024},
    {"ShortPathWithSeparator", "a/b", 2, "Mondaya_b", 1025, 2},
    {"SeparatorInLastFour", "pics/ab/c", 3, "Tuesdayab_c", 2048, 1025},
    {"NoExtension", "pics/picture", 6, "Fridayture", 2049, 3},
    {"Utf8CharactersCountOnce", "pics/фото", 6, "Fridayфото", 4096, 1027},
    {"Utf8Extension", "pics/x.jpé", 1, "Sunday.jpé", 381976, 397},
};

class TransfCopies : public TransfTest, public ::testing::WithParamInterface<CopyRow> {};

// The copy is made (the picture folder created) and is the only file in it; no other day changes.
TEST_P(TransfCopies, GoToTheDaysFileInThePictureFolderInTheBlockScheme) {
    const CopyRow& row = GetParam();
    const fs::path expected = rig.folder() / pathFromUtf8(row.copyName);
    EXPECT_EQ(rig.engine.dayCopyPath(row.source, row.day), utf8FromPath(expected));
    fs::create_directories(("." / pathFromUtf8(row.source)).parent_path());
    const auto bytes = patternBytes(row.size, 3);
    writeBytes(pathFromUtf8(row.source), bytes);

    EXPECT_TRUE(rig.engine.Transf(row.source, row.day));

    EXPECT_EQ(readBytes(expected), bytes);
    EXPECT_EQ(rig.events.count, row.rounds);
    EXPECT_EQ(filesIn(rig.folder()), std::vector<fs::path>{expected});
    for (int w = 1; w <= 7; ++w) {
        EXPECT_EQ(rig.dayValue(w), w == row.day ? utf8FromPath(expected) : "") << "day " << w;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TransfCopies, ::testing::ValuesIn(kCopyRows), byName);

TEST_F(TransfTest, LongerOldCopyIsReplacedWhole) {
    fs::create_directories(rig.folder());
    writeBytes(rig.folder() / "Friday.jpg", patternBytes(5000, 9));
    writeBytes("new.jpg", patternBytes(3000, 1));
    rig.engine.Transf("new.jpg", 6);
    EXPECT_EQ(readBytes(rig.folder() / "Friday.jpg"), patternBytes(3000, 1));
}

TEST_F(TransfTest, TheDaysOwnCopyAsSourceSurvives) {
    writeBytes("first.jpg", patternBytes(2500));
    rig.engine.Transf("first.jpg", 2);
    const fs::path copy = rig.folder() / "Monday.jpg";
    rig.engine.Transf(utf8FromPath(copy), 2);
    EXPECT_EQ(readBytes(copy), patternBytes(2500));
    EXPECT_EQ(rig.dayValue(2), utf8FromPath(copy));
}

// A picture folder whose name is outside ASCII (as under a user's name in any language), and a
// source named so: the system sees the names their UTF-16 spelling gives.
TEST(Transf, CopiesIntoAPictureFolderNamedOutsideAscii) {
    fakes::EngineRig rig{"Bilder f\xc3\xbcr \xd0\xb4\xd0\xbd\xd0\xb8"};
    const fs::path source = rig.scratch() / fs::path(u"\u00e9t\u00e9 \u58c1.jpg");
    writeBytes(source, patternBytes(3000, 2));
    ASSERT_TRUE(rig.engine.Transf(utf8FromPath(source), 3));
    const fs::path folder = rig.scratch() / fs::path(u"Bilder f\u00fcr \u0434\u043d\u0438");
    const fs::path copy = folder / "Tuesday.jpg";
    EXPECT_EQ(readBytes(copy), patternBytes(3000, 2));
    EXPECT_EQ(rig.dayValue(3), utf8FromPath(copy));
    EXPECT_EQ(filesIn(folder), std::vector<fs::path>{copy});
}

// A large copy goes to the disk in portions while it is made, each portion already in the file.
TEST_F(TransfTest, FinishedCopyIsSyncedBeforeItIsRenamed) {
    fakes::CountingFileSync sync;
    rig.engine.setFileSync(&sync);
    writeBytes("p.gif", patternBytes(20 << 20));
    rig.engine.Transf("p.gif", 1);
    ASSERT_EQ(sync.synced.size(), 1u);
    EXPECT_EQ(pathFromUtf8(sync.synced[0]).parent_path(), rig.folder());
    EXPECT_NE(sync.synced[0], utf8FromPath(rig.folder() / "Sunday.gif"));
    ASSERT_GE(sync.writtenOut.size(), 1u);
    EXPECT_TRUE(std::is_sorted(sync.writtenOut.begin(), sync.writtenOut.end()));
    EXPECT_GT(sync.writtenOut.front(), 0u);
    EXPECT_LT(sync.writtenOut.back(), 20u << 20);
}

// ---- failures: the day's previous copy and value stay, both files are closed ----

// Spoils the copy of `source` over Monday's copy `copy`; false when it breaks the picture folder
// itself, so that no later copy can be made.
using Spoil = std::function<bool(fakes::EngineRig&, const fs::path& source, const fs::path& copy)>;

struct FailureRow {
    const char* name;
    Spoil spoil;
    int day = 2;
};

// Does `act` to the source in event round `at`.
Spoil during(int at, std::function<void(const fs::path&)> act) {
    return [=](fakes::EngineRig& rig, const fs::path& source, const fs::path&) {
        rig.events.onEvents = [=](int round) { round == at ? act(source) : void(); };
        return true;
    };
}

struct FailingSync : FileSync {
    bool syncFile(const std::string&) override { return false; }
} failingSync;

const FailureRow kFailureRows[] = {
    {"SourceMissing", [](auto&, auto& s, auto&) { return fs::remove(s); }},
    {"SourceIsFolder",
     [](auto&, auto& s, auto&) { return fs::remove(s) && fs::create_directory(s); }},
    {"SourceVanishesDuringCopy", during(1, [](auto& s) { fs::remove(s); })},
    {"SourceShrinksDuringCopy", during(1, [](auto& s) { fs::resize_file(s, 1500); })},
    {"SourceGrowsDuringCopy", during(2, [](auto& s) { fs::resize_file(s, 4000); })},
    {"EventHandlerThrows", during(3, [](auto&) { throw std::runtime_error("a handler failed"); })},
    {"SyncFails",
     [](auto& rig, auto&, auto&) { return rig.engine.setFileSync(&failingSync), true; }},
    // The new file takes no bytes at all.
    {"WritesRefused",
     [](auto& rig, auto&, auto&) {
         rig.files.refuseWrites = true;
         return true;
     }},
#ifndef _WIN32
    // A disk that fills up: a file size limit makes writes beyond 2,000 bytes fail (EFBIG), once
    // the copy hands its buffer to the system.
    {"DiskFullDuringCopy",
     [](auto&, auto&, auto&) {
         rlimit limit{};
         getrlimit(RLIMIT_FSIZE, &limit);
         limit.rlim_cur = 2000;
         return setrlimit(RLIMIT_FSIZE, &limit) == 0;
     }},
#endif
    {"DayOutsideWeek", [](auto&, auto&, auto&) { return true; }, 8},
    {"DestinationIsFolder",
     [](auto&, auto&, auto& copy) {
         fs::remove(copy);
         fs::create_directory(copy);
         writeBytes(copy / "inside", patternBytes(500, 5));
         return false;
     }},
    {"PictureFolderIsFile",
     [](auto& rig, auto&, auto&) {
         fs::remove_all(rig.folder());
         writeBytes(rig.folder(), patternBytes(500, 5));
         return false;
     }},
};

class TransfFailures : public TransfTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(TransfFailures, LeaveThePreviousCopyAndValue) {
    const fs::path copy = rig.folder() / "Monday.jpg";
    const auto oldBytes = patternBytes(500, 5);
    fs::create_directories(rig.folder());
    writeBytes(copy, oldBytes);
    rig.setDayValue(2, utf8FromPath(copy));
    const fs::path source = rig.scratch() / "new.jpg";
    writeBytes(source, patternBytes(3000, 6));
    bool folderUsable = false;
    long descriptors = 0;
    {
        [[maybe_unused]] FileSizeLimitKept limit;
        folderUsable = GetParam().spoil(rig, source, copy);
        descriptors = openDescriptors();
        EXPECT_FALSE(rig.engine.Transf(utf8FromPath(source), GetParam().day));
    }

    EXPECT_EQ(rig.dayValue(2), utf8FromPath(copy));
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_TRUE(notHeldOpen(source));
    EXPECT_EQ(readBytes(fs::is_directory(copy) ? copy / "inside"
                        : folderUsable         ? copy
                                               : rig.folder()),
              oldBytes);
    if (folderUsable) { // the folder holds nothing else, and a later copy still works
        EXPECT_EQ(filesIn(rig.folder()), std::vector<fs::path>{copy});
        rig.events.onEvents = nullptr;
        rig.engine.setFileSync(nullptr);
        rig.files.refuseWrites = false;
        fs::remove_all(source);
        writeBytes(source, patternBytes(2000, 8));
        EXPECT_TRUE(rig.engine.Transf(utf8FromPath(source), 2));
        EXPECT_EQ(readBytes(copy), patternBytes(2000, 8));
    } else {
        EXPECT_EQ(filesIn(rig.folder()).size(), fs::is_directory(rig.folder()) ? 1u : 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TransfFailures, ::testing::ValuesIn(kFailureRows), byName);

} // namespace
} // namespace lumora
