#pragma once
// What the settings window shows. The editor keeps the window's own state (the captions its
// routines set, the thumbnails it loaded, the information lines) in a SettingsWindowModel; a pure
// function turns that into a SettingsView, which the Qt window only renders. Control arrays keep
// their 1-based indices: label1[1..17], label2/label3/image1[1..7] (Sunday = 1).
#include "core/ports/pictures.h"
#include "core/settings/colorref.h"
#include "core/text/translation.h"

#include <array>
#include <optional>
#include <string>

namespace lumora {

// Per day: what the day panel holds besides its fixed look.
struct DayPanelState {
    std::string nameCaption; // Label1(i): the day's name, or empty while blinking
    std::string nameToolTip; // set at each activation
    std::string styleCaption =
        LUMORA_TR("Lumora", "T"); // Label3(i), as designed until a style is known
    std::string styleToolTip;     //
    enum class Thumbnail { Empty, Picture, NoPicture } thumbnail = Thumbnail::Empty;
    PixelSize pictureSize;        // own pixel size of what Image1(i) shows
    std::string pictureTip;       // PictureTips(i)
    std::string thumbnailToolTip; //
    std::string removeToolTip;    // Label2(i)
};

struct SettingsWindowModel {
    std::string caption = "Lumora";      // the design caption until the first activation
    std::array<DayPanelState, 8> days{}; // 1..7
    int boldDay = 0;                     // today's WeekdayNumber once ModifBold ran
    std::string modeCaption;             // Label1(8)
    std::string modeToolTip = LUMORA_TR("Lumora", "Current Wallpaper Mode");
    std::string noPictureCaption;      // Label1(12)
    std::optional<bool> messages;      // AffMessage's state; nothing = as designed
    std::array<std::string, 3> info{}; // the information lines Label1(15), (10), (11)
    bool applyShown = false;           // AffModif
    std::string applyCaption = LUMORA_TR("Lumora", "Apply"); // blinks while shown
};

struct LabelView {
    std::string caption;
    std::string toolTip;
    Colorref colour;
    bool bold = false;
    bool visible = true;
};

struct ThumbnailView {
    DayPanelState::Thumbnail shows = DayPanelState::Thumbnail::Empty;
    std::string toolTip;
};

struct SettingsView {
    std::string caption;
    std::array<LabelView, 18> label1{}; // 1..17
    std::array<LabelView, 8> label2{};  // 1..7, the remove marks
    std::array<LabelView, 8> label3{};  // 1..7, the style letters
    std::array<ThumbnailView, 8> image1{};
};

// The author state of the information panel.
inline constexpr const char* kAuthorName = LUMORA_TR("Lumora", "The Lumora developers");
inline constexpr const char* kAuthorAddress = "lumora@example.org";

SettingsView buildSettingsView(const SettingsWindowModel& model);

} // namespace lumora
