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

// The file check: every day whose file cannot be opened is removed in one pass, with one
// re-apply of today's wallpaper; days whose files are there stay.
TEST(FileCheck, RemovesEveryMissingDayThenAppliesOnce) {
    EngineRig files;
    FrmMainRig rig;
    rig.started();
    const fs::path kept = files.scratch() / "Monday.jpg";
    writeBytes(kept, patternBytes(100));
    rig.setDayValue(2, kept.string());
    rig.setDayValue(3, (files.scratch() / "gone.jpg").string());
    rig.setDayValue(5, "Error: 13");
    rig.setDayValue(6, files.scratch().string()); // a folder is no picture
    rig.logic.dayWatch.start();
    EXPECT_EQ(rig.days.watched,
              (std::vector<std::string>{kept.string(), (files.scratch() / "gone.jpg").string(),
                                        files.scratch().string()}));
    rig.log.clear();
    rig.days.fileCheck();
    EXPECT_EQ(rig.only("engine."), CallLog{"engine.ApplyWallpaperForDay(4)"});
    EXPECT_EQ(rig.dayValue(2), kept.string());
    for (int w : {3, 5, 6}) {
        EXPECT_EQ(rig.dayValue(w), "") << w;
    }
    EXPECT_EQ(rig.days.watched, std::vector<std::string>{kept.string()});
    // Nothing missing: nothing happens.
    rig.log.clear();
    rig.days.fileCheck();
    EXPECT_EQ(rig.only("engine.|window."), CallLog{});
}

} // namespace
