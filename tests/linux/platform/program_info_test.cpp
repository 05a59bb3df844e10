// The program's path and its picture folder under the XDG data home.
#include "linux/platform/xdg_program_info.h"
#include "test_support.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ProgramInfo, ExecutablePathIsThisProgram) {
    EXPECT_EQ(XdgProgramInfo().executablePath(),
              QFileInfo("/proc/self/exe").canonicalFilePath().toStdString());
}

// XDG_DATA_HOME relative to a temporary folder ("-": unset), and where the folder is expected.
class PictureFolder : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};
TEST_P(PictureFolder, CreatedOnFirstUse) {
    QTemporaryDir home;
    QTemporaryDir data;
    test::ScopedEnv homeEnv("HOME", home.path().toStdString());
    const std::string spec = GetParam().first;
    const bool absolute = spec.empty() || spec[0] == '/';
    std::optional<std::string> dataHome;
    if (spec != "-") {
        dataHome = absolute ? data.path().toStdString() + spec : spec;
    }
    test::ScopedEnv dataEnv("XDG_DATA_HOME", dataHome);
    const std::string expected =
        (absolute ? data.path() : home.path()).toStdString() + GetParam().second;
    EXPECT_EQ(XdgProgramInfo::pictureFolderPath(), expected);
    EXPECT_FALSE(test::exists(expected));
    XdgProgramInfo info;
    EXPECT_EQ(info.pictureFolder(), expected);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(expected)).isDir());
    EXPECT_EQ(info.pictureFolder(), expected) << "a second use finds it";
}
INSTANTIATE_TEST_SUITE_P(ProgramInfo, PictureFolder,
                         ::testing::Values(std::pair("-", "/.local/share/lumora"),
                                           std::pair("", "/lumora"),
                                           std::pair("relative/data", "/.local/share/lumora"),
                                           std::pair("/deeper/data", "/deeper/data/lumora")));

} // namespace
} // namespace lumora
