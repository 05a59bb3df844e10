// The option store routines: defaults, writes, and how a stored text is read, as data rows.
#include "core/fakes/fakes.h"

#include <iomanip>

namespace lumora {
namespace {

TEST(Options, DefaultsAreNeverWrittenAndStoredTextsWin) {
    MemoryRegistry store;
    Options options(store);
    EXPECT_EQ(options.GetSetting(kDirectWall, "1"), "1");
    EXPECT_TRUE(options.readBool(kDispMess, true));
    EXPECT_TRUE(store.options().empty()) << "defaults are never written by a read";
    options.SaveSetting(kSelectWall, "3");
    options.SaveSetting(kBackColor, "");
    EXPECT_EQ(options.GetSetting(kSelectWall, "2"), "3");
    EXPECT_EQ(options.GetSetting(kBackColor, "255"), "") << "an empty text is not absent";
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

// A stored text as a truth value, a number and a colour, "-" where it counts as absent (the
// default holds): only the program's own spellings are taken.
struct TextRow {
    const char* text;
    const char* read; // "<bool> <single> <colour>"
};

class StoredTexts : public ::testing::TestWithParam<TextRow> {};

TEST_P(StoredTexts, ReadAsBoolNumberAndColour) {
    MemoryRegistry store;
    Options options(store);
    options.SaveSetting(kDispMess, GetParam().text);
    std::ostringstream read;
    read << std::boolalpha << std::setprecision(10);
    const bool b = options.readBool(kDispMess, true);
    b == options.readBool(kDispMess, false) ? read << b : read << '-';
    const float f = options.readSingle(kDispMess, 0.5f);
    f == options.readSingle(kDispMess, -0.5f) ? read << ' ' << f : read << " -";
    const auto colour = parseColorText(GetParam().text);
    colour ? read << ' ' << *colour : read << " -";
    EXPECT_EQ(read.str(), GetParam().read);
}

const TextRow kTextRows[] = {
    {"True", "true - -"},
    {"False", "false - -"},
    {"true", "- - -"},
    {"True ", "- - -"},
    {"", "- - -"},
    {"1", "- 1 1"},
    {" 2 ", "- 2 2"},
    {"+4", "- 4 4"},
    {"2.5", "- 2.5 -"},
    {"-1", "- -1 16777215"},
    {"1e3", "- - -"},
    {"0x10", "- - -"},
    {"nan", "- - -"},
    {"1.2.3", "- - -"},
    {".", "- - -"},
    {"red", "- - -"},
    {"4x", "- - -"},
    {"16711680", "- 16711680 16711680"},
    {"4278190335", "- 4278190336 255"}, // the colour's high byte is dropped
    {"4294967296", "- 4294967296 -"},
};

INSTANTIATE_TEST_SUITE_P(Options, StoredTexts, ::testing::ValuesIn(kTextRows));

} // namespace
} // namespace lumora
