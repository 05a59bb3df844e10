// The day copy: names, sizes, the block scheme as the event rounds see it, and every failure
// leaving the day's previous copy and value as they were.
#include "core/engine/picture_files.h"
#include "core/fakes/engine_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#if __has_include(<sys/resource.h>) && __has_include(<sys/wait.h>) && __has_include(<unistd.h>)
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#define LUMORA_HAVE_FORK 1
#endif

namespace lumora {
namespace {

namespace fs = std::filesystem;

// Files in the picture folder that are copies in progress.
std::vector<fs::path> partFiles(const fs::path& folder) {
    std::vector<fs::path> out;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        return out;
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".part-") != std::string::npos) {
            out.push_back(entry.path());
        }
    }
    return out;
}

// Open descriptors of this process (-1 where the system does not list them).
long openDescriptors() {
    std::error_code ec;
    if (!fs::is_directory("/proc/self/fd", ec)) {
        return -1;
    }
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

// Tests that work with relative source paths run inside the scratch folder.
class TransfTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_cwd = fs::current_path();
        fs::current_path(rig.scratch());
    }
    void TearDown() override { fs::current_path(m_cwd); }

    fakes::EngineRig rig;

private:
    fs::path m_cwd;
};

// ---- names ----

struct NameRow {
    const char* name;
    std::string source; // relative to the scratch folder
    int day;
    std::string copyName; // in the picture folder
};

void PrintTo(const NameRow& row, std::ostream* os) {
    *os << row.name;
}

const std::vector<NameRow> kNameRows = {
    {"Gif", "pics/photo.gif", 4, "Wednesday.gif"},
    {"JpegLosesItsDot", "pics/photo.jpeg", 2, "Mondayjpeg"},
    {"CaseKept", "pics/photo.JPG", 1, "Sunday.JPG"},
    {"Png", "pics/x.png", 5, "Thursday.png"},
    {"ShortPathWhole", "a.b", 7, "Saturdaya.b"},
    {"ShortPathWithSeparator", "a/b", 2, "Mondaya_b"},
    {"SeparatorInLastFour", "pics/ab/c", 3, "Tuesdayab_c"},
    {"NoExtension", "pics/picture", 6, "Fridayture"},
    {"Utf8CharactersCountOnce", "pics/фото", 6, "Fridayфото"},
    {"Utf8Extension", "pics/x.jpé", 1, "Sunday.jpé"},
};

class TransfNames : public TransfTest, public ::testing::WithParamInterface<NameRow> {};

TEST_P(TransfNames, CopiesToTheDaysFileInThePictureFolder) {
    const NameRow& row = GetParam();
    const fs::path expected = rig.folder() / row.copyName;
    EXPECT_EQ(rig.engine.dayCopyPath(row.source, row.day), expected.string());

    fs::create_directories(fs::path(row.source).parent_path().empty()
                               ? fs::path(".")
                               : fs::path(row.source).parent_path());
    const auto bytes = fakes::patternBytes(1500);
    fakes::writeBytes(row.source, bytes);

    rig.engine.Transf(row.source, row.day);

    EXPECT_EQ(fakes::readBytes(expected), bytes);
    EXPECT_EQ(rig.dayValue(row.day), expected.string());
    // The copy is the only file in the picture folder; nothing landed elsewhere.
    std::vector<fs::path> inFolder;
    for (const auto& entry : fs::directory_iterator(rig.folder())) {
        inFolder.push_back(entry.path());
    }
    EXPECT_EQ(inFolder, std::vector<fs::path>{expected});
    for (int w = 1; w <= 7; ++w) {
        if (w != row.day) {
            EXPECT_EQ(rig.dayValue(w), "") << "day " << w;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TransfNames, ::testing::ValuesIn(kNameRows),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- sizes and the block scheme ----

struct SizeRow {
    std::size_t size;
    int rounds; // event rounds: one per block and one per single byte
};

void PrintTo(const SizeRow& row, std::ostream* os) {
    *os << row.size << " bytes";
}

const std::vector<SizeRow> kSizeRows = {
    {0, 0},       {1, 1},    {2, 2},      {1023, 1023}, {1024, 1024},  {1025, 2},
    {2048, 1025}, {2049, 3}, {3000, 954}, {4096, 1027}, {381976, 397},
};

class TransfSizes : public TransfTest, public ::testing::WithParamInterface<SizeRow> {};

TEST_P(TransfSizes, CopiesEveryByteInTheBlockScheme) {
    const SizeRow& row = GetParam();
    const auto bytes = fakes::patternBytes(row.size, 3);
    fakes::writeBytes("chosen.bmp", bytes);

    rig.engine.Transf((rig.scratch() / "chosen.bmp").string(), 3);

    const fs::path copy = rig.folder() / "Tuesday.bmp";
    EXPECT_EQ(fakes::readBytes(copy), bytes);
    EXPECT_EQ(fs::file_size(copy), row.size);
    EXPECT_EQ(rig.events.count, row.rounds);
    EXPECT_EQ(rig.dayValue(3), copy.string());
    EXPECT_TRUE(partFiles(rig.folder()).empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, TransfSizes, ::testing::ValuesIn(kSizeRows));

TEST_F(TransfTest, WednesdayGifGoesInTwoBlocksThenByteByByte) {
    const auto bytes = fakes::patternBytes(3000);
    fakes::writeBytes("holiday.gif", bytes);
    const fs::path copy = rig.folder() / "Wednesday.gif";
    std::vector<std::uintmax_t> written;
    std::vector<std::string> valueDuringCopy;
    rig.events.onEvents = [&](int) {
        auto parts = partFiles(rig.folder());
        ASSERT_EQ(parts.size(), 1u);
        written.push_back(fs::file_size(parts[0]));
        valueDuringCopy.push_back(rig.dayValue(4));
        EXPECT_FALSE(fs::exists(copy)); // the copy appears only once complete
    };

    rig.engine.Transf("holiday.gif", 4);

    std::vector<std::uintmax_t> expected = {1024, 2048};
    for (std::uintmax_t n = 2049; n <= 3000; ++n) {
        expected.push_back(n);
    }
    EXPECT_EQ(written, expected);
    EXPECT_EQ(valueDuringCopy, std::vector<std::string>(954, ""));
    EXPECT_EQ(fakes::readBytes(copy), bytes);
    EXPECT_EQ(rig.dayValue(4), copy.string());
}

TEST_F(TransfTest, ExactlyOneBlockIsCopiedByteByByteFromTheStart) {
    fakes::writeBytes("k.png", fakes::patternBytes(1024));
    std::vector<std::uintmax_t> written;
    rig.events.onEvents = [&](int) {
        written.push_back(fs::file_size(partFiles(rig.folder())[0]));
    };

    rig.engine.Transf("k.png", 1);

    ASSERT_EQ(written.size(), 1024u);
    for (std::size_t i = 0; i < written.size(); ++i) {
        ASSERT_EQ(written[i], i + 1);
    }
}

TEST_F(TransfTest, LongerOldCopyIsReplacedWhole) {
    fs::create_directories(rig.folder());
    fakes::writeBytes(rig.folder() / "Friday.jpg", fakes::patternBytes(5000, 9));
    const auto bytes = fakes::patternBytes(3000, 1);
    fakes::writeBytes("new.jpg", bytes);

    rig.engine.Transf("new.jpg", 6);

    EXPECT_EQ(fakes::readBytes(rig.folder() / "Friday.jpg"), bytes);
}

TEST_F(TransfTest, TheDaysOwnCopyAsSourceSurvives) {
    const auto bytes = fakes::patternBytes(2500);
    fakes::writeBytes("first.jpg", bytes);
    rig.engine.Transf("first.jpg", 2);
    const fs::path copy = rig.folder() / "Monday.jpg";
    ASSERT_EQ(fakes::readBytes(copy), bytes);

    rig.engine.Transf(copy.string(), 2);

    EXPECT_EQ(fakes::readBytes(copy), bytes);
    EXPECT_EQ(rig.dayValue(2), copy.string());
}

TEST_F(TransfTest, MissingPictureFolderIsCreated) {
    ASSERT_FALSE(fs::exists(rig.folder()));
    fakes::writeBytes("p.gif", fakes::patternBytes(10));
    rig.engine.Transf("p.gif", 1);
    EXPECT_TRUE(fs::is_regular_file(rig.folder() / "Sunday.gif"));
}

TEST_F(TransfTest, FinishedCopyIsSyncedBeforeItIsRenamed) {
    fakes::CountingFileSync sync;
    rig.engine.setFileSync(&sync);
    fakes::writeBytes("p.gif", fakes::patternBytes(10));
    rig.engine.Transf("p.gif", 1);
    ASSERT_EQ(sync.synced.size(), 1u);
    EXPECT_EQ(fs::path(sync.synced[0]).parent_path(), rig.folder());
    EXPECT_NE(sync.synced[0], (rig.folder() / "Sunday.gif").string());
}

// ---- failures: the day's previous copy and value stay ----

enum class Sabotage {
    SourceMissing,
    SourceIsFolder,
    SourceVanishes,
    SourceShrinks,
    SourceGrows,
    DestinationIsFolder,
    FolderIsFile,
    EventHandlerThrows,
    SyncFails,
    DayOutsideWeek,
};

struct FailureRow {
    const char* name;
    Sabotage sabotage;
};

void PrintTo(const FailureRow& row, std::ostream* os) {
    *os << row.name;
}

const std::vector<FailureRow> kFailureRows = {
    {"SourceMissing", Sabotage::SourceMissing},
    {"SourceIsFolder", Sabotage::SourceIsFolder},
    {"SourceVanishesDuringCopy", Sabotage::SourceVanishes},
    {"SourceShrinksDuringCopy", Sabotage::SourceShrinks},
    {"SourceGrowsDuringCopy", Sabotage::SourceGrows},
    {"DestinationIsFolder", Sabotage::DestinationIsFolder},
    {"PictureFolderIsFile", Sabotage::FolderIsFile},
    {"EventHandlerThrows", Sabotage::EventHandlerThrows},
    {"SyncFails", Sabotage::SyncFails},
    {"DayOutsideWeek", Sabotage::DayOutsideWeek},
};

class TransfFailures : public TransfTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(TransfFailures, LeaveThePreviousCopyAndValue) {
    const Sabotage sabotage = GetParam().sabotage;
    const fs::path copy = rig.folder() / "Monday.jpg";
    const auto oldBytes = fakes::patternBytes(500, 5);
    fs::create_directories(rig.folder());
    fakes::writeBytes(copy, oldBytes);
    rig.setDayValue(2, copy.string());
    const fs::path source = rig.scratch() / "new.jpg";
    fakes::writeBytes(source, fakes::patternBytes(3000, 6));
    fakes::CountingFileSync sync;
    int day = 2;

    switch (sabotage) {
    case Sabotage::SourceMissing:
        fs::remove(source);
        break;
    case Sabotage::SourceIsFolder:
        fs::remove(source);
        fs::create_directory(source);
        break;
    case Sabotage::SourceVanishes:
        rig.events.onEvents = [&](int round) {
            if (round == 1) {
                fs::remove(source);
            }
        };
        break;
    case Sabotage::SourceShrinks:
        rig.events.onEvents = [&](int round) {
            if (round == 1) {
                fs::resize_file(source, 1500);
            }
        };
        break;
    case Sabotage::SourceGrows:
        rig.events.onEvents = [&](int round) {
            if (round == 2) {
                fs::resize_file(source, 4000);
            }
        };
        break;
    case Sabotage::DestinationIsFolder:
        fs::remove(copy);
        fs::create_directory(copy);
        fakes::writeBytes(copy / "inside", oldBytes);
        break;
    case Sabotage::FolderIsFile:
        fs::remove_all(rig.folder());
        fakes::writeBytes(rig.folder(), oldBytes);
        break;
    case Sabotage::EventHandlerThrows:
        rig.events.onEvents = [&](int round) {
            if (round == 3) {
                throw std::runtime_error("a handler failed");
            }
        };
        break;
    case Sabotage::SyncFails:
        sync.result = false;
        rig.engine.setFileSync(&sync);
        break;
    case Sabotage::DayOutsideWeek:
        day = 8;
        break;
    }
    const long descriptors = openDescriptors();

    EXPECT_NO_THROW(rig.engine.Transf(source.string(), day));

    EXPECT_EQ(rig.dayValue(2), copy.string());
    EXPECT_EQ(openDescriptors(), descriptors); // both files closed on every path
    EXPECT_TRUE(partFiles(rig.folder()).empty());
    if (sabotage == Sabotage::DestinationIsFolder) {
        EXPECT_TRUE(fs::is_directory(copy));
        EXPECT_EQ(fakes::readBytes(copy / "inside"), oldBytes);
    } else if (sabotage == Sabotage::FolderIsFile) {
        EXPECT_EQ(fakes::readBytes(rig.folder()), oldBytes);
    } else {
        EXPECT_EQ(fakes::readBytes(copy), oldBytes);
    }
    // A later copy still works.
    if (sabotage != Sabotage::DestinationIsFolder && sabotage != Sabotage::FolderIsFile) {
        rig.events.onEvents = nullptr;
        rig.engine.setFileSync(nullptr);
        const auto bytes = fakes::patternBytes(2000, 8);
        fakes::remove_all_if_folder(source);
        fakes::writeBytes(source, bytes);
        rig.engine.Transf(source.string(), 2);
        EXPECT_EQ(fakes::readBytes(copy), bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TransfFailures, ::testing::ValuesIn(kFailureRows),
                         [](const auto& row) { return std::string(row.param.name); });

#ifdef LUMORA_HAVE_FORK
// A disk that fills up during the copy: a file size limit makes writes beyond 2,000 bytes fail
// (EFBIG), in a child process so that the limit stays there.
TEST_F(TransfTest, FullDiskLeavesThePreviousCopyAndValue) {
    const fs::path copy = rig.folder() / "Monday.jpg";
    const auto oldBytes = fakes::patternBytes(500, 5);
    fs::create_directories(rig.folder());
    fakes::writeBytes(copy, oldBytes);
    rig.setDayValue(2, copy.string());
    fakes::writeBytes("big.jpg", fakes::patternBytes(3000, 6));

    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 2000;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            _exit(10);
        }
        rig.engine.Transf("big.jpg", 2);
        int code = 0;
        if (rig.dayValue(2) != copy.string()) {
            code |= 1;
        }
        if (fakes::readBytes(copy) != oldBytes) {
            code |= 2;
        }
        if (!partFiles(rig.folder()).empty()) {
            code |= 4;
        }
        if (rig.events.count != 1) { // the first block fitted, the second did not
            code |= 8;
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: value changed, 2: old copy damaged, "
                                         "4: partial file left, 8: wrong block count";
    EXPECT_EQ(fakes::readBytes(copy), oldBytes);
}
#endif

// ---- the helpers ----

struct SuffixRow {
    std::string text;
    std::size_t count;
    std::string last;
};

class LastCharacters : public ::testing::TestWithParam<SuffixRow> {};

TEST_P(LastCharacters, CountsCharactersNotBytes) {
    EXPECT_EQ(lastCharacters(GetParam().text, GetParam().count), GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LastCharacters,
    ::testing::Values(SuffixRow{"/a/b.jpeg", 4, "jpeg"}, SuffixRow{"/a/b.jpg", 4, ".jpg"},
                      SuffixRow{"ab", 4, "ab"}, SuffixRow{"", 4, ""}, SuffixRow{"abcd", 4, "abcd"},
                      SuffixRow{"x/фото", 4, "фото"}, SuffixRow{"x/a€b.c", 4, "€b.c"},
                      SuffixRow{"😀.png", 4, ".png"}, SuffixRow{"x😀png", 4, "😀png"},
                      SuffixRow{"abc", 0, ""}));

TEST(PlainNamePart, SeparatorsAndNulCannotLeaveTheFolder) {
    EXPECT_EQ(plainNamePart("a/b"), "a_b");
    EXPECT_EQ(plainNamePart("/../"), "_.._");
    EXPECT_EQ(plainNamePart(std::string("a\0b", 3)), "a_b");
    EXPECT_EQ(plainNamePart(".jpg"), ".jpg");
}

} // namespace
} // namespace lumora
