// The prepared-picture store without a display: an entry is found only under the key it was kept
// for (another screen or file is another key), and the folder never keeps more than the seven
// most recently used entries.
#include "linux/desktop/prepared_pictures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace lumora {
namespace {

const FileIdentity kFile{1, 2, 3, 4, 5};
const std::string kScreen = "root 1920x1080 depth 24 monitors 0,0,1920x1080";

struct KeyRow {
    const char* name;
    std::string path;
    FileIdentity file;
    std::string screen;
};
class PreparedKeys : public ::testing::TestWithParam<KeyRow> {};
TEST_P(PreparedKeys, AnEntryIsFoundOnlyUnderItsOwnKey) {
    QTemporaryDir dir;
    PreparedPictures store(dir.path().toStdString());
    const std::vector<std::uint8_t> pixels(16 * 2 * 4, 7);
    const PreparedPiece piece{{{16, 2}, {0, 0, 16, 2}, {0, 0, 16, 2}, false}, 64};
    ASSERT_TRUE(store.store(PreparedPictures::keyOf("/p/day.jpg", kFile, kScreen), {piece},
                            {pixels.data()}));
    const KeyRow& row = GetParam();
    const bool same = row.path == "/p/day.jpg" && row.file == kFile && row.screen == kScreen;
    std::optional<PreparedEntry> found =
        store.find(PreparedPictures::keyOf(row.path, row.file, row.screen));
    ASSERT_EQ(found.has_value(), same);
    if (same) {
        std::vector<std::uint8_t> back(pixels.size());
        ASSERT_TRUE(found->read(0, back.data()));
        EXPECT_EQ(back, pixels);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Prepared, PreparedKeys,
    ::testing::Values(KeyRow{"Same", "/p/day.jpg", kFile, kScreen},
                      KeyRow{"OtherPath", "/p/day2.jpg", kFile, kScreen},
                      KeyRow{"OtherMtime", "/p/day.jpg", {1, 2, 3, 4, 6}, kScreen},
                      KeyRow{"OtherDevice", "/p/day.jpg", {9, 2, 3, 4, 5}, kScreen},
                      KeyRow{"OtherScreen", "/p/day.jpg", kFile,
                             "root 1920x1080 depth 24 monitors 0,0,960x1080 960,0,960x1080"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PreparedPictures, TheFolderKeepsTheSevenMostRecentlyUsedEntries) {
    QTemporaryDir dir;
    PreparedPictures store(dir.path().toStdString());
    const std::vector<std::uint8_t> pixels(64, 1);
    const PreparedPiece piece{{{16, 1}, {0, 0, 16, 1}, {0, 0, 16, 1}, false}, 64};
    auto key = [](int day) {
        return PreparedPictures::keyOf("/p/" + std::to_string(day), kFile, kScreen);
    };
    for (int day = 0; day < 10; ++day) {
        ASSERT_TRUE(store.store(key(day), {piece}, {pixels.data()}));
        // The first picture is drawn every time: it stays.
        EXPECT_TRUE(store.find(key(0)).has_value()) << day;
    }
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(store.folder())) {
        kept += entry.path().extension() == ".prep" ? 1 : 0;
    }
    EXPECT_EQ(kept, PreparedPictures::kMaxEntries);
    EXPECT_FALSE(store.find(key(1)).has_value());
    EXPECT_TRUE(store.find(key(9)).has_value());
}

} // namespace
} // namespace lumora
