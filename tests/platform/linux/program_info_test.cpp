// The program's path and its picture folder under the XDG data home.
#include "platform/linux/xdg_program_info.h"
#include "test_support.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ProgramInfo, ExecutablePathIsThisProgram) {
    XdgProgramInfo info;
    std::string path = info.executablePath();
    EXPECT_EQ(path, QFileInfo("/proc/self/exe").canonicalFilePath().toStdString());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path)).isExecutable());
}

struct FolderRow {
    const char* name;
    int dataHome; // 0 unset, 1 absolute, 2 relative (ignored), 3 absolute and not yet there
    std::string expectedUnderHome; // relative to HOME, or to the absolute data home when 1 / 3
};
class PictureFolder : public ::testing::TestWithParam<FolderRow> {};
TEST_P(PictureFolder, CreatedOnFirstUse) {
    QTemporaryDir home;
    QTemporaryDir data;
    test::ScopedEnv homeEnv("HOME", home.path().toStdString());
    std::optional<std::string> dataHome;
    std::string base = home.path().toStdString();
    if (GetParam().dataHome == 1) {
        dataHome = data.path().toStdString();
        base = *dataHome;
    } else if (GetParam().dataHome == 2) {
        dataHome = "relative/data";
    } else if (GetParam().dataHome == 3) {
        dataHome = data.path().toStdString() + "/deeper/data";
        base = *dataHome;
    }
    test::ScopedEnv dataEnv("XDG_DATA_HOME", dataHome);
    std::string expected = base + GetParam().expectedUnderHome;
    EXPECT_EQ(XdgProgramInfo::pictureFolderPath(), expected);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(expected)));
    XdgProgramInfo info;
    EXPECT_EQ(info.pictureFolder(), expected);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(expected)).isDir());
    EXPECT_EQ(info.pictureFolder(), expected) << "a second use finds it";
}
INSTANTIATE_TEST_SUITE_P(ProgramInfo, PictureFolder,
                         ::testing::Values(FolderRow{"Unset", 0, "/.local/share/lumora"},
                                           FolderRow{"Absolute", 1, "/lumora"},
                                           FolderRow{"Relative", 2, "/.local/share/lumora"},
                                           FolderRow{"NotYetThere", 3, "/lumora"}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
