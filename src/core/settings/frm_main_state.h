#pragma once
// The in-memory state of the main window object `FrmMain`, owned by it for the life of the
// process. Slot ranges are those of the original tables; unused slots exist and stay unused.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/text/translation.h"

namespace lumora {

inline constexpr std::array<const char*, 7> kDayNames = {
    LUMORA_TR("Lumora", "Sunday"),   LUMORA_TR("Lumora", "Monday"),
    LUMORA_TR("Lumora", "Tuesday"),  LUMORA_TR("Lumora", "Wednesday"),
    LUMORA_TR("Lumora", "Thursday"), LUMORA_TR("Lumora", "Friday"),
    LUMORA_TR("Lumora", "Saturday")};

// What is stored: the option settings as last read or applied.
struct StoredSettings {
    std::array<float, 9> DayStyle{}; // 0..8, used 1..7 (WeekdayNumber)
    float SelectWall = 0;
    float DirectWall = 0;
    bool DispMess = false;
    bool ShowSplsh = false;
    bool AutoRun = false;
    std::string BackColor;   // decimal text of 0x00BBGGRR; empty = never chosen
    std::string DefaultPath; // path of the default picture file
};

// What the settings window is editing and has not applied yet.
struct EditState {
    std::array<float, 9> PendingStyle{}; // 0..8, used 1..7; 0 = none
    float EditSelectWall = 0;
    float EditDirectWall = 0;
    bool Modified = false;
};

// What runs: the name tables and the day-change bookkeeping.
struct RunState {
    std::array<std::string, 7> DayNames{};  // 0..6 (DayIndex)
    std::array<std::string, 5> ModeNames{}; // 0..4, used 1..3
    std::array<float, 8> AppliedStyle{};    // 0..7, used 1..7
    std::int16_t LastDay = 0;
    bool DayChanging = false;
    bool FirstOpen = true;

    // DayNames(weekday - 1), with a guard for out-of-range days.
    const std::string& dayName(int weekdayNumber) const;
};

// The whole state, owned by FrmMain; each routine keeps the names it has always used.
struct FrmMainState : StoredSettings, EditState, RunState {};

// One style number serves the stored settings, the labels and the engine.
struct StyleInfo {
    const char* caption; // label caption
    const char* toolTip; // label tool tip
    int desktopStyle;    // style value passed to the desktop
};
// 1 stretch, 2 center, 3 tile (with label texts), 4 fit (no label texts); nothing otherwise.
std::optional<StyleInfo> styleInfo(float style);
// The desktop style value for a stored style: 1 -> 2, 2 -> 0, 3 -> 1, 4 -> 3.
std::optional<int> desktopStyleFor(float style);

} // namespace lumora
