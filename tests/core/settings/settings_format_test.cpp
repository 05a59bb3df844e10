// The text form of the settings: exact output, round trips of every byte, tolerant parsing of
// damaged input.
#include "core/fakes/fakes.h"
#include "core/settings/settings_format.h"

namespace lumora {
namespace {

using namespace std::string_literals;

std::vector<std::uint8_t> bytes(const std::string& s) {
    return {s.begin(), s.end()};
}
std::vector<std::uint8_t> sz(const std::string& s) {
    return bytes(s + '\0');
}

const char* const kLocal = "Software\\Corvane\\Local Settings";

MemoryRegistry sampleStore() {
    MemoryRegistry s;
    s.putValue(HKEY_CURRENT_USER, kLocal, "Monday",
               {REG_SZ, sz("/home/ann/.local/share/lumora/Monday.jpg")});
    s.putValue(HKEY_CURRENT_USER, kLocal, "Tuesday", {REG_SZ, sz("")});
    s.putValue(HKEY_CURRENT_USER, kLocal, "Count", {REG_DWORD, {42, 0, 0, 0}});
    s.putValue(HKEY_CURRENT_USER, kLocal, "Blob", {REG_BINARY, {0x01, 0xff, 0x00}});
    s.putKey(HKEY_CURRENT_USER, "Software\\Corvane\\Settings");
    s.putValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Lumora",
               {REG_SZ, sz("/usr/bin/lumora")});
    s.putOption("Vintrel\\Options", "DispMess", "True");
    s.putOption("Vintrel\\Options", "Styl3", "2");
    return s;
}

// Serializes, parses back without damage to the same store, and serializes to the same text.
void expectRoundTrip(const MemoryRegistry& original) {
    const std::string text = serializeSettings(original);
    MemoryRegistry parsed;
    EXPECT_FALSE(parseSettings(text, parsed).damaged()) << text;
    EXPECT_TRUE(parsed == original) << text;
    EXPECT_EQ(serializeSettings(parsed), text) << "the text is stable";
}

TEST(SettingsFormat, ExactText) {
    EXPECT_EQ(serializeSettings(sampleStore()),
              "# Lumora settings: registry keys and option texts, one item a line.\n"
              "# Values: \"text\", dword:<decimal>, hex(<type>):<bytes>.\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Corvane\\Local Settings]\n"
              "\"Monday\" = \"/home/ann/.local/share/lumora/Monday.jpg\"\n"
              "\"Tuesday\" = \"\"\n"
              "\"Count\" = dword:42\n"
              "\"Blob\" = hex(3):01,ff,00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Corvane\\Settings]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
              "\"Lumora\" = \"/usr/bin/lumora\"\n"
              "\n"
              "[Vintrel\\Options]\n"
              "\"DispMess\" = \"True\"\n"
              "\"Styl3\" = \"2\"\n");
    expectRoundTrip(sampleStore());
    expectRoundTrip(MemoryRegistry{});
    EXPECT_EQ(quoteText("M\xC3\xBCller \xE6\x97\xA5"), "\"M\xC3\xBCller \xE6\x97\xA5\"")
        << "non-ASCII text stays readable";
    EXPECT_EQ(quoteText("a\\b\"c\nd\x01\x7F\xFF"), "\"a\\\\b\\\"c\\nd\\x01\\x7f\\xff\"");
}

std::string allBytes() {
    std::string s;
    for (int c = 0; c < 256; ++c) {
        s.push_back(static_cast<char>(c));
    }
    return s;
}

// Texts as a registry string and as an option text.
TEST(SettingsFormat, TextsRoundTrip) {
    for (const std::string& text :
         std::vector<std::string>{allBytes(), "C:\\a \"b\" \\\\c\\", "a\nb\r\nc\td\n\r", "a\0b"s,
                                  "M\xC3\xBCller \xE2\x9C\x93 \xE6\x97\xA5 \xF0\x9F\x8C\x85",
                                  "\xC3( \xC0\xAF \xED\xA0\x80 \xF5\x80\x80\x80 \xE2\x82",
                                  "  padded  ", "\\x41\\n\\\""}) {
        MemoryRegistry store;
        store.putValue(HKEY_CURRENT_USER, kLocal, "v", {REG_SZ, sz(text)});
        store.putOption("Vintrel\\Options", "o", text);
        expectRoundTrip(store);
    }
}

// Odd values, types, key paths, names and option sections in one store.
TEST(SettingsFormat, OddStoreRoundTrips) {
    MemoryRegistry s;
    const auto put = [&](const char* name, std::uint32_t type, std::vector<std::uint8_t> data) {
        s.putValue(HKEY_CURRENT_USER, kLocal, name, {type, std::move(data)});
    };
    put("binary", REG_BINARY, bytes(allBytes()));
    put("unterminated", REG_SZ, bytes("abc"));
    put("zero length", REG_SZ, {});
    put("min", REG_DWORD, {0, 0, 0, 0x80});
    put("max", REG_DWORD, {0xff, 0xff, 0xff, 0x7f});
    put("neg", REG_DWORD, {0xff, 0xff, 0xff, 0xff});
    put("odd length number", REG_DWORD, {1, 2});
    put("large type", 0xFFFFFFFFu, {});
    put("", REG_SZ, sz("default value"));
    put("a = b", REG_SZ, sz("x"));
    put("#not a comment", REG_SZ, sz("y"));
    put("[not a header]", REG_SZ, sz("z"));
    s.putValue(HKEY_CURRENT_USER, "", "top", {REG_SZ, sz("1")});
    s.putKey(HKEY_LOCAL_MACHINE, "");
    for (const char* path : {"Software\\With \"quote\"", "Software\\with]bracket",
                             "Software\\new\nline", " leading space", "\xFF\xFE"}) {
        s.putKey(HKEY_CURRENT_USER, path);
    }
    s.putOption("HKEY_CURRENT_USER\\Looks Like A Key", "k", "1");
    s.putOption("\"quoted\"", "k", "2");
    s.putOption("", "k", "3");
    s.putOption("new\nline", "k\n", "4\n");
    s.putOption("HKEY_CURRENT_USERS", "k", "5");
    expectRoundTrip(s);
}

// ---- damaged input: what parses is used, the other lines are reported ----

struct DamageRow {
    const char* name;
    std::string text;
    std::vector<std::size_t> badLines;
    std::string usable; // a clean text of what was usable
};
class Damaged : public ::testing::TestWithParam<DamageRow> {};

TEST_P(Damaged, UsesWhatParsesAndReportsTheRest) {
    MemoryRegistry parsed, usable;
    EXPECT_EQ(parseSettings(GetParam().text, parsed).badLines, GetParam().badLines);
    ASSERT_FALSE(parseSettings(GetParam().usable, usable).damaged());
    EXPECT_EQ(serializeSettings(parsed), serializeSettings(usable));
}

const std::string K = "[HKEY_CURRENT_USER\\K]\n";
const std::string A1 = "\"a\" = \"1\"\n";

// clang-format off
const DamageRow kDamage[] = {
    {"CommentsAndBlankLines", "# c\n; c\n\n   \n" + K + "  \"a\"  =  \"1\"  \n", {}, K + A1},
    {"WindowsLineEnds", "[HKEY_CURRENT_USER\\K]\r\n\"a\" = \"1\"\r\n", {}, K + A1},
    {"BareNamesAccepted", K + "a = \"1\"\n", {}, K + A1},
    {"RootNameIgnoresCase", "[hkey_current_user\\K]\n\"a\" = dword:7\n", {}, K + "\"a\" = dword:7\n"},
    {"ValueBeforeAnyHeader", A1 + K, {1}, K},
    {"UnterminatedQuote", K + "\"a\" = \"1\n\"b\" = \"2\"\n", {2}, K + "\"b\" = \"2\"\n"},
    {"BadEscape", K + "\"a\" = \"\\q\"\n", {2}, K},
    {"TextAfterClosingQuote", K + "\"a\" = \"1\" x\n", {2}, K},
    {"NoEqualsSign", K + "\"a\" \"1\"\n", {2}, K},
    {"EmptyBareName", K + " = \"1\"\n", {2}, K},
    {"UnknownValueForm", K + "\"a\" = 12\n", {2}, K},
    {"DwordNotANumber", K + "\"a\" = dword:abc\n", {2}, K},
    {"DwordTooLarge", K + "\"a\" = dword:4294967296\n", {2}, K},
    {"DwordTooSmall", K + "\"a\" = dword:-2147483649\n", {2}, K},
    {"DwordUnsignedWraps", K + "\"a\" = dword:4294967295\n", {}, K + "\"a\" = dword:-1\n"},
    {"HexBadDigit", K + "\"a\" = hex(3):0g\n", {2}, K},
    {"HexOddDigits", K + "\"a\" = hex(3):012\n", {2}, K},
    {"HexTrailingComma", K + "\"a\" = hex(3):01,\n", {2}, K},
    {"HexBadType", K + "\"a\" = hex(x):01\n", {2}, K},
    {"HexSpacesAllowed", K + "\"a\" = hex(3): 01 , 02\n", {}, K + "\"a\" = hex(3):01,02\n"},
    {"HeaderNotClosed", "[HKEY_CURRENT_USER\\K\n" + A1, {1, 2}, ""},
    {"LinesUnderABadHeaderAreBad", K + A1 + "[\n\"b\" = \"2\"\n" + K + "\"c\" = \"3\"\n", {3, 4}, K + A1 + "\"c\" = \"3\"\n"},
    {"QuotedHeaderBroken", "[HKEY_CURRENT_USER\\\"K]\n", {1}, ""},
    {"OptionsTakeTextsOnly", "[App\\Sec]\n\"a\" = dword:1\n\"b\" = \"x\"\n", {2}, "[App\\Sec]\n\"b\" = \"x\"\n"},
    {"LaterValueWins", K + A1 + "\"A\" = \"2\"\n", {}, K + "\"a\" = \"2\"\n"},
    {"BinaryGarbage", "\x00\x01\xff[\x80\n"s + K + A1, {1}, K + A1},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(SettingsFormat, Damaged, ::testing::ValuesIn(kDamage), byName);

} // namespace
} // namespace lumora
