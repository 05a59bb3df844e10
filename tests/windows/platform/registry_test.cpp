// The registry routines on the real registry, through the wide-character registry service: what
// reads back, the value types, the empty string, names and data outside ASCII; and the services
// that keep texts in the registry (the options, the Run value).
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "windows/platform/registry_option_store.h"
#include "windows/platform/registry_text.h"
#include "windows/platform/run_value_autostart.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace lumora {
namespace {

// A key of its own under the current user, removed with everything below it afterwards.
class ScratchKey : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, wideFromUtf8(base).c_str()); }
    // Test cases run at once in processes of their own: a key for each.
    const std::string base = "Software\\LumoraTest" + std::to_string(GetCurrentProcessId());
    // The stored value as the registry keeps it: its type and its UTF-16 text.
    static std::pair<DWORD, std::wstring> stored(const std::string& path, const std::string& name) {
        wchar_t data[512] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        DWORD type = REG_NONE;
        if (RegGetValueW(HKEY_CURRENT_USER, wideFromUtf8(path).c_str(), wideFromUtf8(name).c_str(),
                         RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) != ERROR_SUCCESS) {
            return {REG_NONE, L"(missing)"};
        }
        return {type, std::wstring(data)};
    }
    static void putRaw(const std::string& path, const std::string& name, DWORD type,
                       const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wideFromUtf8(path).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key, wideFromUtf8(name).c_str(), 0, type,
                                 static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    const std::string days = std::string(base) + "\\Corvane\\Local Settings";
    Win32Registry backend;
    Registry registry{backend};
};

TEST_F(ScratchKey, AMissingKeyOrValueReadsEmpty) {
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Monday"), "");
    registry.CreateRegKey(days, 0x80000001u);
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Monday"), "");
}

// Written by SetRegValue, read by GetRegValue, and what the registry holds meanwhile.
struct RoundTripRow {
    const char* name;
    std::string text;
    std::wstring held;
};
class RoundTrip : public ScratchKey, public ::testing::WithParamInterface<RoundTripRow> {};
TEST_P(RoundTrip, StringsKeepEveryCharacter) {
    const RoundTripRow& row = GetParam();
    registry.CreateRegKey(days, 0x80000001u);
    registry.SetRegValue(0x80000001u, days, "Monday", row.text, 1);
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Monday"), row.text);
    EXPECT_EQ(stored(days, "Monday"), (std::pair<DWORD, std::wstring>{REG_SZ, row.held}));
}
INSTANTIATE_TEST_SUITE_P(
    Registry, RoundTrip,
    ::testing::Values(
        RoundTripRow{"Ascii", "C:\\Pictures\\Monday.jpg", L"C:\\Pictures\\Monday.jpg"},
        // The empty string is a value (one terminating zero), not a deletion.
        RoundTripRow{"Empty", "", L""},
        RoundTripRow{"OutsideAscii",
                     "C:\\Bilder\\M\xC3\xBCller \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC.jpg",
                     L"C:\\Bilder\\M\u00FCller \u2013 \u6771\u4EAC.jpg"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ScratchKey, KeyAndValueNamesOutsideAscii) {
    const std::string path = std::string(base) + "\\\xC3\x84rger";
    registry.CreateRegKey(path, 0x80000001u);
    registry.SetRegValue(0x80000001u, path, "Gr\xC3\xBC\xC3\x9F", "ok", 1);
    EXPECT_EQ(registry.GetRegValue(0x80000001u, path, "Gr\xC3\xBC\xC3\x9F"), "ok");
    EXPECT_EQ(stored(std::string(base) + "\\\xC3\x84rger", "Gr\xC3\xBC\xC3\x9F").second, L"ok");
}

// Values of other types, as another program may leave them.
TEST_F(ScratchKey, NumbersReadAsDecimalAndOtherTypesAsEmpty) {
    const DWORD minusOne = 0xFFFFFFFFu;
    const DWORD answer = 42;
    const BYTE bytes[] = {1, 2, 3};
    putRaw(days, "Number", REG_DWORD, &answer, sizeof answer);
    putRaw(days, "MinusOne", REG_DWORD, &minusOne, sizeof minusOne);
    putRaw(days, "Binary", REG_BINARY, bytes, sizeof bytes);
    putRaw(days, "Expand", REG_EXPAND_SZ, L"%TEMP%", sizeof L"%TEMP%");
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Number"), "42");
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "MinusOne"), "-1");
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Binary"), "");
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Expand"), "");
    registry.SetRegValue(0x80000001u, days, "Written", "7", 4);
    EXPECT_EQ(stored(days, "Written").first, DWORD{REG_DWORD});
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Written"), "7");
}

// Values another program may have damaged: a megabyte of text reads whole, a text without its
// terminating zero or of an odd byte length reads without what lies beyond it, other types read
// empty, in the day values and in the options alike.
TEST_F(ScratchKey, DamagedValuesReadSafely) {
    const std::wstring huge(1 << 20, L'x');
    putRaw(days, "Huge", REG_SZ, huge.c_str(), static_cast<DWORD>((huge.size() + 1) * 2));
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Huge"), std::string(1 << 20, 'x'));
    const wchar_t unterminated[] = {L'a', L'b', L'c', L'Z'};
    putRaw(days, "Unterminated", REG_SZ, unterminated, 3 * sizeof(wchar_t));
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Unterminated"), "abc");
    putRaw(days, "Odd", REG_SZ, L"abcd", 5);
    EXPECT_EQ(registry.GetRegValue(0x80000001u, days, "Odd"), "ab");
    const std::uint64_t big = 1ull << 40;
    putRaw(days, "Quad", REG_QWORD, &big, sizeof big);
    putRaw(days, "Multi", REG_MULTI_SZ, L"a\0b\0", sizeof L"a\0b\0");
    for (const char* other : {"Quad", "Multi"}) {
        EXPECT_EQ(registry.GetRegValue(0x80000001u, days, other), "") << other;
    }

    RegistryOptionStore store(base);
    Options options(store);
    const std::string optionsKey = std::string(base) + "\\Vintrel\\Options";
    putRaw(optionsKey, "DirectWall", REG_SZ, huge.c_str(),
           static_cast<DWORD>((huge.size() + 1) * 2));
    EXPECT_EQ(options.GetSetting(kDirectWall, "1").size(), std::size_t{1} << 20);
    const BYTE bytes[] = {0xff, 0xfe, 0};
    putRaw(optionsKey, "SelectWall", REG_BINARY, bytes, sizeof bytes);
    EXPECT_EQ(readSelectWall(options), 2.0f) << "the default";
}

TEST_F(ScratchKey, SetRegValueWithoutTheKeyWritesNothing) {
    registry.SetRegValue(0x80000001u, days, "Monday", "C:\\x.jpg", 1);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, wideFromUtf8(days).c_str(), 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
}

// The options: texts under the current user's Software\Vintrel\Options; a read writes nothing,
// and a value that is no text counts as absent.
TEST_F(ScratchKey, OptionsAreStringValuesOfTheirSection) {
    RegistryOptionStore store(base);
    Options options(store);
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "1");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, wideFromUtf8(base + "\\Vintrel\\Options").c_str(), 0,
                            KEY_READ, &key),
              ERROR_FILE_NOT_FOUND)
        << "a read created the key";
    options.SaveSetting(kDirectWall, "3");
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "3");
    EXPECT_EQ(stored(std::string(base) + "\\Vintrel\\Options", "DirectWall"),
              (std::pair<DWORD, std::wstring>{REG_SZ, L"3"}));
    const DWORD two = 2;
    putRaw(std::string(base) + "\\Vintrel\\Options", "SelectWall", REG_DWORD, &two, sizeof two);
    EXPECT_EQ(options.GetSetting(kSelectWall, "2"), "2");
    EXPECT_EQ(readSelectWall(options), 2.0f);
}

// The Run value: the machine's where it can be written, else the user's; off empties the
// machine's (the value stays) and deletes the user's.
TEST_F(ScratchKey, RunValueFallsBackToTheUsersKeyWhenTheMachinesIsRefused) {
    const std::string exe = "C:\\Program Files\\Lumora\\lumora.exe";
    const std::string userRun = std::string(base) + "\\Run";
    for (bool machineWritable : {true, false}) {
        SCOPED_TRACE(machineWritable ? "machine key writable" : "machine key refused");
        // A machine key that does not exist refuses the write as a standard user's would.
        const std::string machineRun =
            machineWritable ? RunValueAutostart::kRunKey : "SOFTWARE\\LumoraNoSuchKey\\Run";
        RunValueAutostart autostart({0x80000002u, machineRun}, {0x80000001u, userRun});
        EXPECT_TRUE(autostart.write(exe, true));
        EXPECT_TRUE(autostart.isEnabled());
        EXPECT_EQ(readRegistryText(0x80000002u, machineRun, "Lumora"),
                  machineWritable ? std::optional<std::string>(exe) : std::nullopt);
        EXPECT_EQ(readRegistryText(0x80000001u, userRun, "Lumora"),
                  machineWritable ? std::nullopt : std::optional<std::string>(exe));
        EXPECT_TRUE(autostart.write(exe, false));
        EXPECT_FALSE(autostart.isEnabled());
        EXPECT_EQ(readRegistryText(0x80000002u, machineRun, "Lumora"),
                  machineWritable ? std::optional<std::string>("") : std::nullopt);
        EXPECT_EQ(readRegistryText(0x80000001u, userRun, "Lumora"), std::nullopt);
    }
    deleteRegistryValue(0x80000002u, RunValueAutostart::kRunKey, "Lumora");
}

} // namespace
} // namespace lumora
