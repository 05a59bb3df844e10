// The decision table of ApplyWallpaperForDay: outcome, wallpaper, style, colour, and message, row
// by row, with the exact texts.
#include "core/fakes/engine_rig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora {
namespace {

namespace fs = std::filesystem;
using fakes::DesktopCall;

// What the day's registry value holds.
enum class Picture {
    None,       // no value at all
    EmptyValue, // a value holding the empty string
    File,       // a prepared copy of 100 bytes
    EmptyFile,  // a prepared copy of 0 bytes
    Missing,    // a path whose file is gone
    Spaced,     // the path of a prepared copy with spaces around it
    ErrorNamed, // a real file whose (relative) path begins with "Error"
    StoreFails, // the settings store fails, so the read gives "Error: 13"
};

// Placeholders for paths only known at run time.
const std::string kPic = "<picture>";
const std::string kRaw = "<raw value>";
const std::string kDefault = "<default>";

DesktopCall wp(const std::string& path, int style) {
    return DesktopCall::wallpaper(path, style);
}
DesktopCall colour(std::uint32_t rgb) {
    return DesktopCall::color(rgb);
}

const std::string kOutcome1 =
    "Your Monday's selected picture has been used matching your settings.";
const std::string kOutcome2 =
    "There is no picture selected for Monday.\n\rThe default Lumora wallpaper has been used.";
const std::string kOutcome3 =
    "There is no picture selected for Monday.\n\rNo wallpaper has been used.";
const std::string kOutcome4 =
    "The default Lumora wallpaper has been used\n\rmatching your settings";
const std::string kOutcome5 = "No wallpaper has been used\n\rmatching your settings";
const std::string kDayChange = "Your wallpaper has been set for Monday";

struct ApplyRow {
    const char* name;
    float directWall;
    float selectWall;
    Picture picture;
    float style; // DayStyle of Monday
    bool dispMess;
    bool dayChanging;
    std::string backColor;
    std::vector<DesktopCall> calls;
    std::vector<std::string> messages;
    bool failWallpaper = false;
    bool failColor = false;
};

void PrintTo(const ApplyRow& row, std::ostream* os) {
    *os << row.name;
}

const std::vector<ApplyRow> kRows = {
    // Mode 1, the day has a picture: the day's style, colour untouched.
    {"PictureStretch", 1, 2, Picture::File, 1, true, false, "", {wp(kPic, 2)}, {kOutcome1}},
    {"PictureCenter", 1, 2, Picture::File, 2, true, false, "", {wp(kPic, 0)}, {kOutcome1}},
    {"PictureTile", 1, 2, Picture::File, 3, true, false, "", {wp(kPic, 1)}, {kOutcome1}},
    {"PictureFit", 1, 2, Picture::File, 4, true, false, "", {wp(kPic, 3)}, {kOutcome1}},
    {"PictureStyle0NoCall", 1, 2, Picture::File, 0, true, false, "", {}, {kOutcome1}},
    {"PictureStyle5NoCall", 1, 2, Picture::File, 5, true, false, "", {}, {kOutcome1}},
    {"PictureStyleFractionNoCall", 1, 2, Picture::File, 1.5f, true, false, "", {}, {kOutcome1}},
    {"PictureQuiet", 1, 2, Picture::File, 1, false, false, "", {wp(kPic, 2)}, {}},
    {"PictureColourNotUsed",
     1,
     3,
     Picture::File,
     1,
     true,
     false,
     "255",
     {wp(kPic, 2)},
     {kOutcome1}},
    {"PictureFileMissingAtStart",
     1,
     2,
     Picture::Missing,
     1,
     true,
     false,
     "",
     {wp(kPic, 2)},
     {kOutcome1}},
    {"PictureWallpaperFailsAtStart",
     1,
     2,
     Picture::File,
     1,
     true,
     false,
     "",
     {wp(kPic, 2)},
     {kOutcome1},
     true},
    {"ErrorPathAtStart", 1, 2, Picture::ErrorNamed, 1, true, false, "", {wp(kPic, 2)}, {kOutcome1}},
    // Mode 1 at the change of day: the day-change report, only for a real, non-empty file.
    {"DayChange", 1, 2, Picture::File, 1, true, true, "", {wp(kPic, 2)}, {kDayChange}},
    {"DayChangeQuiet", 1, 2, Picture::File, 1, false, true, "", {wp(kPic, 2)}, {}},
    {"DayChangeEmptyFile", 1, 2, Picture::EmptyFile, 1, true, true, "", {wp(kPic, 2)}, {}},
    {"DayChangeMissingFile", 1, 2, Picture::Missing, 1, true, true, "", {wp(kPic, 2)}, {}},
    {"DayChangeErrorPath", 1, 2, Picture::ErrorNamed, 1, true, true, "", {wp(kPic, 2)}, {}},
    {"DayChangeStoreFails", 1, 2, Picture::StoreFails, 3, true, true, "", {wp("Error: 13", 1)}, {}},
    {"DayChangeSpacesTrimmed",
     1,
     2,
     Picture::Spaced,
     2,
     true,
     true,
     "",
     {wp(kRaw, 0)},
     {kDayChange}},
    {"DayChangeWallpaperFails", 1, 2, Picture::File, 1, true, true, "", {wp(kPic, 2)}, {}, true},
    {"DayChangeStyle0", 1, 2, Picture::File, 0, true, true, "", {}, {kDayChange}},
    // Mode 1, no picture, SelectWall 2: white around the centred default picture.
    {"NoPictureDefault",
     1,
     2,
     Picture::None,
     1,
     true,
     false,
     "255",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome2}},
    {"EmptyValueDefault",
     1,
     2,
     Picture::EmptyValue,
     3,
     true,
     false,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome2}},
    {"NoPictureDefaultQuiet",
     1,
     2,
     Picture::None,
     1,
     false,
     false,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {}},
    {"NoPictureDefaultDayChange",
     1,
     2,
     Picture::None,
     1,
     true,
     true,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome2}},
    {"NoPictureDefaultStyle0",
     1,
     2,
     Picture::None,
     0,
     true,
     false,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome2}},
    {"NoPictureDefaultColourFails",
     1,
     2,
     Picture::None,
     1,
     true,
     false,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome2},
     false,
     true},
    // Mode 1, no picture, SelectWall 3: no wallpaper, the stored colour when it is a number.
    {"NoPictureNoWallpaper",
     1,
     3,
     Picture::None,
     1,
     true,
     false,
     "255",
     {colour(255), wp("", 2)},
     {kOutcome3}},
    {"NoPictureNoWallpaperCenter",
     1,
     3,
     Picture::EmptyValue,
     2,
     true,
     false,
     "65280",
     {colour(65280), wp("", 0)},
     {kOutcome3}},
    {"NoPictureNoWallpaperNoColour",
     1,
     3,
     Picture::None,
     1,
     true,
     false,
     "",
     {wp("", 2)},
     {kOutcome3}},
    {"NoPictureNoWallpaperColourNotNumber",
     1,
     3,
     Picture::None,
     1,
     true,
     false,
     "blue",
     {wp("", 2)},
     {kOutcome3}},
    {"NoPictureNoWallpaperStyle0",
     1,
     3,
     Picture::None,
     0,
     true,
     false,
     "255",
     {colour(255)},
     {kOutcome3}},
    {"NoPictureNoWallpaperQuiet",
     1,
     3,
     Picture::None,
     1,
     false,
     false,
     "255",
     {colour(255), wp("", 2)},
     {}},
    {"NoPictureNoWallpaperDayChange",
     1,
     3,
     Picture::None,
     4,
     true,
     true,
     "255",
     {colour(255), wp("", 3)},
     {kOutcome3}},
    // Mode 1, no picture, a SelectWall the window never writes: outcome 1 with an empty path.
    {"NoPictureOtherSelectWall",
     1,
     0,
     Picture::None,
     1,
     true,
     false,
     "255",
     {wp("", 2)},
     {kOutcome1}},
    {"NoPictureOtherSelectWallDayChange", 1, 0, Picture::None, 1, true, true, "", {wp("", 2)}, {}},
    // Mode 2: the default picture, centred on white, whatever the day has.
    {"DefaultModeWithPicture",
     2,
     3,
     Picture::File,
     3,
     true,
     false,
     "255",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome4}},
    {"DefaultModeWithoutPicture",
     2,
     2,
     Picture::None,
     1,
     true,
     false,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome4}},
    {"DefaultModeQuiet",
     2,
     2,
     Picture::File,
     1,
     false,
     false,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {}},
    {"DefaultModeDayChange",
     2,
     2,
     Picture::File,
     1,
     true,
     true,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome4}},
    {"DefaultModeStyle0",
     2,
     2,
     Picture::File,
     0,
     true,
     false,
     "",
     {colour(0xFFFFFF), wp(kDefault, 0)},
     {kOutcome4}},
    // Mode 3: no wallpaper (stretch), the stored colour when it is a number.
    {"NoWallpaperModeWithPicture",
     3,
     2,
     Picture::File,
     2,
     true,
     false,
     "16711680",
     {colour(16711680), wp("", 2)},
     {kOutcome5}},
    {"NoWallpaperModeWithoutPicture",
     3,
     2,
     Picture::None,
     1,
     true,
     false,
     "255",
     {colour(255), wp("", 2)},
     {kOutcome5}},
    {"NoWallpaperModeNoColour", 3, 3, Picture::File, 1, true, false, "", {wp("", 2)}, {kOutcome5}},
    {"NoWallpaperModeQuiet",
     3,
     2,
     Picture::File,
     1,
     false,
     false,
     "255",
     {colour(255), wp("", 2)},
     {}},
    {"NoWallpaperModeDayChange",
     3,
     2,
     Picture::File,
     1,
     true,
     true,
     "0",
     {colour(0), wp("", 2)},
     {kOutcome5}},
    // A desktop mode the window never writes: no wallpaper call, the outcome 1 report.
    {"UnknownModeAtStart", 0, 2, Picture::File, 1, true, false, "255", {}, {kOutcome1}},
    {"UnknownModeDayChange", 4, 2, Picture::File, 1, true, true, "255", {}, {kDayChange}},
};

class ApplyWallpaperTable : public ::testing::TestWithParam<ApplyRow> {
protected:
    void SetUp() override { m_cwd = fs::current_path(); }
    void TearDown() override { fs::current_path(m_cwd); }

    // Stores Monday's value for the row; returns {the value as stored, the trimmed path}.
    std::pair<std::string, std::string> prepare(fakes::EngineRig& rig, Picture picture) {
        fs::create_directories(rig.folder());
        const std::string copy = (rig.folder() / "Monday.jpg").string();
        switch (picture) {
        case Picture::None:
            return {"", ""};
        case Picture::EmptyValue:
            rig.setDayValue(2, "");
            return {"", ""};
        case Picture::File:
            fakes::writeBytes(copy, fakes::patternBytes(100));
            rig.setDayValue(2, copy);
            return {copy, copy};
        case Picture::EmptyFile:
            fakes::writeBytes(copy, {});
            rig.setDayValue(2, copy);
            return {copy, copy};
        case Picture::Missing:
            rig.setDayValue(2, copy);
            return {copy, copy};
        case Picture::Spaced:
            fakes::writeBytes(copy, fakes::patternBytes(100));
            rig.setDayValue(2, "  " + copy + "   ");
            return {"  " + copy + "   ", copy};
        case Picture::ErrorNamed:
            fs::current_path(rig.scratch());
            fakes::writeBytes("Error-pic.jpg", fakes::patternBytes(100));
            rig.setDayValue(2, "Error-pic.jpg");
            return {"Error-pic.jpg", "Error-pic.jpg"};
        case Picture::StoreFails:
            fakes::writeBytes(copy, fakes::patternBytes(100));
            rig.setDayValue(2, copy);
            rig.store.setFailure(13);
            return {"Error: 13", "Error: 13"};
        }
        return {"", ""};
    }

private:
    fs::path m_cwd;
};

TEST_P(ApplyWallpaperTable, DecidesSetsAndReports) {
    const ApplyRow& row = GetParam();
    fakes::EngineRig rig;
    rig.state.DirectWall = row.directWall;
    rig.state.SelectWall = row.selectWall;
    rig.state.DayStyle[2] = row.style;
    rig.state.AppliedStyle[2] = 9;
    rig.state.DispMess = row.dispMess;
    rig.state.DayChanging = row.dayChanging;
    rig.state.BackColor = row.backColor;
    rig.desktop.failWallpaper = row.failWallpaper;
    rig.desktop.failColor = row.failColor;
    auto [raw, path] = prepare(rig, row.picture);

    rig.engine.ApplyWallpaperForDay(2);
    rig.store.setFailure(std::nullopt);

    std::vector<DesktopCall> expected;
    for (DesktopCall call : row.calls) {
        if (call.path == kPic) {
            call.path = path;
        } else if (call.path == kRaw) {
            call.path = raw;
        } else if (call.path == kDefault) {
            call.path = (rig.folder() / "Default.bmp").string();
        }
        expected.push_back(call);
    }
    EXPECT_EQ(rig.desktop.calls, expected);
    EXPECT_EQ(rig.messages.texts, row.messages);
    EXPECT_EQ(rig.state.AppliedStyle[2], row.style);
    // Nothing else of the state changes.
    EXPECT_EQ(rig.state.BackColor, row.backColor);
    EXPECT_EQ(rig.state.DayChanging, row.dayChanging);
}

INSTANTIATE_TEST_SUITE_P(Rows, ApplyWallpaperTable, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

// Each day reads its own value and is named in its own texts.
class ApplyWallpaperDays : public ::testing::TestWithParam<int> {};

TEST_P(ApplyWallpaperDays, UsesTheDaysOwnValueNameAndStyle) {
    const int d = GetParam();
    fakes::EngineRig rig;
    fs::create_directories(rig.folder());
    for (int w = 1; w <= 7; ++w) {
        const std::string copy = (rig.folder() / (rig.state.dayName(w) + ".png")).string();
        fakes::writeBytes(copy, fakes::patternBytes(10));
        rig.setDayValue(w, copy);
        rig.state.DayStyle[static_cast<std::size_t>(w)] = static_cast<float>(1 + (w % 3));
    }
    const std::string day = kDayNames[static_cast<std::size_t>(d - 1)];
    const int expectedStyle = std::vector<int>{2, 0, 1}[static_cast<std::size_t>(d % 3)];

    rig.engine.ApplyWallpaperForDay(d);
    rig.state.DayChanging = true;
    rig.engine.ApplyWallpaperForDay(d);
    rig.state.DayChanging = false;
    rig.setDayValue(d, "");
    rig.engine.ApplyWallpaperForDay(d);

    const std::string copy = (rig.folder() / (day + ".png")).string();
    const std::string def = (rig.folder() / "Default.bmp").string();
    EXPECT_EQ(rig.desktop.calls,
              (std::vector<DesktopCall>{wp(copy, expectedStyle), wp(copy, expectedStyle),
                                        colour(0xFFFFFF), wp(def, 0)}));
    EXPECT_EQ(rig.messages.texts,
              (std::vector<std::string>{
                  "Your " + day + "'s selected picture has been used matching your settings.",
                  "Your wallpaper has been set for " + day,
                  "There is no picture selected for " + day +
                      ".\n\rThe default Lumora wallpaper has been used."}));
    for (int w = 1; w <= 7; ++w) {
        EXPECT_EQ(rig.state.AppliedStyle[static_cast<std::size_t>(w)],
                  w == d ? rig.state.DayStyle[static_cast<std::size_t>(w)] : 0.0f)
            << "day " << w;
    }
}

INSTANTIATE_TEST_SUITE_P(Week, ApplyWallpaperDays, ::testing::Range(1, 8));

TEST(ApplyWallpaper, DayOutsideTheWeekDoesNothing) {
    for (int d : {0, 8, -1}) {
        fakes::EngineRig rig;
        rig.setDayValue(2, "/x");
        rig.engine.ApplyWallpaperForDay(d);
        EXPECT_TRUE(rig.desktop.calls.empty()) << d;
        EXPECT_TRUE(rig.messages.texts.empty()) << d;
    }
}

TEST(ApplyWallpaper, FailingMessageSinkNeverReachesTheCaller) {
    struct ThrowingSink : MessageSink {
        void showMessage(const std::string&) override { throw std::runtime_error("tray gone"); }
    } sink;
    fakes::EngineRig rig;
    WallpaperEngine engine(rig.state,
                           EngineServices{rig.registry, rig.options, rig.desktop, sink, rig.events,
                                          rig.program, rig.resources, rig.dialogs});
    EXPECT_NO_THROW(engine.ApplyWallpaperForDay(3));
    EXPECT_EQ(rig.desktop.calls.size(), 2u);
}

TEST(ApplyWallpaper, SetDesktopWallpaperPassesPathAndStyleAndSwallowsFailures) {
    fakes::EngineRig rig;
    rig.engine.SetDesktopWallpaper("/p/a b#%.jpg", 3);
    rig.desktop.failWallpaper = true;
    EXPECT_NO_THROW(rig.engine.SetDesktopWallpaper("", 1));
    EXPECT_EQ(rig.desktop.calls, (std::vector<DesktopCall>{wp("/p/a b#%.jpg", 3), wp("", 1)}));
}

} // namespace
} // namespace lumora
