// --help's shared texts: words wrapped at the width, never split, each line indented.
#include "core/text/help_text.h"

#include <gtest/gtest.h>

#include <array>

namespace lumora {
namespace {

TEST(HelpText, WrapsWholeWordsAtTheWidth) {
    struct Row {
        const char* text;
        std::size_t indent;
        std::size_t width;
        const char* wrapped;
    };
    for (const Row& row : std::array<Row, 4>{{
             {"one two three", 0, 7, "one two\nthree\n"},
             {"one two three", 2, 9, "  one two\n  three\n"},
             {"unbreakableword x", 4, 8, "    unbreakableword\n    x\n"},
             {"", 6, 79, ""},
         }}) {
        EXPECT_EQ(wrapText(row.text, row.indent, row.width), row.wrapped) << row.text;
    }
}

TEST(HelpText, TablesShowNamesAboveTheirDescriptions) {
    const std::array<OptionText, 2> rows{{kHelpOption, {"2", "A wrong command line."}}};
    EXPECT_EQ(helpTable(rows), "  -h, --help\n      Show this help and exit.\n"
                               "  2\n      A wrong command line.\n");
    EXPECT_EQ(helpHeading().substr(0, helpHeading().find('\n', 24)),
              "Usage: lumora [options]\n" + versionText() + ": " + kCommandSummary + ".");
}

} // namespace
} // namespace lumora
