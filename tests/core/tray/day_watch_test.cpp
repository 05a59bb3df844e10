// The day watch: a change of day seen when the source calls in, and day files that went missing.
#include "core/fakes/fakes.h"

using namespace lumora;
using namespace lumora::fakes;

namespace {

// Start on `from`; the source calls in with the clock on `now`.
struct DayRow {
    const char* name;
    int from;
    int now;
    CallLog applies; // "<day>/<DayChanging during the call>"
};

class DayChange : public ::testing::TestWithParam<DayRow> {};

TEST_P(DayChange, AppliesTheNewDayOnce) {
    const DayRow& row = GetParam();
    FrmMainRig rig;
    rig.clock.weekdays = {row.from};
    rig.started();
    rig.logic.dayWatch.start();
    CallLog applies;
    rig.engine.onApply = [&](int d) {
        applies.push_back(std::to_string(d) + "/" + b(rig.state.DayChanging));
        rig.editor.Timer2_Timer(); // a blink tick while the wallpaper is drawn
    };
    rig.clock.weekdays = {row.now};
    rig.days.dayCheck();
    rig.days.dayCheck(); // a second call for the same change does nothing more
    EXPECT_EQ(applies, row.applies);
    EXPECT_EQ(rig.state.LastDay, row.now);
    EXPECT_FALSE(rig.state.DayChanging);
    if (row.applies.empty()) {
        return;
    }
    // The new day is marked and its name shown, whatever the blink had left.
    EXPECT_TRUE(rig.window.view.label1[static_cast<std::size_t>(row.now)].bold);
    EXPECT_EQ(rig.label1(row.now), kDayNames[static_cast<std::size_t>(row.now - 1)]);
}

const DayRow kDayRows[] = {
    {"SaturdayToSunday", 7, 1, {"1/true"}},
    {"ClockSetBackTuesdayToMonday", 3, 2, {"2/true"}},
    {"ResumeOnANewDay", 4, 6, {"6/true"}},
    {"ResumeOnTheSameDay", 4, 4, {}},
};

INSTANTIATE_TEST_SUITE_P(Rows, DayChange, ::testing::ValuesIn(kDayRows), byName);

// Start-up saw Saturday, and its drawing let midnight pass before the watch started: the start
// of the watch is that change of day.
TEST(DayChangeAtStart, MidnightDuringStartUpIsSeenWhenTheWatchStarts) {
    FrmMainRig rig;
    rig.clock.weekdays = {7};
    rig.started();
    rig.clock.weekdays = {1};
    rig.log.clear();
    rig.logic.dayWatch.start();
    EXPECT_EQ(rig.only("engine."), CallLog{"engine.ApplyWallpaperForDay(1)"});
    EXPECT_EQ(rig.state.LastDay, 1);
}

// After Exit the watch is stopped, and whatever still calls in (a check under way, a late event)
// changes nothing: no wallpaper, no stored value.
TEST(DayWatchAfterExit, NothingActsAnyMore) {
    EngineRig files;
    FrmMainRig rig;
    rig.started();
    rig.logic.dayWatch.start();
    rig.logic.tray.mnuexit_Click();
    EXPECT_TRUE(rig.days.stopped);
    const std::string gone = (files.scratch() / "gone.jpg").string();
    rig.setDayValue(4, gone);
    rig.clock.weekdays = {5};
    rig.log.clear();
    rig.days.dayCheck();
    rig.days.fileCheck();
    rig.days.eveCheck();
    EXPECT_EQ(rig.only("engine.|desktop."), CallLog{});
    EXPECT_EQ(rig.dayValue(4), gone);
}

// The file check, once at the start and then whenever the source calls in: every day whose file
// cannot be opened is removed in one pass, with one re-apply of today's wallpaper; days whose
// files are there stay.
TEST(FileCheck, RemovesEveryMissingDayThenAppliesOnce) {
    EngineRig files;
    FrmMainRig rig;
    rig.started();
    const fs::path kept = files.scratch() / "Monday.jpg";
    writeBytes(kept, patternBytes(100));
    rig.setDayValue(2, utf8FromPath(kept));
    rig.setDayValue(1, utf8FromPath(files.scratch() / "gone before the start.jpg"));
    rig.logic.dayWatch.start();
    EXPECT_EQ(rig.only("engine."), CallLog{"engine.ApplyWallpaperForDay(4)"});
    EXPECT_EQ(rig.dayValue(1), "");
    rig.setDayValue(4, utf8FromPath(files.scratch() / "gone.jpg")); // today's: its removal applies
    rig.setDayValue(5, "Error: 13");
    rig.setDayValue(6, utf8FromPath(files.scratch()));       // a folder is no picture
    rig.engine.onApply = [&](int) { rig.days.fileCheck(); }; // a file event while it is drawn
    rig.log.clear();
    rig.days.fileCheck();
    EXPECT_EQ(rig.only("engine."), CallLog(2, "engine.ApplyWallpaperForDay(4)"));
    EXPECT_EQ(rig.dayValue(2), utf8FromPath(kept));
    for (int w : {4, 5, 6}) {
        EXPECT_EQ(rig.dayValue(w), "") << w;
    }
    EXPECT_EQ(rig.days.watched, std::vector<std::string>{utf8FromPath(kept)});
    // Nothing missing: nothing happens.
    rig.log.clear();
    rig.days.fileCheck();
    EXPECT_EQ(rig.only("engine.|window."), CallLog{});
}

// The eve: the next day's own picture is prepared in its style; nothing when the next day has no
// picture of its own, or the default picture or no picture is what is shown.
struct EveRow {
    const char* name;
    int today;
    float directWall;
    std::string picture; // the next day's value
    float style;         // the next day's style
    std::vector<std::string> calls;
};
class Eve : public ::testing::TestWithParam<EveRow> {};
TEST_P(Eve, PreparesTheNextDaysOwnPicture) {
    const EveRow& row = GetParam();
    FrmMainRig rig;
    rig.clock.weekdays = {row.today};
    rig.started();
    rig.logic.dayWatch.start();
    const int next = row.today % 7 + 1;
    rig.setDayValue(next, row.picture);
    rig.state.DayStyle.at(static_cast<std::size_t>(next)) = row.style;
    rig.state.DirectWall = row.directWall;
    rig.desktop.calls.clear();
    rig.days.eveCheck();
    EXPECT_EQ(rig.desktop.calls, row.calls);
}
const EveRow kEveRows[] = {
    {"SaturdayPreparesSunday", 7, 1.0f, "/p/sun.jpg", 1.0f, {"prepare(/p/sun.jpg, 2)"}},
    {"MondayPreparesTuesdayCentred", 2, 1.0f, "/p/tue.jpg", 2.0f, {"prepare(/p/tue.jpg, 0)"}},
    {"NoPictureNextDay", 2, 1.0f, "", 3.0f, {}},
    {"UnreadableValue", 2, 1.0f, "Error: 5", 3.0f, {}},
    {"StyleThatLeavesTheDesktop", 2, 1.0f, "/p/tue.jpg", 9.0f, {}},
    {"DefaultPictureShown", 2, 2.0f, "/p/tue.jpg", 3.0f, {}},
};
INSTANTIATE_TEST_SUITE_P(Rows, Eve, ::testing::ValuesIn(kEveRows), byName);

} // namespace
