// The option store routines: defaults, writes, typed reads and the text parsers, as data rows.
#include "core/settings/frm_main_state.h"
#include "core/settings/memory_registry.h"
#include "core/settings/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lumora {
namespace {

TEST(Options, MissingKeyGivesDefaultAndReadingWritesNothing) {
    MemoryRegistry store;
    Options options(store);
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "1");
    EXPECT_EQ(options.GetSetting(kBackColor, ""), "");
    EXPECT_TRUE(options.readBool(kDispMess, true));
    EXPECT_EQ(options.readSingle(stylKey(3), 1.0f), 1.0f);
    EXPECT_TRUE(store.options().empty()) << "defaults are never written by a read";
}

TEST(Options, StoredTextWinsOverDefault) {
    MemoryRegistry store;
    Options options(store);
    options.SaveSetting(kSelectWall, "3");
    EXPECT_EQ(options.GetSetting(kSelectWall, "2"), "3");
    EXPECT_EQ(store.readOption("Vintrel", "Options", "SelectWall"), "3");
    // Only "Vintrel\Options" holds them.
    EXPECT_EQ(store.readOption("Vintrel", "Other", "SelectWall"), std::nullopt);
}

TEST(Options, EmptyStoredTextIsNotAbsent) {
    MemoryRegistry store;
    Options options(store);
    options.SaveSetting(kBackColor, "");
    EXPECT_EQ(options.GetSetting(kBackColor, "255"), "");
}

TEST(Options, StoreFailureGivesDefaultAndWriteIsSwallowed) {
    MemoryRegistry store;
    store.writeOption(kAppName, kSection, kDirectWall, "3");
    store.setFailure(21);
    Options options(store);
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "1");
    EXPECT_NO_THROW(options.SaveSetting(kDirectWall, "2"));
    store.setFailure(std::nullopt);
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "3");
}

TEST(Options, StylKeys) {
    EXPECT_EQ(stylKey(1), "Styl1");
    EXPECT_EQ(stylKey(7), "Styl7");
}

TEST(Options, TuesdayStyleFollowsStyl3) {
    MemoryRegistry store;
    Options options(store);
    EXPECT_EQ(desktopStyleFor(options.readSingle(stylKey(3), 1)), 2);
    options.SaveSetting(stylKey(3), "2");
    EXPECT_EQ(desktopStyleFor(options.readSingle(stylKey(3), 1)), 0) << "centred";
}

struct BoolRow {
    const char* text;
    std::optional<bool> parsed;
};
class BoolTexts : public ::testing::TestWithParam<BoolRow> {};
TEST_P(BoolTexts, Parse) {
    EXPECT_EQ(parseBoolText(GetParam().text), GetParam().parsed);
    MemoryRegistry store;
    Options options(store);
    options.SaveSetting(kDispMess, GetParam().text);
    // A text the program does not write counts as absent: the default holds.
    EXPECT_EQ(options.readBool(kDispMess, true), GetParam().parsed.value_or(true));
    EXPECT_EQ(options.readBool(kDispMess, false), GetParam().parsed.value_or(false));
}
INSTANTIATE_TEST_SUITE_P(Options, BoolTexts,
                         ::testing::Values(BoolRow{"True", true}, BoolRow{"False", false},
                                           BoolRow{"true", std::nullopt},
                                           BoolRow{"1", std::nullopt}, BoolRow{"", std::nullopt},
                                           BoolRow{"True ", std::nullopt}));

struct SingleRow {
    const char* text;
    std::optional<float> parsed;
};
class SingleTexts : public ::testing::TestWithParam<SingleRow> {};
TEST_P(SingleTexts, Parse) {
    EXPECT_EQ(parseSingleText(GetParam().text), GetParam().parsed);
    MemoryRegistry store;
    Options options(store);
    options.SaveSetting(kDirectWall, GetParam().text);
    EXPECT_EQ(options.readSingle(kDirectWall, 9.0f), GetParam().parsed.value_or(9.0f));
}
INSTANTIATE_TEST_SUITE_P(
    Options, SingleTexts,
    ::testing::Values(SingleRow{"1", 1.0f}, SingleRow{"3", 3.0f}, SingleRow{" 2 ", 2.0f},
                      SingleRow{"2.5", 2.5f}, SingleRow{"-1", -1.0f}, SingleRow{"+4", 4.0f},
                      SingleRow{"", std::nullopt}, SingleRow{"abc", std::nullopt},
                      SingleRow{"1e3", std::nullopt}, SingleRow{"0x10", std::nullopt},
                      SingleRow{"nan", std::nullopt}, SingleRow{"1.2.3", std::nullopt},
                      SingleRow{".", std::nullopt}));

struct ColorRow {
    const char* text;
    std::optional<std::uint32_t> parsed;
};
class ColorTexts : public ::testing::TestWithParam<ColorRow> {};
TEST_P(ColorTexts, Parse) {
    EXPECT_EQ(parseColorText(GetParam().text), GetParam().parsed);
}
INSTANTIATE_TEST_SUITE_P(
    Options, ColorTexts,
    ::testing::Values(ColorRow{"0", 0u}, ColorRow{"255", 0xFFu}, ColorRow{"16711680", 0xFF0000u},
                      ColorRow{"16777215", 0xFFFFFFu},
                      ColorRow{"4278190335", 0xFFu}, // high byte dropped
                      ColorRow{"", std::nullopt}, ColorRow{"red", std::nullopt},
                      ColorRow{"12.5", std::nullopt}, ColorRow{"99999999999", std::nullopt}));

struct WholeRow {
    const char* text;
    std::optional<std::int64_t> parsed;
};
class WholeTexts : public ::testing::TestWithParam<WholeRow> {};
TEST_P(WholeTexts, Parse) {
    EXPECT_EQ(parseWholeText(GetParam().text), GetParam().parsed);
}
INSTANTIATE_TEST_SUITE_P(Options, WholeTexts,
                         ::testing::Values(WholeRow{"0", 0}, WholeRow{"42", 42}, WholeRow{" 7 ", 7},
                                           WholeRow{"+3", 3}, WholeRow{"-12", -12},
                                           WholeRow{"", std::nullopt}, WholeRow{"4x", std::nullopt},
                                           WholeRow{"1.0", std::nullopt}));

} // namespace
} // namespace lumora
