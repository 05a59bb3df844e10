// The text form of the settings: exact output, round trips of every byte, tolerant parsing of
// damaged input.
#include "core/settings/settings_format.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
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

const char* kLocal = "Software\\Corvane\\Local Settings";

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

TEST(SettingsFormat, ExactText) {
    const std::string expected =
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
        "\"Styl3\" = \"2\"\n";
    EXPECT_EQ(serializeSettings(sampleStore()), expected);
    MemoryRegistry parsed;
    EXPECT_FALSE(parseSettings(expected, parsed).damaged());
    EXPECT_TRUE(parsed == sampleStore());
}

// ---- round trips ----------------------------------------------------------------------------

struct RoundTripRow {
    const char* name;
    std::function<void(MemoryRegistry&)> fill;
};
class RoundTrip : public ::testing::TestWithParam<RoundTripRow> {};

TEST_P(RoundTrip, ParsesBackToTheSameStore) {
    MemoryRegistry original;
    GetParam().fill(original);
    std::string text = serializeSettings(original);
    MemoryRegistry parsed;
    SettingsParseReport report = parseSettings(text, parsed);
    EXPECT_FALSE(report.damaged()) << text;
    EXPECT_TRUE(parsed == original) << text;
    EXPECT_EQ(serializeSettings(parsed), text) << "the text is stable";
}

std::string allBytes() {
    std::string s;
    for (int c = 0; c < 256; ++c) {
        s.push_back(static_cast<char>(c));
    }
    return s;
}

void putText(MemoryRegistry& s, const std::string& text) {
    s.putValue(HKEY_CURRENT_USER, kLocal, "v", {REG_SZ, sz(text)});
    s.putOption("Vintrel\\Options", "o", text);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFormat, RoundTrip,
    ::testing::Values(
        RoundTripRow{"Empty", [](MemoryRegistry&) {}},
        RoundTripRow{"Sample", [](MemoryRegistry& s) { s = sampleStore(); }},
        RoundTripRow{"EveryByteInAText", [](MemoryRegistry& s) { putText(s, allBytes()); }},
        RoundTripRow{
            "EveryByteInABinary",
            [](MemoryRegistry& s) {
                s.putValue(HKEY_CURRENT_USER, kLocal, "b", {REG_BINARY, bytes(allBytes())});
            }},
        RoundTripRow{"QuotesAndBackslashes",
                     [](MemoryRegistry& s) { putText(s, "C:\\a \"b\" \\\\c\\"); }},
        RoundTripRow{"LineBreaksAndTabs",
                     [](MemoryRegistry& s) { putText(s, "a\nb\r\nc\td\n\r"); }},
        RoundTripRow{"EmbeddedZero", [](MemoryRegistry& s) { putText(s, std::string("a\0b", 3)); }},
        RoundTripRow{"Utf8",
                     [](MemoryRegistry& s) {
                         putText(s, "M\xC3\xBCller \xE2\x9C\x93 \xE6\x97\xA5 \xF0\x9F\x8C\x85");
                     }},
        RoundTripRow{"BrokenUtf8",
                     [](MemoryRegistry& s) {
                         putText(s, "\xC3( \xC0\xAF \xED\xA0\x80 \xF5\x80\x80\x80 \xE2\x82");
                     }},
        RoundTripRow{"SpacesAtTheEnds", [](MemoryRegistry& s) { putText(s, "  padded  "); }},
        RoundTripRow{"EscapeLookalikes", [](MemoryRegistry& s) { putText(s, "\\x41\\n\\\""); }},
        RoundTripRow{"StringWithoutTerminator",
                     [](MemoryRegistry& s) {
                         s.putValue(HKEY_CURRENT_USER, kLocal, "v", {REG_SZ, bytes("abc")});
                     }},
        RoundTripRow{"StringOfLengthZero",
                     [](MemoryRegistry& s) {
                         s.putValue(HKEY_CURRENT_USER, kLocal, "v", {REG_SZ, {}});
                     }},
        RoundTripRow{
            "NumberExtremes",
            [](MemoryRegistry& s) {
                s.putValue(HKEY_CURRENT_USER, kLocal, "min", {REG_DWORD, {0, 0, 0, 0x80}});
                s.putValue(HKEY_CURRENT_USER, kLocal, "max", {REG_DWORD, {0xff, 0xff, 0xff, 0x7f}});
                s.putValue(HKEY_CURRENT_USER, kLocal, "neg", {REG_DWORD, {0xff, 0xff, 0xff, 0xff}});
            }},
        RoundTripRow{"NumberOfOddLength",
                     [](MemoryRegistry& s) {
                         s.putValue(HKEY_CURRENT_USER, kLocal, "n", {REG_DWORD, {1, 2}});
                     }},
        RoundTripRow{"LargeTypeNumber",
                     [](MemoryRegistry& s) {
                         s.putValue(HKEY_CURRENT_USER, kLocal, "t", {0xFFFFFFFFu, {}});
                     }},
        RoundTripRow{"RootKeysThemselves",
                     [](MemoryRegistry& s) {
                         s.putValue(HKEY_CURRENT_USER, "", "top", {REG_SZ, sz("1")});
                         s.putKey(HKEY_LOCAL_MACHINE, "");
                     }},
        RoundTripRow{"OddKeyPaths",
                     [](MemoryRegistry& s) {
                         s.putKey(HKEY_CURRENT_USER, "Software\\With \"quote\"");
                         s.putKey(HKEY_CURRENT_USER, "Software\\with]bracket");
                         s.putKey(HKEY_CURRENT_USER, "Software\\new\nline");
                         s.putKey(HKEY_CURRENT_USER, " leading space");
                         s.putKey(HKEY_LOCAL_MACHINE, "\xFF\xFE");
                     }},
        RoundTripRow{"OddNames",
                     [](MemoryRegistry& s) {
                         s.putValue(HKEY_CURRENT_USER, kLocal, "", {REG_SZ, sz("default value")});
                         s.putValue(HKEY_CURRENT_USER, kLocal, "a = b", {REG_SZ, sz("x")});
                         s.putValue(HKEY_CURRENT_USER, kLocal, "#not a comment", {REG_SZ, sz("y")});
                         s.putValue(HKEY_CURRENT_USER, kLocal, "[not a header]", {REG_SZ, sz("z")});
                     }},
        RoundTripRow{"OddOptionSections",
                     [](MemoryRegistry& s) {
                         s.putOption("HKEY_CURRENT_USER\\Looks Like A Key", "k", "1");
                         s.putOption("\"quoted\"", "k", "2");
                         s.putOption("", "k", "3");
                         s.putOption("new\nline", "k\n", "4\n");
                         s.putOption("HKEY_CURRENT_USERS", "k", "5");
                     }}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SettingsFormat, NonAsciiTextStaysReadable) {
    EXPECT_EQ(quoteText("M\xC3\xBCller \xE6\x97\xA5"), "\"M\xC3\xBCller \xE6\x97\xA5\"");
    EXPECT_EQ(quoteText("a\\b\"c\nd\x01\x7F\xFF"), "\"a\\\\b\\\"c\\nd\\x01\\x7f\\xff\"");
}

struct UnquoteRow {
    const char* inner;
    bool ok;
    std::string text;
};
class Unquote : public ::testing::TestWithParam<UnquoteRow> {};
TEST_P(Unquote, Row) {
    std::string out;
    EXPECT_EQ(unquoteText(GetParam().inner, out), GetParam().ok);
    if (GetParam().ok) {
        EXPECT_EQ(out, GetParam().text);
    }
}
INSTANTIATE_TEST_SUITE_P(
    SettingsFormat, Unquote,
    ::testing::Values(UnquoteRow{"plain", true, "plain"}, UnquoteRow{"\\x41\\x6a", true, "Aj"},
                      UnquoteRow{"\\t\\r\\n", true, "\t\r\n"}, UnquoteRow{"\\q", false, ""},
                      UnquoteRow{"end\\", false, ""}, UnquoteRow{"\\x4", false, ""},
                      UnquoteRow{"\\x", false, ""}, UnquoteRow{"\\xg1", false, ""},
                      UnquoteRow{"bare\"quote", false, ""}));

// ---- damaged input --------------------------------------------------------------------------

struct DamageRow {
    const char* name;
    std::string text;
    std::vector<std::size_t> badLines;
    std::string expectedSerialized; // of what was usable, without the two comment lines
};
class Damaged : public ::testing::TestWithParam<DamageRow> {};

std::string withoutComments(const std::string& text) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        std::string line = text.substr(pos, eol - pos);
        if (line.empty() || line[0] != '#') {
            out += line + "\n";
        }
        pos = eol == std::string::npos ? text.size() : eol + 1;
    }
    // drop the blank line before each section
    std::string compact;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '\n' && (i == 0 || out[i - 1] == '\n')) {
            continue;
        }
        compact.push_back(out[i]);
    }
    return compact;
}

TEST_P(Damaged, UsesWhatParsesAndReportsTheRest) {
    MemoryRegistry parsed;
    SettingsParseReport report = parseSettings(GetParam().text, parsed);
    EXPECT_EQ(report.badLines, GetParam().badLines);
    EXPECT_EQ(withoutComments(serializeSettings(parsed)), GetParam().expectedSerialized);
}

const std::string kKey = "[HKEY_CURRENT_USER\\K]\n";

INSTANTIATE_TEST_SUITE_P(
    SettingsFormat, Damaged,
    ::testing::Values(
        DamageRow{"Clean", kKey + "\"a\" = \"1\"\n", {}, kKey + "\"a\" = \"1\"\n"},
        DamageRow{"CommentsAndBlankLines",
                  "# c\n; c\n\n   \n" + kKey + "  \"a\"  =  \"1\"  \n",
                  {},
                  kKey + "\"a\" = \"1\"\n"},
        DamageRow{"WindowsLineEnds",
                  "[HKEY_CURRENT_USER\\K]\r\n\"a\" = \"1\"\r\n",
                  {},
                  kKey + "\"a\" = \"1\"\n"},
        DamageRow{"BareNamesAccepted", kKey + "a = \"1\"\n", {}, kKey + "\"a\" = \"1\"\n"},
        DamageRow{"RootNameIgnoresCase",
                  "[hkey_current_user\\K]\n\"a\" = dword:7\n",
                  {},
                  kKey + "\"a\" = dword:7\n"},
        DamageRow{"ValueBeforeAnyHeader", "\"a\" = \"1\"\n" + kKey, {1}, kKey},
        DamageRow{"UnterminatedQuote",
                  kKey + "\"a\" = \"1\n\"b\" = \"2\"\n",
                  {2},
                  kKey + "\"b\" = \"2\"\n"},
        DamageRow{"BadEscape", kKey + "\"a\" = \"\\q\"\n", {2}, kKey},
        DamageRow{"TextAfterClosingQuote", kKey + "\"a\" = \"1\" x\n", {2}, kKey},
        DamageRow{"NoEqualsSign", kKey + "\"a\" \"1\"\n", {2}, kKey},
        DamageRow{"EmptyBareName", kKey + " = \"1\"\n", {2}, kKey},
        DamageRow{"UnknownValueForm", kKey + "\"a\" = 12\n", {2}, kKey},
        DamageRow{"DwordNotANumber", kKey + "\"a\" = dword:abc\n", {2}, kKey},
        DamageRow{"DwordTooLarge", kKey + "\"a\" = dword:4294967296\n", {2}, kKey},
        DamageRow{"DwordTooSmall", kKey + "\"a\" = dword:-2147483649\n", {2}, kKey},
        DamageRow{"DwordUnsignedWraps",
                  kKey + "\"a\" = dword:4294967295\n",
                  {},
                  kKey + "\"a\" = dword:-1\n"},
        DamageRow{"HexBadDigit", kKey + "\"a\" = hex(3):0g\n", {2}, kKey},
        DamageRow{"HexOddDigits", kKey + "\"a\" = hex(3):012\n", {2}, kKey},
        DamageRow{"HexTrailingComma", kKey + "\"a\" = hex(3):01,\n", {2}, kKey},
        DamageRow{"HexBadType", kKey + "\"a\" = hex(x):01\n", {2}, kKey},
        DamageRow{"HexNoType", kKey + "\"a\" = hex():01\n", {2}, kKey},
        DamageRow{"HexSpacesAllowed",
                  kKey + "\"a\" = hex(3): 01 , 02\n",
                  {},
                  kKey + "\"a\" = hex(3):01,02\n"},
        DamageRow{"HeaderNotClosed", "[HKEY_CURRENT_USER\\K\n\"a\" = \"1\"\n", {1, 2}, ""},
        DamageRow{"LinesUnderABadHeaderAreBad",
                  kKey + "\"a\" = \"1\"\n[\n\"b\" = \"2\"\n" + kKey + "\"c\" = \"3\"\n",
                  {3, 4},
                  kKey + "\"a\" = \"1\"\n\"c\" = \"3\"\n"},
        DamageRow{"QuotedHeaderBroken", "[HKEY_CURRENT_USER\\\"K]\n", {1}, ""},
        DamageRow{"OptionsTakeTextsOnly",
                  "[App\\Sec]\n\"a\" = dword:1\n\"b\" = \"x\"\n",
                  {2},
                  "[App\\Sec]\n\"b\" = \"x\"\n"},
        DamageRow{"LaterValueWins",
                  kKey + "\"a\" = \"1\"\n\"A\" = \"2\"\n",
                  {},
                  kKey + "\"a\" = \"2\"\n"},
        DamageRow{"BinaryGarbage",
                  std::string("\x00\x01\xff[\x80\n", 6) + kKey + "\"a\" = \"1\"\n",
                  {1},
                  kKey + "\"a\" = \"1\"\n"},
        DamageRow{"TruncatedInTheMiddle",
                  kKey + "\"a\" = \"1\"\n\"b\" = \"/home/an",
                  {3},
                  kKey + "\"a\" = \"1\"\n"}),
    [](const auto& row) { return std::string(row.param.name); });

// Every prefix of a valid text parses without a crash; only its last, cut line can be bad, and
// every complete line before it is used.
TEST(SettingsFormat, EveryTruncationParses) {
    const std::string text = serializeSettings(sampleStore());
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        std::string prefix = text.substr(0, cut);
        MemoryRegistry parsed;
        SettingsParseReport report = parseSettings(prefix, parsed);
        std::size_t lines = 0;
        for (char c : prefix) {
            lines += c == '\n' ? 1 : 0;
        }
        for (std::size_t bad : report.badLines) {
            EXPECT_EQ(bad, lines + 1) << "cut at " << cut;
        }
        // What the complete lines hold is there.
        std::size_t complete = prefix.rfind('\n');
        MemoryRegistry head;
        parseSettings(complete == std::string::npos ? "" : prefix.substr(0, complete + 1), head);
        for (const auto& [id, key] : head.keys()) {
            ASSERT_TRUE(parsed.keys().count(id)) << "cut at " << cut;
            for (const auto& [name, value] : key.values) {
                ASSERT_TRUE(parsed.keys().at(id).values.count(name));
            }
        }
    }
}

// Random damage: whatever parses is representable, so it survives a save and a load unchanged.
TEST(SettingsFormat, GarbledTextNeverCrashesAndWhatParsesRoundTrips) {
    std::mt19937 random(20270103u);
    const std::string text = serializeSettings(sampleStore());
    for (int round = 0; round < 400; ++round) {
        std::string garbled = text;
        int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = random() % garbled.size();
            switch (random() % 3) {
            case 0:
                garbled[at] = static_cast<char>(random() % 256);
                break;
            case 1:
                garbled.erase(at, 1 + random() % 5);
                break;
            default:
                garbled.insert(at, 1, "\"\\[]=\n\x00x,"[random() % 9]);
            }
            if (garbled.empty()) {
                garbled = "x";
            }
        }
        MemoryRegistry parsed;
        parseSettings(garbled, parsed);
        std::string again = serializeSettings(parsed);
        MemoryRegistry reparsed;
        EXPECT_FALSE(parseSettings(again, reparsed).damaged()) << again;
        EXPECT_TRUE(reparsed == parsed) << again;
    }
}

} // namespace
} // namespace lumora
