// The option store routines: defaults, writes, typed reads and the text parsers, as data rows.
#include "core/fakes/fakes.h"

namespace lumora {
namespace {

TEST(Options, MissingKeyGivesDefaultAndReadingWritesNothing) {
    MemoryRegistry store;
    Options options(store);
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "1");
    EXPECT_TRUE(options.readBool(kDispMess, true));
    EXPECT_EQ(options.readSingle(stylKey(3), 1.0f), 1.0f);
    EXPECT_TRUE(store.options().empty()) << "defaults are never written by a read";
}

TEST(Options, StoredTextWinsOverDefaultAndEmptyTextIsNotAbsent) {
    MemoryRegistry store;
    Options options(store);
    options.SaveSetting(kSelectWall, "3");
    options.SaveSetting(kBackColor, "");
    EXPECT_EQ(options.GetSetting(kSelectWall, "2"), "3");
    EXPECT_EQ(options.GetSetting(kBackColor, "255"), "");
    // Only "Vintrel\Options" holds them.
    EXPECT_EQ(store.readOption("Vintrel", "Options", "SelectWall"), "3");
    EXPECT_EQ(store.readOption("Vintrel", "Other", "SelectWall"), std::nullopt);
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

// Styl3 holding "2" makes Tuesday a centred day; without it Tuesday is stretched.
TEST(Options, TuesdayStyleFollowsStyl3) {
    MemoryRegistry store;
    Options options(store);
    EXPECT_EQ(desktopStyleFor(options.readSingle(stylKey(3), 1)), 2);
    options.SaveSetting("Styl3", "2");
    EXPECT_EQ(desktopStyleFor(options.readSingle(stylKey(3), 1)), 0);
}

// A text the program does not write counts as absent: the default holds.
TEST(Options, BoolTexts) {
    for (auto [text, parsed] : {std::pair{"True", std::optional{true}},
                                {"False", false},
                                {"true", std::nullopt},
                                {"1", std::nullopt},
                                {"", std::nullopt},
                                {"True ", std::nullopt}}) {
        MemoryRegistry store;
        Options options(store);
        options.SaveSetting(kDispMess, text);
        EXPECT_EQ(parseBoolText(text), parsed) << text;
        EXPECT_EQ(options.readBool(kDispMess, true), parsed.value_or(true)) << text;
        EXPECT_EQ(options.readBool(kDispMess, false), parsed.value_or(false)) << text;
    }
}

TEST(Options, SingleTexts) {
    for (auto [text, parsed] : {std::pair{"3", std::optional{3.0f}},
                                {" 2 ", 2.0f},
                                {"2.5", 2.5f},
                                {"-1", -1.0f},
                                {"+4", 4.0f},
                                {"", std::nullopt},
                                {"abc", std::nullopt},
                                {"1e3", std::nullopt},
                                {"0x10", std::nullopt},
                                {"nan", std::nullopt},
                                {"1.2.3", std::nullopt},
                                {".", std::nullopt}}) {
        MemoryRegistry store;
        Options options(store);
        options.SaveSetting(kDirectWall, text);
        EXPECT_EQ(parseSingleText(text), parsed) << text;
        EXPECT_EQ(options.readSingle(kDirectWall, 9.0f), parsed.value_or(9.0f)) << text;
    }
}

TEST(Options, ColorTexts) {
    EXPECT_EQ(parseColorText("0"), 0u);
    EXPECT_EQ(parseColorText("16711680"), 0xFF0000u);
    EXPECT_EQ(parseColorText("16777215"), 0xFFFFFFu);
    EXPECT_EQ(parseColorText("4278190335"), 0xFFu) << "high byte dropped";
    for (const char* text : {"", "red", "12.5", "99999999999"}) {
        EXPECT_EQ(parseColorText(text), std::nullopt) << text;
    }
}

TEST(Options, WholeTexts) {
    EXPECT_EQ(parseWholeText("42"), 42);
    EXPECT_EQ(parseWholeText(" 7 "), 7);
    EXPECT_EQ(parseWholeText("+3"), 3);
    EXPECT_EQ(parseWholeText("-12"), -12);
    for (const char* text : {"", "4x", "1.0"}) {
        EXPECT_EQ(parseWholeText(text), std::nullopt) << text;
    }
}

// The style table of FrmMain's state.
struct StyleRow {
    float style;
    const char* info; // caption / tool tip / desktop style; "" for no style
};

class StyleTable : public ::testing::TestWithParam<StyleRow> {};

TEST_P(StyleTable, Row) {
    const auto info = styleInfo(GetParam().style);
    const auto desktop = desktopStyleFor(GetParam().style);
    ASSERT_EQ(info.has_value(), desktop.has_value());
    EXPECT_EQ(info ? std::string(info->caption) + " / " + info->toolTip + " / " +
                         std::to_string(info->desktopStyle) + " / " + std::to_string(*desktop)
                   : "",
              GetParam().info);
}

const StyleRow kStyleTableRows[] = {{1, "S / Stretch Wallpaper / 2 / 2"},
                                    {2, "C / Center Wallpaper / 0 / 0"},
                                    {3, "T / Tile Wallpaper / 1 / 1"},
                                    {4, " /  / 3 / 3"},
                                    {0, ""},
                                    {5, ""},
                                    {1.5f, ""},
                                    {-1, ""}};

INSTANTIATE_TEST_SUITE_P(Settings, StyleTable, ::testing::ValuesIn(kStyleTableRows));

} // namespace
} // namespace lumora
