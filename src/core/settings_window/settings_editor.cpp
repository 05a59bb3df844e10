#include "core/settings_window/settings_editor.h"

#include "core/menu/menu_checks.h"
#include "core/text/texts.h"
#include "core/text/translation.h"
#include "core/text/utf8_path.h"

#include <exception>
#include <filesystem>
#include <system_error>

namespace lumora {

const char* const kPictureFilter =
    //: The file dialog's filters: each description, then its patterns, all parted by "|".
    LUMORA_TR("Lumora", "Image files (*.jpg; *.gif; *.bmp; *.tga; *.*htm*; *.png)|*.jpg; *.gif; "
                        "*.bmp; *.tga; *.*htm*; *.png|All Files (*.*)|*.*");

namespace {

constexpr PixelSize kNoPictureSize{160, 120};

bool isFailureText(const std::string& value) {
    return value.starts_with("Error");
}

bool isMode(float mode) {
    return mode == 1.0f || mode == 2.0f || mode == 3.0f;
}

bool isNoPictureAction(float action) {
    return action == 2.0f || action == 3.0f;
}

} // namespace

int SettingsEditor::today() const {
    return m_s.clock.now().weekday;
}

void SettingsEditor::refresh() {
    m_s.window.render(view());
}

std::string SettingsEditor::dayPicture(int weekdayNumber) {
    try {
        return m_s.registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey,
                                        m_s.state.dayName(weekdayNumber));
    } catch (...) {
        return {};
    }
}

// ---- the day panels ----

void SettingsEditor::AffDays() {
    for (int i = 1; i <= 7; ++i) {
        m_model.days[static_cast<std::size_t>(i)].nameCaption = m_s.state.dayName(i);
    }
}

void SettingsEditor::ModifBold() {
    m_model.boldDay = today();
}

void SettingsEditor::AffPics() {
    // Each day's path read afresh; the window may decode the seven pictures side by side.
    std::array<std::string, 8> paths;
    std::vector<std::pair<int, std::string>> wanted;
    for (int i = 1; i <= 7; ++i) {
        paths[static_cast<std::size_t>(i)] = dayPicture(i);
        const std::string& path = paths[static_cast<std::size_t>(i)];
        if (!path.empty() && !isFailureText(path)) {
            wanted.emplace_back(i, path);
        }
    }
    try {
        m_s.window.prepareThumbnails(wanted);
    } catch (...) {
        // each day still loads on its own below
    }
    for (int i = 1; i <= 7; ++i) {
        DayPanelState& day = m_model.days[static_cast<std::size_t>(i)];
        const std::string& name = m_s.state.dayName(i);
        const std::string& path = paths[static_cast<std::size_t>(i)];
        std::optional<PixelSize> size;
        if (!path.empty() && !isFailureText(path)) {
            try {
                size = m_s.window.loadThumbnail(i, path);
            } catch (...) {
                size.reset();
            }
        }
        if (size) {
            day.thumbnail = DayPanelState::Thumbnail::Picture;
            day.pictureSize = *size;
            day.pictureTip = path;
            day.thumbnailToolTip =
                compose(LUMORA_TR("Lumora", "%1 - Click here to view the picture"), {path});
            day.removeToolTip = compose(LUMORA_TR("Lumora", "Remove %1's Selection"), {name});
        } else {
            day.thumbnail = DayPanelState::Thumbnail::NoPicture;
            day.pictureSize = kNoPictureSize;
            day.pictureTip = compose(LUMORA_TR("Lumora", "No picture selected for %1"), {name});
            day.thumbnailToolTip = day.pictureTip;
            day.removeToolTip.clear();
        }
    }
}

void SettingsEditor::authorState() {
    m_model.info = {LUMORA_TR("Lumora", "Author"), kAuthorName, kAuthorAddress};
}

void SettingsEditor::Label1_MouseMove() {
    authorState();
    refresh();
}

void SettingsEditor::Image1_MouseMove(int index) {
    const std::string path = dayPicture(index);
    if (index < 1 || index > 7 || path.empty()) {
        authorState();
        refresh();
        return;
    }
    const DayPanelState& day = m_model.days[static_cast<std::size_t>(index)];
    m_model.info[0] = compose(LUMORA_TR("Lumora", "%1's Picture"), {m_s.state.dayName(index)});
    if (day.thumbnail != DayPanelState::Thumbnail::Empty) {
        m_model.info[1] = compose(
            LUMORA_TR("Lumora", "Dimensions: %1 x %2"),
            {std::to_string(day.pictureSize.width), std::to_string(day.pictureSize.height)});
    }
    // Only a regular file has a length; anything else keeps the line as it was.
    try {
        const std::filesystem::path file = pathFromUtf8(path);
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            const auto length = std::filesystem::file_size(file, ec);
            if (!ec) {
                m_model.info[2] = compose(LUMORA_TR("Lumora", "Size: %1"), {fileSizeText(length)});
            }
        }
    } catch (const std::exception&) {
        // a text that names no file here has no length
    }
    refresh();
}

void SettingsEditor::Image1_Click(int index) {
    authorState();
    refresh();
    const std::string path = dayPicture(index);
    if (index >= 1 && index <= 7 && !path.empty()) {
        try {
            m_s.preview.StartProj(path);
        } catch (...) {
            // the preview reports its own failures
        }
    }
}

// ---- choosing and removing a day's picture ----

void SettingsEditor::mnuday_Click(int index) {
    if (index < 1 || index > 7) {
        return;
    }
    const std::string& day = m_s.state.dayName(index);
    std::string previous;
    try {
        previous = m_s.registry.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, day);
    } catch (...) {
        previous.clear();
    }
    if (isFailureText(previous)) {
        m_s.dialogs.messageBox(previous, kProductName, MessageIcon::Warning);
        previous.clear();
    }
    std::optional<std::string> chosen;
    try {
        chosen = m_s.dialogs.openFile(
            compose(LUMORA_TR("Lumora", "Lumora - Choose wallpaper to use for %1"), {day}),
            previous, kPictureFilter);
    } catch (...) {
        chosen.reset();
    }
    if (!chosen || chosen->empty()) {
        return;
    }
    m_s.registry.CreateRegKey(kSettingsKey, HKEY_CURRENT_USER);
    m_s.registry.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, day, *chosen, REG_SZ);
    // A copy that failed leaves the day as it was; the alert would then tell a change that did
    // not happen.
    const bool copied = m_s.engine.Transf(*chosen, index);
    const int t = today();
    if (index == t && m_s.state.DirectWall == 1.0f) {
        m_s.engine.ApplyWallpaperForDay(t);
    }
    AffPics();
    refresh();
    if (m_s.state.DispMess && copied) {
        m_s.alerts.showMessage(
            compose(LUMORA_TR("Lumora", "%1's wallpaper changed using\n\r%2"), {day, *chosen}));
    }
}

void SettingsEditor::Label2_Click(int index) {
    if (index < 1 || index > 7) {
        return;
    }
    const std::string& day = m_s.state.dayName(index);
    if (dayPicture(index).empty()) {
        return;
    }
    m_s.registry.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
    m_s.registry.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, day, std::string(), REG_SZ);
    m_s.window.hideWindow();
    const int t = today();
    if (index == t && m_s.state.DirectWall == 1.0f) {
        m_s.engine.ApplyWallpaperForDay(t);
    }
    AffPics();
    refresh();
    m_s.window.showWindow();
    if (m_s.state.DispMess) {
        m_s.alerts.showMessage(
            compose(LUMORA_TR("Lumora", "%1's picture setting has been removed."), {day}));
    }
}

// ---- mode, style, Apply and Cancel ----

void SettingsEditor::Lab18ToolTip(float mode) {
    if (mode == 1.0f) {
        m_model.modeToolTip = LUMORA_TR("Lumora", "Desktop Mode: Use the selected pictures");
    } else if (mode == 2.0f) {
        m_model.modeToolTip = LUMORA_TR("Lumora", "Desktop Mode: Use Lumora default picture");
    } else if (mode == 3.0f) {
        m_model.modeToolTip = LUMORA_TR("Lumora", "Desktop Mode: No wallpaper use");
    }
}

void SettingsEditor::AffModif() {
    m_model.applyShown = m_s.state.Modified;
}

void SettingsEditor::markModified() {
    m_model.applyCaption = LUMORA_TR("Lumora", "Apply");
    m_s.state.Modified = true;
    AffModif();
}

void SettingsEditor::showStyle(int weekdayNumber) {
    auto info = styleInfo(m_s.state.DayStyle.at(static_cast<std::size_t>(weekdayNumber)));
    if (info && info->caption[0] != '\0') {
        DayPanelState& day = m_model.days.at(static_cast<std::size_t>(weekdayNumber));
        day.styleCaption = info->caption;
        day.styleToolTip = info->toolTip;
    }
}

void SettingsEditor::Label3_Click(int index) {
    if (index < 1 || index > 7) {
        return;
    }
    DayPanelState& day = m_model.days[static_cast<std::size_t>(index)];
    float& pending = m_s.state.PendingStyle[static_cast<std::size_t>(index)];
    // The captions stay English here (they are translated where shown), so they can be compared.
    if (day.styleCaption == "S") {
        day.styleCaption = LUMORA_TR("Lumora", "C");
        day.styleToolTip = LUMORA_TR("Lumora", "Center Wallpaper");
        pending = 2;
    } else if (day.styleCaption == "C") {
        day.styleCaption = LUMORA_TR("Lumora", "T");
        day.styleToolTip = LUMORA_TR("Lumora", "Tile Wallpaper");
        pending = 3;
    } else if (day.styleCaption == "T") {
        day.styleCaption = LUMORA_TR("Lumora", "S");
        day.styleToolTip = LUMORA_TR("Lumora", "Stretch Wallpaper");
        pending = 1;
    }
    markModified();
    refresh();
}

void SettingsEditor::loadModes() {
    FrmMainState& st = m_s.state;
    st.SelectWall = readSelectWall(m_s.options);
    st.DirectWall = readDirectWall(m_s.options);
    st.EditDirectWall = st.DirectWall;
    st.EditSelectWall = st.SelectWall;
    if (isMode(st.DirectWall)) {
        m_model.modeCaption = st.ModeNames[static_cast<std::size_t>(st.DirectWall)];
        Lab18ToolTip(st.DirectWall);
    }
    if (isNoPictureAction(st.SelectWall)) {
        m_model.noPictureCaption = st.ModeNames[static_cast<std::size_t>(st.SelectWall)];
    }
}

void SettingsEditor::Apply() {
    FrmMainState& st = m_s.state;
    m_s.window.hideWindow();
    st.DirectWall = st.EditDirectWall;
    if (isMode(st.DirectWall)) {
        m_model.modeCaption = st.ModeNames[static_cast<std::size_t>(st.DirectWall)];
        m_s.options.SaveSetting(kDirectWall, singleText(st.DirectWall));
        Lab18ToolTip(st.DirectWall);
    }
    st.SelectWall = st.EditSelectWall;
    if (isNoPictureAction(st.SelectWall)) {
        m_model.noPictureCaption = st.ModeNames[static_cast<std::size_t>(st.SelectWall)];
        m_s.options.SaveSetting(kSelectWall, singleText(st.SelectWall));
    }
    for (std::size_t i = 1; i <= 7; ++i) {
        if (st.PendingStyle[i] != 0.0f) {
            st.DayStyle[i] = st.PendingStyle[i];
        }
        m_s.options.SaveSetting(stylKey(static_cast<int>(i)), singleText(st.DayStyle[i]));
        st.PendingStyle[i] = 0;
    }
    st.EditDirectWall = st.DirectWall;
    st.EditSelectWall = st.SelectWall;
    m_s.engine.ApplyWallpaperForDay(today());
    st.Modified = false;
    AffModif();
    refresh();
    m_s.window.showWindow();
}

void SettingsEditor::Cancel() {
    FrmMainState& st = m_s.state;
    loadModes();
    for (int w = 1; w <= 7; ++w) {
        const auto slot = static_cast<std::size_t>(w);
        if (auto style = readStyl(m_s.options, w)) {
            st.DayStyle[slot] = *style;
        }
        showStyle(w);
        st.PendingStyle[slot] = 0;
    }
    st.Modified = false;
    AffModif();
}

void SettingsEditor::Label1_Click(int index) {
    FrmMainState& st = m_s.state;
    if (index >= 1 && index <= 7) {
        mnuday_Click(index);
        return;
    }
    switch (index) {
    case 9:
        messagesSwitch();
        break;
    case 14:
        m_s.window.hideWindow();
        break;
    case 12:
        if (st.EditSelectWall == 2.0f) {
            st.EditSelectWall = 3;
            m_model.noPictureCaption = st.ModeNames[3];
        } else if (st.EditSelectWall == 3.0f) {
            st.EditSelectWall = 2;
            m_model.noPictureCaption = st.ModeNames[2];
        }
        markModified();
        break;
    case 8:
        if (isMode(st.EditDirectWall)) {
            st.EditDirectWall = st.EditDirectWall == 3.0f ? 1.0f : st.EditDirectWall + 1.0f;
            m_model.modeCaption = st.ModeNames[static_cast<std::size_t>(st.EditDirectWall)];
            Lab18ToolTip(st.EditDirectWall);
        }
        markModified();
        break;
    case 16:
        Apply();
        break;
    case 17:
        Cancel();
        break;
    default:
        break;
    }
    refresh();
}

// ---- activation, caption and the messages switch ----

void SettingsEditor::AffMessage(bool enabled) {
    m_model.messages = enabled;
}

void SettingsEditor::messagesSwitch() {
    FrmMainState& st = m_s.state;
    st.DispMess = !st.DispMess;
    m_s.options.SaveSetting(kDispMess, boolText(st.DispMess));
    checkMenu(m_s.menu, m_s.window, MenuId::mnuAlert, st.DispMess);
    AffMessage(st.DispMess);
}

void SettingsEditor::refreshCaption() {
    m_model.caption = clockCaption(versionCaption(), m_s.clock.now(), m_s.clock);
    refresh();
}

void SettingsEditor::Form_Activate() {
    m_activating = true;
    authorState();
    loadModes();
    m_model.caption = clockCaption(versionCaption(), m_s.clock.now(), m_s.clock);
    m_s.state.DispMess = readDispMess(m_s.options);
    AffMessage(m_s.state.DispMess);
    AffPics();
    ModifBold();
    for (int i = 1; i <= 7; ++i) {
        m_model.days[static_cast<std::size_t>(i)].nameToolTip = compose(
            LUMORA_TR("Lumora", "Click to select a picture for %1"), {m_s.state.dayName(i)});
    }
    refresh();
    // Showing a hidden window is this activation, not another one.
    if (!m_s.window.isShown()) {
        m_s.window.showWindow();
    }
    m_activating = false;
}

void SettingsEditor::windowShown() {
    // The blink does not run while the window is hidden: it starts again with the names shown.
    const int w = today();
    if (w >= 1 && w <= 7) {
        m_model.days[static_cast<std::size_t>(w)].nameCaption = m_s.state.dayName(w);
    }
    m_model.applyCaption = LUMORA_TR("Lumora", "Apply");
    if (!m_activating) {
        Form_Activate();
    } else {
        refresh();
    }
}

void SettingsEditor::TempAction() {
    loadModes();
    m_s.window.dropThumbnails();
    for (std::size_t i = 1; i <= 7; ++i) {
        m_model.days[i].thumbnail = DayPanelState::Thumbnail::Empty;
    }
    refresh();
}

void SettingsEditor::Timer2_Timer() {
    const int w = today();
    // The blink rests while the day changes: a tick that comes while the new day's wallpaper is
    // drawn leaves the freshly marked names as they are.
    if (w < 1 || w > 7 || m_s.state.DayChanging) {
        return;
    }
    std::string& caption = m_model.days[static_cast<std::size_t>(w)].nameCaption;
    const std::string& name = m_s.state.dayName(w);
    if (caption == name) {
        caption.clear();
        if (m_model.applyShown) {
            m_model.applyCaption.clear();
        }
    } else if (caption.empty()) {
        caption = name;
        if (m_model.applyShown) {
            m_model.applyCaption = LUMORA_TR("Lumora", "Apply");
        }
    }
    refresh();
}

} // namespace lumora
