// Paths from UTF-8 text and back: the same name for the system as the UTF-16 spelling of it, and
// a file made under the name is found again under it.
#include "core/fakes/fakes.h"
#include "core/text/utf8_path.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct NameRow {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

const NameRow kNameRows[] = {
    {"Ascii", "Monday.jpg", u"Monday.jpg"},
    {"Latin", "caf\xc3\xa9 \xc3\xa0 la cr\xc3\xa8me.png", u"caf\u00e9 \u00e0 la cr\u00e8me.png"},
    {"Cyrillic", "\xd1\x84\xd0\xbe\xd1\x82\xd0\xbe.gif", u"\u0444\u043e\u0442\u043e.gif"},
    {"Cjk", "\xe5\xa3\x81\xe7\xb4\x99.bmp", u"\u58c1\u7d19.bmp"},
    {"OutsideTheBasicPlane", "\xf0\x9f\x8c\x85 dawn.jpg", u"\U0001F305 dawn.jpg"},
    {"Folders", "pics/\xc3\xa9t\xc3\xa9/Sunday.jpg", u"pics/\u00e9t\u00e9/Sunday.jpg"},
};

class Utf8Paths : public ::testing::TestWithParam<NameRow> {};

TEST_P(Utf8Paths, NameWhatTheUtf16SpellingNamesAndRoundTrip) {
    const fs::path path = pathFromUtf8(GetParam().utf8);
    EXPECT_EQ(path.native(), fs::path(GetParam().utf16).native());
    EXPECT_EQ(utf8FromPath(path), GetParam().utf8);
}

TEST_P(Utf8Paths, AFileMadeUnderTheNameIsListedUnderIt) {
    fakes::TempProgramInfo scratch;
    const std::string leaf = utf8FromPath(pathFromUtf8(GetParam().utf8).filename());
    fakes::writeBytes(scratch.dir / pathFromUtf8(leaf), {1, 2, 3});
    std::vector<std::string> listed;
    for (const auto& entry : fs::directory_iterator(scratch.dir)) {
        listed.push_back(utf8FromPath(entry.path().filename()));
    }
    EXPECT_EQ(listed, std::vector<std::string>{leaf});
    EXPECT_EQ(fakes::readBytes(pathFromUtf8(utf8FromPath(scratch.dir) + "/" + leaf)),
              (std::vector<std::uint8_t>{1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(Rows, Utf8Paths, ::testing::ValuesIn(kNameRows), byName);

// Where names are bytes, bytes that are not UTF-8 still name the file they named; where names are
// UTF-16 such a text names nothing.
TEST(Utf8Path, TextThatIsNotUtf8) {
    const std::string bytes = "caf\xe9 \xff\xfe.png";
    if constexpr (sizeof(fs::path::value_type) == 1) {
        EXPECT_EQ(pathFromUtf8(bytes).native(), bytes);
        EXPECT_EQ(utf8FromPath(pathFromUtf8(bytes)), bytes);
    } else {
        EXPECT_THROW(pathFromUtf8(bytes), fs::filesystem_error);
    }
}

} // namespace
} // namespace lumora
