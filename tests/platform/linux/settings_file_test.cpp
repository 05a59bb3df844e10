// The settings file with real files in a private folder: persistence of each type, missing,
// unreadable and damaged files, changes of another process, failed writes, a writer killed in the
// middle of its saves, and two writer processes at once.
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "platform/linux/settings_file.h"
#include "test_support.h"

#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>

namespace lumora {
namespace {

using test::exists;
using test::forkChild;
using test::readAll;
using test::waitChild;
using test::writeAll;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_path = (m_dir.path() + "/lumora/lumora.conf").toStdString();
    }
    std::string folder() const { return m_dir.path().toStdString() + "/lumora"; }
    void makeFolder() { ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder()))); }

    QTemporaryDir m_dir;
    std::string m_path;
};

TEST_F(SettingsFileTest, MissingFileIsAnEmptyStoreAndReadsCreateNothing) {
    SettingsFile file(m_path);
    Registry reg(file);
    Options options(file);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "");
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "1");
    EXPECT_TRUE(options.readBool(kDispMess, true));
    EXPECT_FALSE(exists(m_path));
    EXPECT_FALSE(exists(folder()));
}

TEST_F(SettingsFileTest, SetRegValueUnderAMissingKeyWritesNothing) {
    SettingsFile file(m_path);
    Registry reg(file);
    reg.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("/m.jpg"), REG_SZ);
    EXPECT_FALSE(exists(m_path));
    reg.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
    reg.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("/m.jpg"), REG_SZ);
    SettingsFile again(m_path);
    EXPECT_EQ(Registry(again).GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"),
              "/m.jpg");
}

struct TypeRow {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::string expectedRead;
    std::string expectedLine;
};
class SettingsFileTypes : public SettingsFileTest, public ::testing::WithParamInterface<TypeRow> {};

TEST_P(SettingsFileTypes, KeepsTheTypeOnDisk) {
    const TypeRow& row = GetParam();
    {
        SettingsFile file(m_path);
        RegKey key = 0;
        ASSERT_EQ(file.createKey(HKEY_CURRENT_USER, kLocalSettingsKey, KEY_CREATE_ACCESS, &key),
                  ERROR_SUCCESS);
        ASSERT_EQ(file.setValue(key, "Monday", row.type, row.data), ERROR_SUCCESS);
        file.closeKey(key);
    }
    SettingsFile reopened(m_path);
    EXPECT_EQ(Registry(reopened).GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"),
              row.expectedRead);
    RegKey key = 0;
    ASSERT_EQ(reopened.openKey(HKEY_CURRENT_USER, kLocalSettingsKey, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(reopened.queryValue(key, "Monday", &type, nullptr, &size), ERROR_SUCCESS);
    std::vector<std::uint8_t> data(size);
    ASSERT_EQ(reopened.queryValue(key, "Monday", &type, &data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, row.type);
    EXPECT_EQ(data, row.data);
    std::string text = readAll(m_path);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Corvane\\Local Settings]\n" +
                        row.expectedLine + "\n"),
              std::string::npos)
        << text;
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFile, SettingsFileTypes,
    ::testing::Values(
        TypeRow{"String",
                REG_SZ,
                {'/', 'm', '.', 'j', 'p', 'g', 0},
                "/m.jpg",
                "\"Monday\" = \"/m.jpg\""},
        TypeRow{"EmptyString", REG_SZ, {0}, "", "\"Monday\" = \"\""},
        TypeRow{"Number", REG_DWORD, {42, 0, 0, 0}, "42", "\"Monday\" = dword:42"},
        TypeRow{
            "NegativeNumber", REG_DWORD, {0xff, 0xff, 0xff, 0xff}, "-1", "\"Monday\" = dword:-1"},
        TypeRow{"Binary", REG_BINARY, {1, 0xab, 0}, "", "\"Monday\" = hex(3):01,ab,00"},
        TypeRow{"Utf8String", REG_SZ, {0xC3, 0xA9, 0}, "\xC3\xA9", "\"Monday\" = \"\xC3\xA9\""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SettingsFileTest, OptionsPersistUnderTheirSection) {
    {
        SettingsFile file(m_path);
        Options options(file);
        options.SaveSetting(kDispMess, "False");
        options.SaveSetting(stylKey(3), "2");
        EXPECT_EQ(options.GetSetting(kShowSplsh, "True"), "True");
    }
    std::string text = readAll(m_path);
    EXPECT_NE(text.find("[Vintrel\\Options]\n\"DispMess\" = \"False\"\n\"Styl3\" = \"2\"\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("ShowSplsh"), std::string::npos) << "a default read is never written";
    SettingsFile reopened(m_path);
    Options options(reopened);
    EXPECT_FALSE(options.readBool(kDispMess, true));
    EXPECT_EQ(options.readSingle(stylKey(3), 1), 2.0f);
}

TEST_F(SettingsFileTest, HandWrittenFileIsRead) {
    makeFolder();
    ASSERT_TRUE(writeAll(m_path, "; written by hand\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\Corvane\\Local Settings]\r\n"
                                 "Monday = \"/pics/Mon day.png\"\r\n"
                                 "[Vintrel\\Options]\n"
                                 "DirectWall = \"3\"\n"));
    SettingsFile file(m_path);
    EXPECT_EQ(Registry(file).GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "monday"),
              "/pics/Mon day.png");
    EXPECT_EQ(Options(file).GetSetting(kDirectWall, "1"), "3");
    EXPECT_FALSE(file.lastReport().damaged());
}

// ---- unreadable files -----------------------------------------------------------------------

struct UnreadableRow {
    const char* name;
    int expectedCode;
    // Makes the settings path unreadable; returns false when it could not.
    bool (*make)(const std::string& folder, const std::string& path);
};
class SettingsFileUnreadable : public SettingsFileTest,
                               public ::testing::WithParamInterface<UnreadableRow> {};

TEST_P(SettingsFileUnreadable, ReadsGiveErrorNumberAndWritesChangeNothing) {
    const UnreadableRow& row = GetParam();
    ASSERT_TRUE(row.make(folder(), m_path));
    struct stat before {};
    std::string probe = exists(m_path) ? m_path : folder();
    ASSERT_EQ(::lstat(probe.c_str(), &before), 0);

    SettingsFile file(m_path);
    Registry reg(file);
    Options options(file);
    const std::string error = "Error: " + std::to_string(row.expectedCode);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), error);
    EXPECT_EQ(reg.GetRegValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName), error);
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "1");
    EXPECT_NO_THROW(reg.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER));
    EXPECT_NO_THROW(
        reg.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("x"), REG_SZ));
    EXPECT_NO_THROW(options.SaveSetting(kDirectWall, "2"));
    EXPECT_NO_THROW(file.writeOption(kAppName, kSection, kDirectWall, "2"));

    struct stat after {};
    ASSERT_EQ(::lstat(probe.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino) << "the unreadable thing was not replaced";
    EXPECT_EQ(before.st_mode, after.st_mode);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), error);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFile, SettingsFileUnreadable,
    ::testing::Values(UnreadableRow{"PathIsADirectory", EISDIR,
                                    [](const std::string&, const std::string& path) {
                                        return QDir().mkpath(QString::fromStdString(path));
                                    }},
                      UnreadableRow{"FolderIsAFile", ENOTDIR,
                                    [](const std::string& folder, const std::string&) {
                                        return writeAll(folder, "not a folder");
                                    }},
                      UnreadableRow{"PathIsAPipe", EINVAL,
                                    [](const std::string& folder, const std::string& path) {
                                        return QDir().mkpath(QString::fromStdString(folder)) &&
                                               ::mkfifo(path.c_str(), 0600) == 0;
                                    }},
                      UnreadableRow{"FileTooLarge", EFBIG,
                                    [](const std::string& folder, const std::string& path) {
                                        return QDir().mkpath(QString::fromStdString(folder)) &&
                                               writeAll(path,
                                                        std::string(SettingsFile::kMaxFileSize + 1,
                                                                    '#'));
                                    }},
                      UnreadableRow{"DanglingSymlinkLoop", ELOOP,
                                    [](const std::string& folder, const std::string& path) {
                                        return QDir().mkpath(QString::fromStdString(folder)) &&
                                               ::symlink(path.c_str(), path.c_str()) == 0;
                                    }}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SettingsFileTest, UnreadableFileThatBecomesReadableIsReadAgain) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(m_path)));
    SettingsFile file(m_path);
    Registry reg(file);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Monday"), "Error: 21");
    ASSERT_TRUE(QDir().rmdir(QString::fromStdString(m_path)));
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Monday"), "");
    reg.CreateRegKey(kSettingsKey, HKEY_CURRENT_USER);
    reg.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Monday", std::string("/x"), REG_SZ);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Monday"), "/x");
}

// ---- damaged files --------------------------------------------------------------------------

TEST_F(SettingsFileTest, DamagedFileIsUsedAndKeptAsideBeforeTheNextSave) {
    makeFolder();
    const std::string damaged = "[HKEY_CURRENT_USER\\Software\\Corvane\\Local Settings]\n"
                                "\"Monday\" = \"/m.jpg\"\n"
                                "\"Tuesday\" = \"/t.jp\x01\x02 garbage\n"
                                "[Vintrel\\Options]\n"
                                "\"DispMess\" = \"False\"\n"
                                "\x7f\x45LF\x02\x01\n";
    ASSERT_TRUE(writeAll(m_path, damaged));
    SettingsFile file(m_path);
    Registry reg(file);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "/m.jpg");
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Tuesday"), "");
    EXPECT_EQ(Options(file).GetSetting(kDispMess, "True"), "False");
    EXPECT_EQ(file.lastReport().badLines, (std::vector<std::size_t>{3, 6}));
    EXPECT_FALSE(exists(m_path + ".damaged")) << "reading alone changes nothing";
    EXPECT_EQ(readAll(m_path), damaged);

    reg.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Wednesday", std::string("/w.jpg"),
                    REG_SZ);
    EXPECT_EQ(readAll(m_path + ".damaged"), damaged);
    EXPECT_EQ(file.lastBackupPath(), m_path + ".damaged");

    SettingsFile reopened(m_path);
    Registry again(reopened);
    EXPECT_EQ(again.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "/m.jpg");
    EXPECT_EQ(again.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Wednesday"), "/w.jpg");
    EXPECT_EQ(Options(reopened).GetSetting(kDispMess, "True"), "False");
    EXPECT_FALSE(reopened.lastReport().damaged());

    // A second, different damage does not overwrite the first copy.
    const std::string damagedAgain = readAll(m_path) + "oops\n";
    ASSERT_TRUE(writeAll(m_path, damagedAgain));
    Options(reopened).SaveSetting(kDirectWall, "2");
    EXPECT_EQ(readAll(m_path + ".damaged"), damaged);
    EXPECT_EQ(readAll(m_path + ".damaged.1"), damagedAgain);
    EXPECT_EQ(Options(reopened).GetSetting(kDirectWall, "1"), "2");
}

TEST_F(SettingsFileTest, EmptyAndBinaryFilesDoNotCrash) {
    makeFolder();
    std::string binary;
    std::mt19937 random(7);
    for (int i = 0; i < 70000; ++i) {
        binary.push_back(static_cast<char>(random() % 256));
    }
    for (const std::string& content : {std::string(), binary}) {
        ASSERT_TRUE(writeAll(m_path, content));
        SettingsFile file(m_path);
        EXPECT_EQ(Registry(file).GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "");
        Options(file).SaveSetting(kDispMess, "True");
        SettingsFile reopened(m_path);
        EXPECT_EQ(Options(reopened).GetSetting(kDispMess, "False"), "True");
        EXPECT_FALSE(reopened.lastReport().damaged());
    }
}

// ---- other writers --------------------------------------------------------------------------

TEST_F(SettingsFileTest, ChangesOfAnotherWriterAreSeenAndKept) {
    SettingsFile first(m_path);
    SettingsFile second(m_path);
    Registry a(first);
    Registry b(second);
    EXPECT_EQ(b.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "");
    a.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
    a.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("/1.jpg"), REG_SZ);
    EXPECT_EQ(b.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "/1.jpg");
    // b writes from its older view; a's value survives, and a sees b's.
    Options(second).SaveSetting(kDirectWall, "3");
    b.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Tuesday", std::string("/2.jpg"), REG_SZ);
    a.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("/3.jpg"), REG_SZ);
    EXPECT_EQ(b.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "/3.jpg");
    EXPECT_EQ(a.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Tuesday"), "/2.jpg");
    EXPECT_EQ(Options(first).GetSetting(kDirectWall, "1"), "3");
}

TEST_F(SettingsFileTest, WriteThatCannotLockLeavesTheFileAsItWas) {
    SettingsFile file(m_path);
    Registry reg(file);
    reg.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
    reg.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("/old"), REG_SZ);
    const std::string before = readAll(m_path);

    QLockFile other(QString::fromStdString(m_path + ".lock"));
    other.setStaleLockTime(0);
    ASSERT_TRUE(other.tryLock(0));
    file.setLockTimeout(50);
    reg.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("/new"), REG_SZ);
    Options(file).SaveSetting(kDispMess, "False");
    EXPECT_EQ(readAll(m_path), before);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "/old")
        << "the copy in memory follows the file, not the lost write";
    EXPECT_EQ(Options(file).GetSetting(kDispMess, "True"), "True");
    other.unlock();
    reg.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("/new"), REG_SZ);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "/new");
}

TEST_F(SettingsFileTest, WriteIntoAFolderThatCannotExistFailsQuietly) {
    ASSERT_TRUE(writeAll(m_dir.path().toStdString() + "/file", "x"));
    SettingsFile file(m_dir.path().toStdString() + "/file/sub/lumora.conf");
    Registry reg(file);
    EXPECT_NO_THROW(reg.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER));
    EXPECT_NO_THROW(Options(file).SaveSetting(kDispMess, "False"));
    EXPECT_EQ(readAll(m_dir.path().toStdString() + "/file"), "x");
    EXPECT_EQ(Options(file).GetSetting(kDispMess, "True"), "True");
}

TEST_F(SettingsFileTest, KilledWriterNeverLeavesAPartialFile) {
    {
        // A file of some size, so that a save takes a while.
        SettingsFile file(m_path);
        Registry reg(file);
        reg.CreateRegKey(kSettingsKey, HKEY_CURRENT_USER);
        for (int i = 0; i < 150; ++i) {
            reg.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, "seed" + std::to_string(i),
                            std::string(60, static_cast<char>('a' + i % 26)), REG_SZ);
        }
    }
    std::mt19937 random(42);
    int lastCount = 0;
    for (int round = 0; round < 12; ++round) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        pid_t child = forkChild([&] {
            ::close(pipeFds[0]);
            SettingsFile file(m_path);
            Registry reg(file);
            for (int i = 0;; ++i) {
                reg.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, "round" + std::to_string(round),
                                std::to_string(i), REG_SZ);
                if (i == 0) {
                    char go = 'x';
                    (void)!::write(pipeFds[1], &go, 1);
                }
            }
            return 0;
        });
        ASSERT_GT(child, 0);
        ::close(pipeFds[1]);
        char go = 0;
        ASSERT_EQ(::read(pipeFds[0], &go, 1), 1);
        ::close(pipeFds[0]);
        ::usleep(static_cast<useconds_t>(1000 + random() % 20000));
        ::kill(child, SIGKILL);
        EXPECT_EQ(waitChild(child), 128 + SIGKILL);

        SettingsFile check(m_path);
        Registry reg(check);
        EXPECT_NE(reg.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, "round" + std::to_string(round)),
                  "");
        EXPECT_FALSE(check.lastReport().damaged()) << "round " << round;
        EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, "seed149"),
                  std::string(60, 't'));
        // The lock the killed writer held does not block the next write.
        check.setLockTimeout(2000);
        Options(check).SaveSetting("Round", std::to_string(round));
        SettingsFile fresh(m_path);
        EXPECT_EQ(Options(fresh).GetSetting("Round", ""), std::to_string(round));
        lastCount = round + 1;
    }
    EXPECT_EQ(lastCount, 12);
}

TEST_F(SettingsFileTest, TwoWriterProcessesKeepEachOthersValues) {
    {
        SettingsFile file(m_path);
        Registry(file).CreateRegKey(kSettingsKey, HKEY_CURRENT_USER);
    }
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    auto writer = [&](char who) {
        return [&, who] {
            ::close(pipeFds[1]);
            char go = 0;
            (void)!::read(pipeFds[0], &go, 1); // both start together
            SettingsFile file(m_path);
            file.setLockTimeout(20000);
            Registry reg(file);
            Options options(file);
            for (int i = 0; i < 100; ++i) {
                std::string name = std::string(1, who) + std::to_string(i);
                reg.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, name, "value of " + name, REG_SZ);
                if (i % 10 == 0) {
                    options.SaveSetting(name, std::to_string(i));
                }
            }
            return 0;
        };
    };
    pid_t a = forkChild(writer('A'));
    pid_t b = forkChild(writer('B'));
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]); // releases both
    EXPECT_EQ(waitChild(a), 0);
    EXPECT_EQ(waitChild(b), 0);

    SettingsFile file(m_path);
    Registry reg(file);
    Options options(file);
    int found = 0;
    for (char who : {'A', 'B'}) {
        for (int i = 0; i < 100; ++i) {
            std::string name = std::string(1, who) + std::to_string(i);
            if (reg.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, name) == "value of " + name) {
                ++found;
            }
            if (i % 10 == 0) {
                EXPECT_EQ(options.GetSetting(name, ""), std::to_string(i)) << name;
            }
        }
    }
    EXPECT_EQ(found, 200);
    EXPECT_FALSE(file.lastReport().damaged());
}

TEST(SettingsFilePath, FollowsXdgConfigHome) {
    QTemporaryDir home;
    test::ScopedEnv homeEnv("HOME", home.path().toStdString());
    {
        test::ScopedEnv config("XDG_CONFIG_HOME", "/srv/cfg");
        EXPECT_EQ(SettingsFile::defaultPath(), "/srv/cfg/lumora/lumora.conf");
    }
    {
        test::ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(SettingsFile::defaultPath(),
                  home.path().toStdString() + "/.config/lumora/lumora.conf");
    }
    {
        test::ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg"); // ignored: not absolute
        EXPECT_EQ(SettingsFile::defaultPath(),
                  home.path().toStdString() + "/.config/lumora/lumora.conf");
    }
}

} // namespace
} // namespace lumora
