#include "core/settings_window/settings_view.h"

namespace lumora {

namespace {
constexpr Colorref kDayBlue = Colorref::rgb(128, 128, 255);
constexpr Colorref kTodayRed = Colorref::rgb(192, 0, 0);
constexpr Colorref kRed = Colorref::rgb(255, 0, 0);
constexpr Colorref kGreen = Colorref::rgb(0, 255, 0);
constexpr Colorref kModeYellow = Colorref::rgb(192, 192, 0);
constexpr Colorref kInfoCyan = Colorref::rgb(0, 192, 192);
} // namespace

SettingsView buildSettingsView(const SettingsWindowModel& model) {
    SettingsView v;
    v.caption = model.caption;
    for (std::size_t i = 1; i <= 7; ++i) {
        const DayPanelState& day = model.days[i];
        const bool today = model.boldDay == static_cast<int>(i);
        v.label1[i] = {day.nameCaption, day.nameToolTip, today ? kTodayRed : kDayBlue, today};
        v.label2[i] = {"x", day.removeToolTip, kRed};
        v.label3[i] = {day.styleCaption, day.styleToolTip, kRed};
        v.image1[i] = {day.thumbnail, day.thumbnailToolTip};
    }
    v.label1[8] = {model.modeCaption, model.modeToolTip, kModeYellow};
    const bool messagesOff = model.messages.has_value() && !*model.messages;
    v.label1[9] = {messagesOff ? LUMORA_TR("Lumora", "Display Messages Disabled")
                               : LUMORA_TR("Lumora", "Display Messages Enabled"),
                   LUMORA_TR("Lumora", "Click here to modify messages status"),
                   model.messages.value_or(false) ? kGreen : kRed};
    v.label1[15] = {model.info[0], "", kInfoCyan};
    v.label1[10] = {model.info[1], "", kInfoCyan};
    v.label1[11] = {model.info[2], "", kInfoCyan};
    v.label1[12] = {model.noPictureCaption, LUMORA_TR("Lumora", "Action if no wallpaper available"),
                    kModeYellow};
    v.label1[13] = {LUMORA_TR("Lumora", "Lumora Info Display"), "", kDayBlue};
    v.label1[14] = {LUMORA_TR("Lumora", "Close Lumora"),
                    LUMORA_TR("Lumora", "Click here to close this window"), kRed};
    v.label1[16] = {model.applyCaption, LUMORA_TR("Lumora", "Click here to apply changes"), kRed,
                    false, model.applyShown};
    v.label1[17] = {LUMORA_TR("Lumora", "Cancel"),
                    LUMORA_TR("Lumora", "Click here to restore previous settings"), kRed, false,
                    model.applyShown};
    return v;
}

} // namespace lumora
