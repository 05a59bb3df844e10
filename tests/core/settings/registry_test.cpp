// The Registry routines over the in-memory registry: every read and write rule, as data rows.
#include "core/fakes/fakes.h"

namespace lumora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(const std::string& s) {
    return {s.begin(), s.end()};
}
Bytes sz(const std::string& s) {
    return bytes(s + '\0');
}
Bytes dword(std::uint32_t v) {
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

const char* const kLocal = kLocalSettingsKey;
const RegKey HKCU = HKEY_CURRENT_USER;

// ---- GetRegValue of a value stored under Monday ----

struct ReadRow {
    const char* name;
    StoredValue stored;
    std::string expected;
};

class GetRegValueRows : public ::testing::TestWithParam<ReadRow> {};

TEST_P(GetRegValueRows, ReadsAsText) {
    MemoryRegistry store;
    store.putValue(HKCU, kLocal, "Monday", GetParam().stored);
    EXPECT_EQ(Registry(store).GetRegValue(HKCU, kLocal, "Monday"), GetParam().expected);
}

const ReadRow kGetRegValueRows[] = {
    {"EmptyStringWithTerminator", {REG_SZ, sz("")}, ""},
    {"StringOfLengthZero", {REG_SZ, {}}, ""},
    {"StringReadsWithoutItsTerminator", {REG_SZ, sz("/p/M.jpg")}, "/p/M.jpg"},
    {"StringStoredUnterminatedKeepsLastCharacter", {REG_SZ, bytes("abc")}, "abc"},
    {"NumberAsDecimal", {REG_DWORD, dword(42)}, "42"},
    {"NumberNegative", {REG_DWORD, dword(0xFFFFFFFEu)}, "-2"},
    {"ByteArrayReadsEmpty", {REG_BINARY, bytes("/p/x.jpg")}, ""},
    {"ExpandStringTypeReadsEmpty", {2, sz("x")}, ""}};

INSTANTIATE_TEST_SUITE_P(Registry, GetRegValueRows, ::testing::ValuesIn(kGetRegValueRows), byName);

TEST(Registry, GetRegValueFindsTheValueByRootKeyAndNameOrReadsEmpty) {
    MemoryRegistry store;
    Registry reg(store);
    EXPECT_EQ(reg.GetRegValue(HKCU, kLocal, "Monday"), "") << "missing key";
    store.putValue(HKCU, "software\\corvane\\LOCAL SETTINGS", "sunday", {REG_SZ, sz("v")});
    EXPECT_EQ(reg.GetRegValue(HKCU, kLocal, "Monday"), "") << "missing value";
    EXPECT_EQ(reg.GetRegValue(HKCU, kLocal, "Sunday"), "v") << "names ignore case";
    EXPECT_EQ(reg.GetRegValue(HKEY_LOCAL_MACHINE, kLocal, "Sunday"), "") << "other root";
    EXPECT_EQ(reg.GetRegValue(0x80000003u, kLocal, "Sunday"), "") << "unknown root";
    store.putValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName, {REG_SZ, sz("/usr/bin/lumora")});
    EXPECT_EQ(reg.GetRegValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName), "/usr/bin/lumora");
    // A failing store gives the error number, with or without a value.
    store.setFailure(13);
    EXPECT_EQ(reg.GetRegValue(HKCU, kLocal, "Sunday"), "Error: 13");
    EXPECT_EQ(reg.GetRegValue(HKCU, kLocal, "Monday"), "Error: 13");
}

// ---- SetRegValue into an existing key ----

struct WriteRow {
    const char* name;
    TypedValue value;
    std::uint32_t type;
    std::optional<StoredValue> stored; // nothing: no value is written
};

class SetRegValueRows : public ::testing::TestWithParam<WriteRow> {};

TEST_P(SetRegValueRows, WritesTypedValue) {
    const WriteRow& row = GetParam();
    MemoryRegistry store;
    Registry reg(store);
    reg.CreateRegKey(kSettingsKey, HKCU);
    reg.SetRegValue(HKCU, kSettingsKey, "Friday", row.value, row.type);
    const auto& values = store.keys().begin()->second.values;
    ASSERT_EQ(values.count("Friday"), row.stored ? 1u : 0u);
    if (row.stored) {
        EXPECT_EQ(values.at("Friday"), *row.stored);
    }
}

const std::string kMueller = "C:\\Bilder\\M\xC3\xBCller.jpg";

const WriteRow kSetRegValueRows[] = {
    {"StringWithTerminator", "/p/a.jpg", REG_SZ, StoredValue{REG_SZ, sz("/p/a.jpg")}},
    {"EmptyStringIsAnEmptyValueNotADeletion", "", REG_SZ, StoredValue{REG_SZ, {0}}},
    {"NumberAsStringType", std::int32_t{5}, REG_SZ, StoredValue{REG_SZ, sz("5")}},
    {"NumberType", std::int32_t{123456}, REG_DWORD, StoredValue{REG_DWORD, dword(123456)}},
    {"NumberTypeFromText", "17", REG_DWORD, StoredValue{REG_DWORD, dword(17)}},
    {"NumberTypeFromNonNumberWritesNothing", "abc", REG_DWORD, std::nullopt},
    {"OtherTypeWritesNothing", "x", REG_BINARY, std::nullopt},
    {"Utf8AndBackslashesKept", kMueller, REG_SZ, StoredValue{REG_SZ, sz(kMueller)}}};

INSTANTIATE_TEST_SUITE_P(Registry, SetRegValueRows, ::testing::ValuesIn(kSetRegValueRows), byName);

TEST(Registry, SetRegValueNeverCreatesTheKey) {
    MemoryRegistry store;
    Registry(store).SetRegValue(HKCU, kSettingsKey, "Friday", std::string("/p/a.jpg"), REG_SZ);
    EXPECT_TRUE(store.keys().empty());
}

TEST(Registry, QueryTypedValueStatusAndDelivery) {
    MemoryRegistry store;
    Registry reg(store);
    store.putValue(HKCU, kSettingsKey, "s", {REG_SZ, sz("text")});
    store.putValue(HKCU, kSettingsKey, "n", {REG_DWORD, dword(7)});
    store.putValue(HKCU, kSettingsKey, "b", {REG_BINARY, bytes("zz")});
    RegKey key = 0;
    ASSERT_EQ(store.openKey(HKCU, kSettingsKey, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    const auto query = [&](RegKey k, const char* name, std::int32_t status, TypedValue value) {
        TypedValue out;
        EXPECT_EQ(reg.QueryTypedValue(k, name, out), status) << name;
        EXPECT_EQ(out, value) << name;
    };
    query(key, "s", ERROR_SUCCESS, std::string("text"));
    query(key, "n", ERROR_SUCCESS, std::int32_t{7});
    query(key, "b", -1, std::monostate{});
    query(key, "missing", ERROR_FILE_NOT_FOUND, std::monostate{});
    query(0, "s", ERROR_INVALID_HANDLE, std::monostate{});
}

TEST(Registry, CreateRegKeyKeepsExistingValues) {
    MemoryRegistry store;
    Registry reg(store);
    reg.CreateRegKey(kLocal, HKCU);
    reg.SetRegValue(HKCU, kLocal, "Monday", std::string("/m.jpg"), REG_SZ);
    reg.CreateRegKey(kLocal, HKCU);
    // Creating a deeper key path leaves its parents' values alone.
    reg.CreateRegKey(std::string(kLocal) + "\\Sub", HKCU);
    EXPECT_EQ(reg.GetRegValue(HKCU, kLocal, "Monday"), "/m.jpg");
}

TEST(Registry, FailedAndRefusedWritesAreSwallowed) {
    MemoryRegistry store;
    Registry reg(store);
    store.setFailure(5);
    EXPECT_NO_THROW(reg.CreateRegKey(kSettingsKey, HKCU));
    EXPECT_NO_THROW(reg.SetRegValue(HKCU, kSettingsKey, "Monday", std::string("x"), REG_SZ));
    store.setFailure(std::nullopt);
    EXPECT_TRUE(store.keys().empty());
    // A read-only root refuses the write.
    store.putKey(HKEY_LOCAL_MACHINE, kRunKey);
    store.setReadOnlyRoot(HKEY_LOCAL_MACHINE);
    reg.SetRegValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName, std::string("/usr/bin/x"), REG_SZ);
    EXPECT_EQ(reg.GetRegValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName), "");
}

// A leaked handle would keep answering after the key went away; closeKey of a handle that the
// routines closed reports an invalid handle.
TEST(Registry, HandlesAreClosedAfterEachRoutine) {
    MemoryRegistry store;
    Registry reg(store);
    reg.CreateRegKey(kSettingsKey, HKCU);
    reg.SetRegValue(HKCU, kSettingsKey, "Monday", std::string("x"), REG_SZ);
    reg.GetRegValue(HKCU, kSettingsKey, "Monday");
    for (RegKey handle = 0x100; handle < 0x110; ++handle) {
        EXPECT_EQ(store.closeKey(handle), ERROR_INVALID_HANDLE) << handle;
    }
}

} // namespace
} // namespace lumora
