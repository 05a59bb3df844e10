// The about and help windows' texts, row by row, and translated as whole sentences.
#include "core/fakes/fakes.h"
#include "core/text/translation.h"
#include "core/text/window_texts.h"

#include <cstdint>
#include <string>

namespace lumora {
namespace {

const DateTime kWed{2027, 2, 3, 9, 5, 7, 4};
const DateTime kNewYearsEve{2026, 12, 31, 23, 59, 59, 5};

struct ClockRow {
    std::int16_t timShw;
    DateTime when;
    const char* expected;
};

TEST(WindowTexts, AboutClockByTimShw) {
    fakes::CallLog log;
    const fakes::FakeClock names(log);
    for (const ClockRow& row : {ClockRow{0, kWed, "Wednesday 03 February 2027 - 09:05:07"},
                                ClockRow{1, kWed, "Wednesday 03 February 2027 - 09:05"},
                                ClockRow{0, kNewYearsEve, "Thursday 31 December 2026 - 23:59:59"},
                                ClockRow{1, kNewYearsEve, "Thursday 31 December 2026 - 23:59"},
                                ClockRow{2, kWed, ""}, ClockRow{-1, kWed, ""}}) {
        EXPECT_EQ(aboutClockText(row.timShw, row.when, names), row.expected) << row.timShw;
    }
}

TEST(WindowTexts, VersionTipAndHelpCaption) {
    fakes::CallLog log;
    const fakes::FakeClock names(log);
    EXPECT_EQ(aboutVersionText(), "v2.2.4");
    EXPECT_EQ(aboutContactTip(), "E-mail: lumora@example.org");
    EXPECT_EQ(helpCaption(kWed, names), "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:07");
    EXPECT_EQ(helpCaption(kNewYearsEve, names),
              "Lumora Help - v2.2.4 - 31 December 2026 - 23:59:59");
}

std::string german(const std::string& english) {
    if (english == "Lumora Help - v%1") {
        return "Lumora-Hilfe - v%1";
    }
    if (english == "E-mail: %1") {
        return "E-Mail: %1";
    }
    return english;
}

TEST(WindowTexts, SentencesAreTranslatedWhole) {
    fakes::CallLog log;
    const fakes::FakeClock names(log);
    setTextTranslator(&german);
    const std::string caption = helpCaption(kWed, names);
    const std::string tip = aboutContactTip();
    setTextTranslator(nullptr);
    EXPECT_EQ(caption, "Lumora-Hilfe - v2.2.4 - 03 February 2027 - 09:05:07");
    EXPECT_EQ(tip, "E-Mail: lumora@example.org");
}

} // namespace
} // namespace lumora
