// The Registry routines over the in-memory registry: every read and write rule, as data rows.
#include "core/settings/memory_registry.h"
#include "core/settings/registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace lumora {
namespace {

std::vector<std::uint8_t> bytes(const std::string& s) {
    return {s.begin(), s.end()};
}
std::vector<std::uint8_t> sz(const std::string& s) {
    auto out = bytes(s);
    out.push_back(0);
    return out;
}
std::vector<std::uint8_t> dword(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

// ---- GetRegValue ----------------------------------------------------------------------------

struct ReadRow {
    const char* name;
    std::function<void(MemoryRegistry&)> setup;
    RegKey root;
    const char* keyPath;
    const char* valueName;
    std::string expected;
};

class GetRegValueRows : public ::testing::TestWithParam<ReadRow> {};

TEST_P(GetRegValueRows, ReadsAsText) {
    const ReadRow& row = GetParam();
    MemoryRegistry store;
    row.setup(store);
    Registry reg(store);
    EXPECT_EQ(reg.GetRegValue(row.root, row.keyPath, row.valueName), row.expected);
}

const char* kLocal = kLocalSettingsKey;

INSTANTIATE_TEST_SUITE_P(
    Registry, GetRegValueRows,
    ::testing::Values(
        ReadRow{"MissingKey", [](MemoryRegistry&) {}, HKEY_CURRENT_USER, kLocal, "Monday", ""},
        ReadRow{"MissingValue",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Sunday", {REG_SZ, sz("x")});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", ""},
        ReadRow{"EmptyStringWithTerminator",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_SZ, sz("")});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", ""},
        ReadRow{"StringOfLengthZero",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_SZ, {}});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", ""},
        ReadRow{"StringWithoutItsTerminator",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_SZ, sz("/p/Monday.jpg")});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", "/p/Monday.jpg"},
        ReadRow{"StringStoredUnterminatedKeepsLastCharacter",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_SZ, bytes("abc")});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", "abc"},
        ReadRow{"NumberAsDecimal",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_DWORD, dword(42)});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", "42"},
        ReadRow{
            "NumberNegative",
            [](MemoryRegistry& s) {
                s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_DWORD, dword(0xFFFFFFFEu)});
            },
            HKEY_CURRENT_USER, kLocal, "Monday", "-2"},
        ReadRow{
            "ByteArrayReadsEmpty",
            [](MemoryRegistry& s) {
                s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_BINARY, bytes("/p/x.jpg")});
            },
            HKEY_CURRENT_USER, kLocal, "Monday", ""},
        ReadRow{"ExpandStringTypeReadsEmpty",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {2, sz("x")});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", ""},
        ReadRow{"NoneTypeReadsEmpty",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_NONE, {}});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", ""},
        ReadRow{"NamesIgnoreCase",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, "software\\corvane\\LOCAL SETTINGS", "monday",
                               {REG_SZ, sz("v")});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", "v"},
        ReadRow{"OtherRootIsSeparate",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_LOCAL_MACHINE, kLocal, "Monday", {REG_SZ, sz("v")});
                },
                HKEY_CURRENT_USER, kLocal, "Monday", ""},
        ReadRow{"LocalMachineRoot",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName,
                               {REG_SZ, sz("/usr/bin/lumora")});
                },
                HKEY_LOCAL_MACHINE, kRunKey, kRunValueName, "/usr/bin/lumora"},
        ReadRow{"UnknownRootReadsEmpty",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_SZ, sz("v")});
                },
                0x80000003u, kLocal, "Monday", ""},
        ReadRow{"StoreFailureGivesErrorNumber", [](MemoryRegistry& s) { s.setFailure(21); },
                HKEY_CURRENT_USER, kLocal, "Monday", "Error: 21"},
        ReadRow{"StoreFailureEvenWithValue",
                [](MemoryRegistry& s) {
                    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday", {REG_SZ, sz("v")});
                    s.setFailure(13);
                },
                HKEY_CURRENT_USER, kLocal, "Monday", "Error: 13"}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- SetRegValue / CreateRegKey -------------------------------------------------------------

struct WriteRow {
    const char* name;
    bool createFirst;
    TypedValue value;
    std::uint32_t type;
    bool stored;                // a value exists afterwards
    StoredValue expectedStored; // when stored
    std::string expectedRead;
};

class SetRegValueRows : public ::testing::TestWithParam<WriteRow> {};

TEST_P(SetRegValueRows, WritesTypedValue) {
    const WriteRow& row = GetParam();
    MemoryRegistry store;
    Registry reg(store);
    if (row.createFirst) {
        reg.CreateRegKey(kSettingsKey, HKEY_CURRENT_USER);
    }
    reg.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Friday", row.value, row.type);

    RegKey key = 0;
    std::int32_t opened = store.openKey(HKEY_CURRENT_USER, kSettingsKey, KEY_QUERY_VALUE, &key);
    EXPECT_EQ(opened == ERROR_SUCCESS, row.createFirst) << "SetRegValue never creates the key";
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    bool exists =
        key != 0 && store.queryValue(key, "Friday", &type, nullptr, &size) == ERROR_SUCCESS;
    ASSERT_EQ(exists, row.stored);
    if (exists) {
        std::vector<std::uint8_t> data(size);
        ASSERT_EQ(store.queryValue(key, "Friday", &type, &data, &size), ERROR_SUCCESS);
        EXPECT_EQ((StoredValue{type, data}), row.expectedStored);
    }
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Friday"), row.expectedRead);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, SetRegValueRows,
    ::testing::Values(
        WriteRow{"KeyMissingWritesNothing", false, std::string("/p/a.jpg"), REG_SZ, false, {}, ""},
        WriteRow{"StringWithTerminator",
                 true,
                 std::string("/p/a.jpg"),
                 REG_SZ,
                 true,
                 {REG_SZ, sz("/p/a.jpg")},
                 "/p/a.jpg"},
        WriteRow{"EmptyStringIsAnEmptyValueNotADeletion",
                 true,
                 std::string(""),
                 REG_SZ,
                 true,
                 {REG_SZ, {0}},
                 ""},
        WriteRow{"NumberAsStringType", true, std::int32_t{5}, REG_SZ, true, {REG_SZ, sz("5")}, "5"},
        WriteRow{"NumberType",
                 true,
                 std::int32_t{123456},
                 REG_DWORD,
                 true,
                 {REG_DWORD, dword(123456)},
                 "123456"},
        WriteRow{"NumberTypeFromText",
                 true,
                 std::string("17"),
                 REG_DWORD,
                 true,
                 {REG_DWORD, dword(17)},
                 "17"},
        WriteRow{"NumberTypeFromNonNumberWritesNothing",
                 true,
                 std::string("abc"),
                 REG_DWORD,
                 false,
                 {},
                 ""},
        WriteRow{"OtherTypeWritesNothing", true, std::string("x"), REG_BINARY, false, {}, ""},
        WriteRow{"Utf8AndBackslashesKept",
                 true,
                 std::string("C:\\Bilder\\M\xC3\xBCller.jpg"),
                 REG_SZ,
                 true,
                 {REG_SZ, sz("C:\\Bilder\\M\xC3\xBCller.jpg")},
                 "C:\\Bilder\\M\xC3\xBCller.jpg"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Registry, PutTypedValueReturnsZeroForOtherTypes) {
    MemoryRegistry store;
    Registry reg(store);
    RegKey key = 0;
    ASSERT_EQ(store.createKey(HKEY_CURRENT_USER, kSettingsKey, KEY_CREATE_ACCESS, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(reg.PutTypedValue(key, "v", REG_BINARY, std::string("x")), 0);
    EXPECT_EQ(reg.PutTypedValue(key, "v", REG_SZ, std::string("x")), ERROR_SUCCESS);
    EXPECT_EQ(reg.PutTypedValue(0xDEAD, "v", REG_SZ, std::string("x")), ERROR_INVALID_HANDLE);
}

TEST(Registry, QueryTypedValueStatusAndDelivery) {
    MemoryRegistry store;
    Registry reg(store);
    store.putValue(HKEY_CURRENT_USER, kSettingsKey, "s", {REG_SZ, sz("text")});
    store.putValue(HKEY_CURRENT_USER, kSettingsKey, "n", {REG_DWORD, dword(7)});
    store.putValue(HKEY_CURRENT_USER, kSettingsKey, "b", {REG_BINARY, bytes("zz")});
    RegKey key = 0;
    ASSERT_EQ(store.openKey(HKEY_CURRENT_USER, kSettingsKey, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);

    TypedValue out;
    EXPECT_EQ(reg.QueryTypedValue(key, "s", out), ERROR_SUCCESS);
    EXPECT_EQ(out, TypedValue(std::string("text")));
    out = {};
    EXPECT_EQ(reg.QueryTypedValue(key, "n", out), ERROR_SUCCESS);
    EXPECT_EQ(out, TypedValue(std::int32_t{7}));
    out = {};
    EXPECT_EQ(reg.QueryTypedValue(key, "b", out), -1);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(out));
    EXPECT_EQ(reg.QueryTypedValue(key, "missing", out), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(out));
    EXPECT_EQ(reg.QueryTypedValue(0, "s", out), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(out));
}

TEST(Registry, CreateRegKeyKeepsExistingValues) {
    MemoryRegistry store;
    Registry reg(store);
    reg.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
    reg.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday", std::string("/m.jpg"), REG_SZ);
    reg.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "/m.jpg");
    // Creating a deeper key path leaves its parents' values alone.
    reg.CreateRegKey(std::string(kLocalSettingsKey) + "\\Sub", HKEY_CURRENT_USER);
    EXPECT_EQ(reg.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, "Monday"), "/m.jpg");
}

TEST(Registry, FailuresOfWritesAreSwallowed) {
    MemoryRegistry store;
    Registry reg(store);
    store.setFailure(5);
    EXPECT_NO_THROW(reg.CreateRegKey(kSettingsKey, HKEY_CURRENT_USER));
    EXPECT_NO_THROW(
        reg.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Monday", std::string("x"), REG_SZ));
    store.setFailure(std::nullopt);
    EXPECT_TRUE(store.keys().empty());
}

TEST(Registry, ReadOnlyRootRefusesWrites) {
    MemoryRegistry store;
    store.putKey(HKEY_LOCAL_MACHINE, kRunKey);
    store.setReadOnlyRoot(HKEY_LOCAL_MACHINE);
    Registry reg(store);
    reg.SetRegValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName, std::string("/usr/bin/lumora"),
                    REG_SZ);
    EXPECT_EQ(reg.GetRegValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName), "");
}

TEST(Registry, HandlesAreClosedAfterEachRoutine) {
    // A leaked handle would keep answering after the key went away; closeKey of a handle that
    // the routines closed reports an invalid handle.
    MemoryRegistry store;
    Registry reg(store);
    reg.CreateRegKey(kSettingsKey, HKEY_CURRENT_USER);
    reg.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Monday", std::string("x"), REG_SZ);
    reg.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Monday");
    for (RegKey handle = 0x100; handle < 0x110; ++handle) {
        EXPECT_EQ(store.closeKey(handle), ERROR_INVALID_HANDLE) << handle;
    }
}

} // namespace
} // namespace lumora
