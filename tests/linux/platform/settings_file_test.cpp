// The settings file with real files in a private folder: persistence, missing, unreadable and
// damaged files, changes of another process, failed writes, a stale lock, and two writer
// processes at once. The text itself: tests/core/settings; writers killed at random moments:
// tests/linux/robustness/kills.sh.
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "linux/platform/settings_file.h"
#include "test_support.h"

#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace lumora {
namespace {

using test::byName;

using test::exists;
using test::readAll;
using test::writeAll;

// One value of the current user's key `key`, as text.
std::string get(SettingsFile& f, const std::string& name, const char* key = kLocalSettingsKey) {
    return Registry(f).GetRegValue(HKEY_CURRENT_USER, key, name);
}
void put(SettingsFile& f, const std::string& name, const std::string& value,
         const char* key = kLocalSettingsKey) {
    Registry(f).SetRegValue(HKEY_CURRENT_USER, key, name, value, REG_SZ);
}
void makeKey(SettingsFile& f, const char* key = kLocalSettingsKey) {
    Registry(f).CreateRegKey(key, HKEY_CURRENT_USER);
}
std::string option(SettingsFile& f, const std::string& key, const std::string& defaultText = "") {
    return Options(f).GetSetting(key, defaultText);
}

bool mkpath(const std::string& path) {
    return QDir().mkpath(QString::fromStdString(path));
}

class SettingsFileTest : public ::testing::Test {
protected:
    std::string folder() const { return m_dir.path().toStdString() + "/lumora"; }
    QTemporaryDir m_dir;
    const std::string m_path = folder() + "/lumora.conf";
};

TEST_F(SettingsFileTest, MissingFileIsAnEmptyStoreAndOnlyWritesUnderAKeyCreateIt) {
    SettingsFile file(m_path);
    EXPECT_EQ(get(file, "Monday"), "");
    EXPECT_EQ(option(file, kDirectWall, "1"), "1");
    EXPECT_TRUE(Options(file).readBool(kDispMess, true));
    EXPECT_FALSE(exists(folder())) << "reads create nothing";
    put(file, "Monday", "/m.jpg"); // the key is missing
    EXPECT_FALSE(exists(m_path));
    makeKey(file);
    put(file, "Monday", "/m.jpg");
    SettingsFile again(m_path);
    EXPECT_EQ(get(again, "Monday"), "/m.jpg");
}

// ---- unreadable files -----------------------------------------------------------------------

TEST_F(SettingsFileTest, UnreadableFileThatBecomesReadableIsReadAgain) {
    ASSERT_TRUE(mkpath(m_path));
    SettingsFile file(m_path);
    EXPECT_EQ(get(file, "Monday"), "Error: 21");
    ASSERT_TRUE(QDir().rmdir(QString::fromStdString(m_path)));
    EXPECT_EQ(get(file, "Monday"), "");
    makeKey(file);
    put(file, "Monday", "/x");
    EXPECT_EQ(get(file, "Monday"), "/x");
}

// ---- damaged files --------------------------------------------------------------------------

// Start-up's first look at the file says nothing; the program's own reader tells the damage once.
TEST_F(SettingsFileTest, AQuietReaderLeavesTheDamageToBeToldOnce) {
    ASSERT_TRUE(mkpath(folder()));
    ASSERT_TRUE(writeAll(m_path, "\"Monday\" = \"/m.jpg\"\n\x7f\x45LF\n"));
    for (const bool quiet : {true, false}) {
        SettingsFile file(m_path);
        file.setQuiet(quiet);
        ::testing::internal::CaptureStderr();
        get(file, "Monday");
        get(file, "Tuesday");
        const std::string told = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(told.find("is damaged") != std::string::npos, !quiet) << told;
    }
}

TEST_F(SettingsFileTest, DamagedFileIsUsedAndKeptAsideBeforeTheNextSave) {
    ASSERT_TRUE(mkpath(folder()));
    const std::string damaged = "[HKEY_CURRENT_USER\\Software\\Corvane\\Local Settings]\n"
                                "\"Monday\" = \"/m.jpg\"\n"
                                "\"Tuesday\" = \"/t.jp\x01\x02 garbage\n"
                                "[Vintrel\\Options]\n"
                                "\"DispMess\" = \"False\"\n"
                                "\x7f\x45LF\x02\x01\n";
    ASSERT_TRUE(writeAll(m_path, damaged));
    SettingsFile file(m_path);
    EXPECT_EQ(get(file, "Monday"), "/m.jpg");
    EXPECT_EQ(get(file, "Tuesday"), "");
    EXPECT_EQ(option(file, kDispMess), "False");
    EXPECT_EQ(file.lastReport().badLines, (std::vector<std::size_t>{3, 6}));
    EXPECT_EQ(readAll(m_path), damaged) << "reading alone changes nothing";

    put(file, "Wednesday", "/w.jpg");
    EXPECT_EQ(readAll(m_path + ".damaged"), damaged);
    EXPECT_EQ(file.lastBackupPath(), m_path + ".damaged");

    SettingsFile reopened(m_path);
    EXPECT_EQ(get(reopened, "Monday"), "/m.jpg");
    EXPECT_EQ(get(reopened, "Wednesday"), "/w.jpg");
    EXPECT_EQ(option(reopened, kDispMess), "False");
    EXPECT_FALSE(reopened.lastReport().damaged());

    // A second, different damage does not overwrite the first copy.
    const std::string damagedAgain = readAll(m_path) + "oops\n";
    ASSERT_TRUE(writeAll(m_path, damagedAgain));
    Options(reopened).SaveSetting(kDirectWall, "2");
    EXPECT_EQ(readAll(m_path + ".damaged"), damaged);
    EXPECT_EQ(readAll(m_path + ".damaged.1"), damagedAgain);
    EXPECT_EQ(option(reopened, kDirectWall), "2");
}

// ---- other writers --------------------------------------------------------------------------

TEST_F(SettingsFileTest, ChangesOfAnotherWriterAreSeenAndKept) {
    SettingsFile a(m_path);
    SettingsFile b(m_path);
    EXPECT_EQ(get(b, "Monday"), "");
    makeKey(a);
    put(a, "Monday", "/1.jpg");
    EXPECT_EQ(get(b, "Monday"), "/1.jpg");
    // b writes from its older view; a's value survives, and a sees b's.
    Options(b).SaveSetting(kDirectWall, "3");
    put(b, "Tuesday", "/2.jpg");
    put(a, "Monday", "/3.jpg");
    EXPECT_EQ(get(b, "Monday"), "/3.jpg");
    EXPECT_EQ(get(a, "Tuesday"), "/2.jpg");
    EXPECT_EQ(option(a, kDirectWall), "3");
}

TEST_F(SettingsFileTest, WriteThatCannotLockLeavesTheFileAsItWas) {
    SettingsFile file(m_path);
    makeKey(file);
    put(file, "Monday", "/old");
    const std::string before = readAll(m_path);

    QLockFile other(QString::fromStdString(m_path + ".lock"));
    other.setStaleLockTime(0);
    ASSERT_TRUE(other.tryLock(0));
    file.setLockTimeout(50);
    put(file, "Monday", "/new");
    Options(file).SaveSetting(kDispMess, "False");
    EXPECT_EQ(readAll(m_path), before);
    EXPECT_EQ(get(file, "Monday"), "/old") << "the copy in memory follows the file";
    EXPECT_EQ(option(file, kDispMess), "");
    other.unlock();
    put(file, "Monday", "/new");
    EXPECT_EQ(get(file, "Monday"), "/new");
}

// A writer killed after creating the lock file but before writing its process id leaves an empty
// lock: an old one is cleared, a fresh one (a writer at work) is waited for.
TEST_F(SettingsFileTest, EmptyLockFileIsStaleOnlyWhenOld) {
    for (const int ageSeconds : {0, 5}) {
        const std::string lockPath = m_path + ".lock";
        std::filesystem::create_directories(std::filesystem::path(m_path).parent_path());
        std::fclose(std::fopen(lockPath.c_str(), "w"));
        if (ageSeconds > 0) {
            const struct timeval when[2] = {{::time(nullptr) - ageSeconds, 0},
                                            {::time(nullptr) - ageSeconds, 0}};
            ASSERT_EQ(::utimes(lockPath.c_str(), when), 0);
        }
        SettingsFile file(m_path);
        file.setLockTimeout(200);
        Options(file).SaveSetting("Age", std::to_string(ageSeconds));
        SettingsFile fresh(m_path);
        EXPECT_EQ(option(fresh, "Age"), ageSeconds > 0 ? "5" : "") << "age " << ageSeconds;
        std::filesystem::remove(lockPath);
    }
}

TEST_F(SettingsFileTest, TwoWriterProcessesKeepEachOthersValues) {
    {
        SettingsFile file(m_path);
        makeKey(file, kSettingsKey);
    }
    const auto name = [](char who, int i) { return std::string(1, who) + std::to_string(i); };
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const auto writer = [&](char who) {
        return [&, who](int) {
            ::close(go[1]);
            char byte = 0;
            (void)!::read(go[0], &byte, 1); // both start together
            SettingsFile file(m_path);
            file.setLockTimeout(20000);
            for (int i = 0; i < 100; ++i) {
                put(file, name(who, i), "value of " + name(who, i), kSettingsKey);
                if (i % 10 == 0) {
                    Options(file).SaveSetting(name(who, i), std::to_string(i));
                }
            }
            return 0;
        };
    };
    test::Child a(writer('A'));
    test::Child b(writer('B'));
    ::close(go[0]);
    ::close(go[1]); // releases both
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);

    SettingsFile file(m_path);
    for (char who : {'A', 'B'}) {
        for (int i = 0; i < 100; ++i) {
            ASSERT_EQ(get(file, name(who, i), kSettingsKey), "value of " + name(who, i));
            EXPECT_EQ(option(file, name(who, i)), i % 10 == 0 ? std::to_string(i) : "");
        }
    }
    EXPECT_FALSE(file.lastReport().damaged());
}

TEST(SettingsFilePath, FollowsXdgConfigHome) {
    QTemporaryDir home;
    test::ScopedEnv homeEnv("HOME", home.path().toStdString());
    const std::string fallback = home.path().toStdString() + "/.config/lumora/lumora.conf";
    using Row = std::pair<std::optional<std::string>, std::string>;
    for (const auto& [config, expected] :
         std::vector<Row>{{"/srv/cfg", "/srv/cfg/lumora/lumora.conf"},
                          {std::nullopt, fallback},
                          {"relative/cfg", fallback}}) { // a relative folder is ignored
        test::ScopedEnv env("XDG_CONFIG_HOME", config);
        EXPECT_EQ(SettingsFile::defaultPath(), expected);
    }
}

} // namespace
} // namespace lumora
