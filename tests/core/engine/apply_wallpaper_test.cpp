// The decision table of ApplyWallpaperForDay: outcome, wallpaper, style, colour, and message, row
// by row, with the exact texts.
#include "core/fakes/fakes.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

// What the day's registry value holds.
enum Pic {
    None,       // no value at all
    EmptyValue, // a value holding the empty string
    File,       // a prepared copy of 100 bytes
    EmptyFile,  // a prepared copy of 0 bytes
    Missing,    // a path whose file is gone
    Spaced,     // the path of a prepared copy with spaces around it
    ErrorNamed, // a real file whose (relative) path begins with "Error"
    StoreFails, // the settings store fails, so the read gives "Error: 13"
};

// When the run happens: at start-up or at the change of day, with messages on or off.
enum When { Start, Quiet, Change, QuietChange };
enum Fail { NoFail, FailWallpaper, FailColor, FailMessage };

// The report texts: 1..5 the outcomes, 6 the day change, 0 none.
std::string report(int code, const std::string& day) {
    const std::string lines[] = {
        "",
        "Your " + day + "'s selected picture has been used matching your settings.",
        "There is no picture selected for " + day +
            ".\n\rThe default Lumora wallpaper has been used.",
        "There is no picture selected for " + day + ".\n\rNo wallpaper has been used.",
        "The default Lumora wallpaper has been used\n\rmatching your settings",
        "No wallpaper has been used\n\rmatching your settings",
        "Your wallpaper has been set for " + day};
    return lines[code];
}

// Desktop calls, with <pic> for the prepared copy's path and <default> for Default.bmp.
const char* const kWhiteDefault = "color(16777215) wallpaper(<default>, 0)";

struct Row {
    const char* name;
    float direct, select;
    Pic pic;
    float style; // DayStyle of Monday
    When when;
    const char* back; // BackColor
    const char* calls;
    int report;
    Fail fail = NoFail;
};

// clang-format off
const Row kRows[] = {
    // Mode 1, the day has a picture: the day's style, colour untouched.
    {"PictureStretch", 1, 2, File, 1, Start, "", "wallpaper(<pic>, 2)", 1},
    {"PictureFit", 1, 2, File, 4, Start, "", "wallpaper(<pic>, 3)", 1},
    {"PictureStyle0NoCall", 1, 2, File, 0, Start, "", "", 1},
    {"PictureStyle5NoCall", 1, 2, File, 5, Start, "", "", 1},
    {"PictureStyleFractionNoCall", 1, 2, File, 1.5f, Start, "", "", 1},
    {"PictureQuiet", 1, 2, File, 1, Quiet, "", "wallpaper(<pic>, 2)", 0},
    {"PictureColourNotUsed", 1, 3, File, 1, Start, "255", "wallpaper(<pic>, 2)", 1},
    {"PictureFileMissingAtStart", 1, 2, Missing, 1, Start, "", "wallpaper(<pic>, 2)", 1},
    {"PictureWallpaperFailsAtStart", 1, 2, File, 1, Start, "", "wallpaper(<pic>, 2)", 0, FailWallpaper},
    // A value beginning with "Error" is a failed read, never a picture: no call, no report.
    {"ErrorPathAtStart", 1, 2, ErrorNamed, 1, Start, "", "", 0},
    {"StoreFailsAtStart", 1, 2, StoreFails, 1, Start, "", "", 0},
    // Mode 1 at the change of day: the day-change report, only for a real, non-empty file.
    {"DayChange", 1, 2, File, 1, Change, "", "wallpaper(<pic>, 2)", 6},
    {"DayChangeQuiet", 1, 2, File, 1, QuietChange, "", "wallpaper(<pic>, 2)", 0},
    {"DayChangeEmptyFile", 1, 2, EmptyFile, 1, Change, "", "wallpaper(<pic>, 2)", 0},
    {"DayChangeMissingFile", 1, 2, Missing, 1, Change, "", "wallpaper(<pic>, 2)", 0},
    {"DayChangeErrorPath", 1, 2, ErrorNamed, 1, Change, "", "", 0},
    {"DayChangeStoreFails", 1, 2, StoreFails, 3, Change, "", "", 0},
    {"DayChangeSpacesTrimmed", 1, 2, Spaced, 2, Change, "", "wallpaper(  <pic>   , 0)", 6},
    {"DayChangeWallpaperFails", 1, 2, File, 1, Change, "", "wallpaper(<pic>, 2)", 0, FailWallpaper},
    {"DayChangeStyle0", 1, 2, File, 0, Change, "", "", 6},
    // Mode 1, no picture, SelectWall 2: white around the centred default picture.
    {"NoPictureDefault", 1, 2, None, 1, Start, "255", kWhiteDefault, 2},
    {"EmptyValueDefault", 1, 2, EmptyValue, 3, Start, "", kWhiteDefault, 2},
    {"NoPictureDefaultQuiet", 1, 2, None, 1, Quiet, "", kWhiteDefault, 0},
    {"NoPictureDefaultDayChange", 1, 2, None, 1, Change, "", kWhiteDefault, 2},
    {"NoPictureDefaultStyle0", 1, 2, None, 0, Start, "", kWhiteDefault, 2},
    {"NoPictureDefaultMessageFails", 1, 2, None, 1, Start, "", kWhiteDefault, 2, FailMessage},
    {"NoPictureDefaultColourFails", 1, 2, None, 1, Start, "", kWhiteDefault, 2, FailColor},
    // Mode 1, no picture, SelectWall 3: no wallpaper, the stored colour when it is a number.
    {"NoPictureNoWallpaper", 1, 3, None, 1, Start, "255", "color(255) wallpaper(, 2)", 3},
    {"NoPictureNoWallpaperCenter", 1, 3, EmptyValue, 2, Start, "65280", "color(65280) wallpaper(, 0)", 3},
    {"NoPictureNoWallpaperNoColour", 1, 3, None, 1, Start, "", "wallpaper(, 2)", 3},
    {"NoPictureNoWallpaperColourNotNumber", 1, 3, None, 1, Start, "blue", "wallpaper(, 2)", 3},
    {"NoPictureNoWallpaperStyle0", 1, 3, None, 0, Start, "255", "color(255)", 3},
    {"NoPictureNoWallpaperQuiet", 1, 3, None, 1, Quiet, "255", "color(255) wallpaper(, 2)", 0},
    {"NoPictureNoWallpaperDayChange", 1, 3, None, 4, Change, "255", "color(255) wallpaper(, 3)", 3},
    // Mode 1, no picture, a SelectWall the window never writes: outcome 1 with an empty path.
    {"NoPictureOtherSelectWall", 1, 0, None, 1, Start, "255", "wallpaper(, 2)", 1},
    {"NoPictureOtherSelectWallDayChange", 1, 0, None, 1, Change, "", "wallpaper(, 2)", 0},
    // Mode 2: the default picture, centred on white, whatever the day has.
    {"DefaultModeWithPicture", 2, 3, File, 3, Start, "255", kWhiteDefault, 4},
    {"DefaultModeWithoutPicture", 2, 2, None, 1, Start, "", kWhiteDefault, 4},
    {"DefaultModeQuiet", 2, 2, File, 1, Quiet, "", kWhiteDefault, 0},
    {"DefaultModeDayChange", 2, 2, File, 1, Change, "", kWhiteDefault, 4},
    {"DefaultModeStyle0", 2, 2, File, 0, Start, "", kWhiteDefault, 4},
    // Mode 3: no wallpaper (stretch), the stored colour when it is a number.
    {"NoWallpaperModeWithPicture", 3, 2, File, 2, Start, "16711680", "color(16711680) wallpaper(, 2)", 5},
    {"NoWallpaperModeWithoutPicture", 3, 2, None, 1, Start, "255", "color(255) wallpaper(, 2)", 5},
    {"NoWallpaperModeNoColour", 3, 3, File, 1, Start, "", "wallpaper(, 2)", 5},
    {"NoWallpaperModeQuiet", 3, 2, File, 1, Quiet, "255", "color(255) wallpaper(, 2)", 0},
    {"NoWallpaperModeDayChange", 3, 2, File, 1, Change, "0", "color(0) wallpaper(, 2)", 5},
    // A desktop mode the window never writes: no wallpaper call, the outcome 1 report.
    {"UnknownModeAtStart", 0, 2, File, 1, Start, "255", "", 1},
    {"UnknownModeDayChange", 4, 2, File, 1, Change, "255", "", 6},
};
// clang-format on

// The calls joined by spaces, with the run's paths put back as placeholders.
std::string calls(const fakes::EngineRig& rig, const std::string& pic) {
    std::string out;
    for (std::string call : rig.desktop.calls) {
        for (auto [path, mark] :
             {std::pair{rig.engine.defaultPicturePath(), "<default>"}, std::pair{pic, "<pic>"}}) {
            if (auto at = call.find(path); at != std::string::npos) {
                call.replace(at, path.size(), mark);
            }
        }
        out += (out.empty() ? "" : " ") + call;
    }
    return out;
}

class ApplyWallpaperTable : public ::testing::TestWithParam<Row> {
protected:
    void TearDown() override { fs::current_path(m_cwd); }
    fs::path m_cwd = fs::current_path();
};

TEST_P(ApplyWallpaperTable, DecidesSetsAndReports) {
    const Row& row = GetParam();
    fakes::EngineRig rig;
    rig.state.DirectWall = row.direct;
    rig.state.SelectWall = row.select;
    rig.state.DayStyle[2] = row.style;
    rig.state.AppliedStyle[2] = 9;
    rig.state.DispMess = row.when == Start || row.when == Change;
    rig.state.DayChanging = row.when == Change || row.when == QuietChange;
    rig.state.BackColor = row.back;
    rig.desktop.failWallpaper = row.fail == FailWallpaper;
    rig.desktop.failColor = row.fail == FailColor;
    rig.messages.fail = row.fail == FailMessage;
    fs::create_directories(rig.folder());
    std::string copy = utf8FromPath(rig.folder() / "Monday.jpg");
    if (row.pic == File || row.pic == Spaced || row.pic == StoreFails) {
        fakes::writeBytes(copy, fakes::patternBytes(100));
    } else if (row.pic == EmptyFile) {
        fakes::writeBytes(copy, {});
    } else if (row.pic == ErrorNamed) {
        fs::current_path(rig.scratch());
        fakes::writeBytes("Error-pic.jpg", fakes::patternBytes(100));
        copy = "Error-pic.jpg";
    }
    if (row.pic != None) {
        rig.setDayValue(2, row.pic == EmptyValue ? ""
                           : row.pic == Spaced   ? "  " + copy + "   "
                                                 : copy);
    }
    if (row.pic == StoreFails) {
        rig.store.setFailure(13);
    }

    rig.engine.ApplyWallpaperForDay(2);

    EXPECT_EQ(calls(rig, copy), row.calls);
    EXPECT_EQ(rig.messages.texts,
              row.report ? std::vector{report(row.report, "Monday")} : std::vector<std::string>{});
    EXPECT_EQ(rig.state.AppliedStyle[2], row.style);
    // Nothing else of the state changes.
    EXPECT_EQ(rig.state.BackColor, row.back);
    EXPECT_EQ(rig.state.DayChanging, row.when == Change || row.when == QuietChange);
}

INSTANTIATE_TEST_SUITE_P(Rows, ApplyWallpaperTable, ::testing::ValuesIn(kRows), byName);

// Each day reads its own value and is named in its own texts.
class ApplyWallpaperDays : public ::testing::TestWithParam<int> {};

TEST_P(ApplyWallpaperDays, UsesTheDaysOwnValueNameAndStyle) {
    const int d = GetParam();
    fakes::EngineRig rig;
    fs::create_directories(rig.folder());
    for (int w = 1; w <= 7; ++w) {
        const std::string copy = utf8FromPath(rig.folder() / (rig.state.dayName(w) + ".png"));
        fakes::writeBytes(copy, fakes::patternBytes(10));
        rig.setDayValue(w, copy);
        rig.state.DayStyle[static_cast<std::size_t>(w)] = static_cast<float>(1 + (w % 3));
    }
    const std::string day = rig.state.dayName(d);
    const std::string pic = std::string("wallpaper(<pic>, ") + "201"[d % 3] + ")";

    rig.engine.ApplyWallpaperForDay(d);
    rig.state.DayChanging = true;
    rig.engine.ApplyWallpaperForDay(d);
    rig.state.DayChanging = false;
    rig.setDayValue(d, "");
    rig.engine.ApplyWallpaperForDay(d);

    EXPECT_EQ(calls(rig, utf8FromPath(rig.folder() / (day + ".png"))),
              pic + " " + pic + " " + kWhiteDefault);
    EXPECT_EQ(rig.messages.texts, (std::vector{report(1, day), report(6, day), report(2, day)}));
    for (std::size_t w = 1; w <= 7; ++w) {
        EXPECT_EQ(rig.state.AppliedStyle[w], int(w) == d ? rig.state.DayStyle[w] : 0.0f) << w;
    }
}

INSTANTIATE_TEST_SUITE_P(Week, ApplyWallpaperDays, ::testing::Range(1, 8));

TEST(ApplyWallpaper, DayOutsideTheWeekDoesNothing) {
    for (int d : {0, 8, -1}) {
        fakes::EngineRig rig;
        rig.setDayValue(2, "/x");
        rig.engine.ApplyWallpaperForDay(d);
        EXPECT_TRUE(rig.desktop.calls.empty() && rig.messages.texts.empty()) << d;
    }
}

// The result of the last run: the desktop's failure while it lasts, success once it passes.
TEST(ApplyWallpaperResult, TellsWhetherTheLastRunReachedTheDesktop) {
    fakes::EngineRig rig;
    rig.state.DirectWall = 2.0f; // the default picture, centred on white
    rig.desktop.failWallpaper = true;
    rig.engine.ApplyWallpaperForDay(2);
    EXPECT_FALSE(rig.engine.lastRun().ok);
    EXPECT_FALSE(rig.engine.lastRun().reason.empty());
    rig.desktop.failWallpaper = false;
    rig.engine.ApplyWallpaperForDay(2);
    EXPECT_TRUE(rig.engine.lastRun().ok);
    rig.engine.ApplyWallpaperForDay(8);
    EXPECT_FALSE(rig.engine.lastRun().ok);
}

} // namespace
} // namespace lumora
