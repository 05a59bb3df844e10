// The per-user autostart entry: its text for awkward program paths, on and off, and failures.
#include "linux/platform/autostart_entry.h"
#include "test_support.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace lumora {
namespace {

using test::byName;

using test::readAll;

struct ExecRow {
    const char* name;
    std::string path;
    std::optional<std::string> exec; // the value after "Exec="
};
class ExecQuoting : public ::testing::TestWithParam<ExecRow> {};
TEST_P(ExecQuoting, FollowsTheDesktopEntryRules) {
    EXPECT_EQ(AutostartEntry::execValue(GetParam().path), GetParam().exec);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, ExecQuoting,
    ::testing::Values(ExecRow("Plain", "/usr/bin/lumora", "/usr/bin/lumora"),
                      ExecRow("Space", "/opt/my apps/lumora", "\"/opt/my apps/lumora\""),
                      ExecRow("Dollar", "/opt/a$b/lumora", "\"/opt/a\\\\$b/lumora\""),
                      ExecRow("Quote", "/opt/a\"b/lumora", "\"/opt/a\\\\\"b/lumora\""),
                      ExecRow("Backquote", "/opt/a`b/lumora", "\"/opt/a\\\\`b/lumora\""),
                      ExecRow("Backslash", "/opt/a\\b/lumora", "\"/opt/a\\\\\\\\b/lumora\""),
                      ExecRow("SingleQuote", "/opt/ann's/lumora", "\"/opt/ann's/lumora\""),
                      ExecRow("Percent", "/opt/100%/lumora", "/opt/100%%/lumora"),
                      ExecRow("PercentAndSpace", "/opt/100 %f/lumora", "\"/opt/100 %%f/lumora\""),
                      ExecRow("Reserved", "/opt/a&b;c|d<e>f~g*h?i#j(k)/lumora",
                              "\"/opt/a&b;c|d<e>f~g*h?i#j(k)/lumora\""),
                      ExecRow("Tab", "/opt/a\tb/lumora", "\"/opt/a\\tb/lumora\""),
                      ExecRow("NewLine", "/opt/a\nb/lumora", "\"/opt/a\\nb/lumora\""),
                      ExecRow("Utf8", "/home/zoë/Bilder/lumora", "/home/zoë/Bilder/lumora"),
                      ExecRow("ControlCharacter", "/opt/a\x01z/lumora", std::nullopt),
                      ExecRow("Empty", "", "\"\"")),
    byName);

class Entry : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    const std::string m_config = m_dir.path().toStdString() + "/config";
};

TEST_F(Entry, OnWritesTheWholeEntryAndOffHidesIt) {
    AutostartEntry entry(m_config);
    EXPECT_FALSE(entry.isEnabled());
    ASSERT_TRUE(entry.write("/opt/my apps/lumora", true));
    EXPECT_EQ(entry.filePath(), m_config + "/autostart/lumora.desktop");
    const std::string head = "[Desktop Entry]\nType=Application\nName=Lumora\n";
    EXPECT_EQ(readAll(entry.filePath()), head + "Exec=\"/opt/my apps/lumora\"\nTerminal=false\n");
    EXPECT_TRUE(entry.isEnabled());
    ASSERT_TRUE(entry.write("/usr/bin/lumora", false));
    EXPECT_EQ(readAll(entry.filePath()),
              head + "Exec=/usr/bin/lumora\nTerminal=false\nHidden=true\n");
    EXPECT_FALSE(entry.isEnabled());
    ASSERT_TRUE(entry.write("/usr/local/bin/lumora", true));
    EXPECT_TRUE(entry.isEnabled());
    // The same entry again is left as it is (a rewrite would put a new file in its place).
    const auto inode = [&] {
        struct stat st {};
        return ::stat(entry.filePath().c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const auto before = inode();
    ASSERT_TRUE(entry.write("/usr/local/bin/lumora", true));
    EXPECT_EQ(inode(), before);
}

class EntryOnDisk : public Entry,
                    public ::testing::WithParamInterface<std::pair<const char*, bool>> {};
TEST_P(EntryOnDisk, IsEnabledReadsTheFile) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(m_config + "/autostart")));
    ASSERT_TRUE(test::writeAll(m_config + "/autostart/lumora.desktop", GetParam().first));
    EXPECT_EQ(AutostartEntry(m_config).isEnabled(), GetParam().second);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, EntryOnDisk,
    ::testing::Values(std::pair("[Desktop Entry]\nExec=x\n", true),
                      std::pair("[Desktop Entry]\nExec=x\nHidden=true\n", false),
                      std::pair("[Desktop Entry]\nHidden = true\n", false),
                      std::pair("[Desktop Entry]\nHidden=false\n", true),
                      std::pair("[Desktop Entry]\nExec=x\n[Desktop Action a]\nHidden=true\n", true),
                      std::pair("Exec=x\n", false), std::pair("", false)));

TEST_F(Entry, FailedWritesSayFalseAndKeepTheOldEntry) {
    // A directory where the file belongs, and a file where the folder belongs.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(m_config + "/autostart/lumora.desktop")));
    EXPECT_FALSE(AutostartEntry(m_config).write("/usr/bin/lumora", true));
    EXPECT_FALSE(AutostartEntry(m_config).isEnabled());
    ASSERT_TRUE(test::writeAll(m_config + "2", ""));
    EXPECT_FALSE(AutostartEntry(m_config + "2").write("/usr/bin/lumora", true));
    // A program path no entry can hold.
    AutostartEntry entry(m_config + "3");
    ASSERT_TRUE(entry.write("/usr/bin/lumora", true));
    const std::string before = readAll(entry.filePath());
    EXPECT_FALSE(entry.write(std::string("/opt/\x02/lumora"), false));
    EXPECT_EQ(readAll(entry.filePath()), before);
    EXPECT_TRUE(entry.isEnabled());
}

// GLib's desktop-entry loader, a real consumer of the entry, starts the program named by an
// awkward path. (GLib checks that the program exists before expanding "%%", so a path with "%"
// is left out here.)
TEST_F(Entry, GlibStartsTheProgramOfAnAwkwardPath) {
    const QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty()) {
        GTEST_SKIP() << "gio is not installed";
    }
    const QString folder = m_dir.path() + "/my $apps \"new\" ann's `x` \\ here";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString marker = m_dir.path() + "/marker";
    QFile script(folder + "/lumora");
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\necho started > '" + marker + "'\n").toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    AutostartEntry entry(m_config);
    ASSERT_TRUE(entry.write(script.fileName().toStdString(), true));
    QProcess launch;
    launch.start(gio, {"launch", QString::fromStdString(entry.filePath())});
    ASSERT_TRUE(launch.waitForFinished(10000));
    EXPECT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().toStdString();
    for (int i = 0; i < 100 && !QFile::exists(marker); ++i) {
        QThread::msleep(50);
    }
    EXPECT_TRUE(QFile::exists(marker));
}

} // namespace
} // namespace lumora
