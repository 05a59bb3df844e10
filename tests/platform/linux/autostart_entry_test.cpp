// The per-user autostart entry: its text for awkward program paths, on and off, and failures.
#include "platform/linux/autostart_entry.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace lumora;

namespace {

std::string readAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) {
        return "<missing>";
    }
    return f.readAll().toStdString();
}

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
    ::testing::Values(ExecRow{"Plain", "/usr/bin/lumora", "/usr/bin/lumora"},
                      ExecRow{"Space", "/opt/my apps/lumora", "\"/opt/my apps/lumora\""},
                      ExecRow{"Dollar", "/opt/a$b/lumora", "\"/opt/a\\\\$b/lumora\""},
                      ExecRow{"Quote", "/opt/a\"b/lumora", "\"/opt/a\\\\\"b/lumora\""},
                      ExecRow{"Backquote", "/opt/a`b/lumora", "\"/opt/a\\\\`b/lumora\""},
                      ExecRow{"Backslash", "/opt/a\\b/lumora", "\"/opt/a\\\\\\\\b/lumora\""},
                      ExecRow{"SingleQuote", "/opt/ann's/lumora", "\"/opt/ann's/lumora\""},
                      ExecRow{"Percent", "/opt/100%/lumora", "/opt/100%%/lumora"},
                      ExecRow{"PercentAndSpace", "/opt/100 %f/lumora", "\"/opt/100 %%f/lumora\""},
                      ExecRow{"Reserved", "/opt/a&b;c|d<e>f~g*h?i#j(k)/lumora",
                              "\"/opt/a&b;c|d<e>f~g*h?i#j(k)/lumora\""},
                      ExecRow{"Tab", "/opt/a\tb/lumora", "\"/opt/a\\tb/lumora\""},
                      ExecRow{"NewLine", "/opt/a\nb/lumora", "\"/opt/a\\nb/lumora\""},
                      ExecRow{"Utf8", "/home/zoë/Bilder/lumora", "/home/zoë/Bilder/lumora"},
                      ExecRow{"Equals", "/opt/a=b/lumora", "/opt/a=b/lumora"},
                      ExecRow{"ControlCharacter",
                              std::string("/opt/a\x01"
                                          "b/lumora"),
                              std::nullopt},
                      ExecRow{"Empty", "", "\"\""}),
    [](const auto& row) { return std::string(row.param.name); });

class Entry : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string config() const { return dir.path().toStdString() + "/config"; }
};

TEST_F(Entry, OnWritesTheWholeEntry) {
    AutostartEntry entry(config());
    EXPECT_FALSE(entry.isEnabled());
    ASSERT_TRUE(entry.write("/opt/my apps/lumora", true));
    EXPECT_EQ(entry.filePath(), config() + "/autostart/lumora.desktop");
    EXPECT_EQ(readAll(entry.filePath()), "[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Lumora\n"
                                         "Exec=\"/opt/my apps/lumora\"\n"
                                         "Terminal=false\n");
    EXPECT_TRUE(entry.isEnabled());
}

TEST_F(Entry, OffKeepsTheFileAndDisablesIt) {
    AutostartEntry entry(config());
    ASSERT_TRUE(entry.write("/usr/bin/lumora", true));
    ASSERT_TRUE(entry.write("/usr/bin/lumora", false));
    EXPECT_EQ(readAll(entry.filePath()), "[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Lumora\n"
                                         "Exec=/usr/bin/lumora\n"
                                         "Terminal=false\n"
                                         "Hidden=true\n");
    EXPECT_FALSE(entry.isEnabled());
    ASSERT_TRUE(entry.write("/usr/local/bin/lumora", true));
    EXPECT_TRUE(entry.isEnabled());
    EXPECT_NE(readAll(entry.filePath()).find("Exec=/usr/local/bin/lumora\n"), std::string::npos);
}

TEST_F(Entry, FollowsXdgConfigHome) {
    test::ScopedEnv env("XDG_CONFIG_HOME", config() + "2");
    AutostartEntry entry;
    EXPECT_EQ(entry.filePath(), config() + "2/autostart/lumora.desktop");
}

struct HiddenRow {
    const char* name;
    const char* text;
    bool enabled;
};

class EntryOnDisk : public ::testing::TestWithParam<HiddenRow> {};

TEST_P(EntryOnDisk, IsEnabledReadsTheFile) {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/autostart");
    QFile f(dir.path() + "/autostart/lumora.desktop");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(GetParam().text);
    f.close();
    EXPECT_EQ(AutostartEntry(dir.path().toStdString()).isEnabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EntryOnDisk,
    ::testing::Values(HiddenRow{"On", "[Desktop Entry]\nExec=x\n", true},
                      HiddenRow{"Hidden", "[Desktop Entry]\nExec=x\nHidden=true\n", false},
                      HiddenRow{"HiddenSpaced", "[Desktop Entry]\nHidden = true\n", false},
                      HiddenRow{"HiddenFalse", "[Desktop Entry]\nHidden=false\n", true},
                      HiddenRow{"HiddenOtherGroup",
                                "[Desktop Entry]\nExec=x\n[Desktop Action a]\nHidden=true\n", true},
                      HiddenRow{"NoGroup", "Exec=x\n", false}, HiddenRow{"Empty", "", false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Entry, ADirectoryWhereTheFileBelongsFailsTheWrite) {
    QDir().mkpath(QString::fromStdString(config() + "/autostart/lumora.desktop"));
    AutostartEntry entry(config());
    EXPECT_FALSE(entry.write("/usr/bin/lumora", true));
    EXPECT_FALSE(entry.isEnabled());
}

TEST_F(Entry, AFileWhereTheFolderBelongsFailsTheWrite) {
    QDir().mkpath(QString::fromStdString(config()));
    QFile blocker(QString::fromStdString(config() + "/autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AutostartEntry entry(config());
    EXPECT_FALSE(entry.write("/usr/bin/lumora", true));
}

TEST_F(Entry, AnUnwritablePathKeepsTheOldEntry) {
    AutostartEntry entry(config());
    ASSERT_TRUE(entry.write("/usr/bin/lumora", true));
    std::string before = readAll(entry.filePath());
    EXPECT_FALSE(entry.write(std::string("/opt/\x02/lumora"), false));
    EXPECT_EQ(readAll(entry.filePath()), before);
    EXPECT_TRUE(entry.isEnabled());
}

// GLib's desktop-entry loader, a real consumer of the entry, starts the program named by an
// awkward path. (GLib checks that the program exists before expanding "%%", so a path with "%"
// is left out here.)
TEST_F(Entry, GlibStartsTheProgramOfAnAwkwardPath) {
    QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty()) {
        GTEST_SKIP() << "gio is not installed";
    }
    QString folder = dir.path() + "/my $apps \"new\" ann's `x` \\ here";
    ASSERT_TRUE(QDir().mkpath(folder));
    QString program = folder + "/lumora";
    QString marker = dir.path() + "/marker";
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(("#!/bin/sh\necho started > '" + marker + "'\n").toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    AutostartEntry entry(config());
    ASSERT_TRUE(entry.write(program.toStdString(), true));
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
