#include "core/tray/frm_main_logic.h"

#include "core/text/texts.h"
#include "core/tray/mode_options.h"

#include <cstddef>

namespace lumora {

std::string alreadyRunningText() {
    return std::string("Lumora is already running on this computer.") + kLineBreak + kLineBreak +
           "Double-click on the Lumora icon in the system tray..." + kLineBreak +
           "...or right click on it to display the context menu.";
}

std::string firstRunText() {
    return std::string("Your must define the wallpapers for each day.") + kLineBreak +
           "You can use the context menu of this icon in system tray" + kLineBreak +
           "or double-click on this icon to launch Lumora.";
}

namespace {
constexpr const char* kModeNames[4] = {"", "Selected Wallpaper", "Default Wallpaper",
                                       "No Wallpaper"};
} // namespace

int FrmMainLogic::today() const {
    return m_s.clock.now().weekday;
}

void FrmMainLogic::check(MenuId id, bool checked) {
    m_s.menu.setChecked(id, checked);
    m_s.window.setMenuChecked(id, checked);
}

bool FrmMainLogic::Form_Load() {
    FrmMainState& st = m_s.state;
    // 1. One instance per user.
    if (!m_s.instance.tryAcquire()) {
        m_s.dialogs.messageBox(alreadyRunningText(), versionCaption(), MessageIcon::Information);
        return false;
    }
    // 2-3. The logo window.
    st.ShowSplsh = m_s.options.readBool(kShowSplsh, true);
    check(MenuId::MainAbout, st.ShowSplsh);
    if (st.ShowSplsh) {
        m_s.about.StrtPrg(1, false);
    }
    // 4.
    st.DayChanging = false;
    st.FirstOpen = true;
    bool someDayHasPicture = false;
    // 5. Start at logon.
    AddToReg();
    // 6-7. Day names.
    for (std::size_t i = 0; i < st.DayNames.size(); ++i) {
        st.DayNames[i] = kDayNames[i];
    }
    m_s.window.AffDays();
    // 8. The icon.
    m_s.tray.AddTrayIcon(kFrmMainHandle, kFrmMainIcon, m_s.window.caption(), "", "", 0,
                         kAddTimeout);
    // 9-10. The default picture.
    m_s.engine.CreateDefault();
    st.DefaultPath = m_s.engine.defaultPicturePath();
    // 11-15. Modes.
    for (int m = 1; m <= 3; ++m) {
        st.ModeNames[static_cast<std::size_t>(m)] = kModeNames[m];
    }
    loadModes();
    // 16.
    st.Modified = false;
    m_s.window.AffModif();
    // 17.
    st.LastDay = static_cast<std::int16_t>(today());
    // 18.
    st.DispMess = m_s.options.readBool(kDispMess, true);
    check(MenuId::mnuAlert, st.DispMess);
    // 19. Does some day have a picture?
    for (int w = 1; w <= 7; ++w) {
        try {
            std::string value =
                m_s.registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, st.dayName(w));
            if (!value.empty()) {
                someDayHasPicture = true;
            }
        } catch (...) {
            // skipped
        }
    }
    // 20. Styles.
    for (int w = 1; w <= 7; ++w) {
        auto slot = static_cast<std::size_t>(w);
        try {
            std::optional<float> style = parseSingleText(m_s.options.GetSetting(stylKey(w), "1"));
            if (style) {
                st.DayStyle[slot] = *style;
            }
            st.PendingStyle[slot] = 0;
            auto info = styleInfo(st.DayStyle[slot]);
            if (info && info->caption[0] != '\0') {
                m_s.window.setStyleLabel(w, info->caption, info->toolTip);
            }
        } catch (...) {
            // skipped
        }
    }
    // 21-22. The stored colour.
    st.BackColor = m_s.options.GetSetting(kBackColor, "");
    if ((st.DirectWall == 1.0f || st.DirectWall == 3.0f) && !st.BackColor.empty()) {
        if (auto rgb = parseColorText(st.BackColor)) {
            try {
                m_s.desktop.setBackgroundColor(*rgb);
            } catch (...) {
                // skipped
            }
        }
    }
    // 23. Today's wallpaper.
    try {
        m_s.engine.ApplyWallpaperForDay(today());
    } catch (...) {
        // the engine handles its own failures
    }
    // 24. The first-run advice, whatever "DispMess" says.
    if (!someDayHasPicture) {
        m_s.tray.ModifyTrayIcon(kFrmMainHandle, kFrmMainIcon, m_s.window.caption(), kProductName,
                                firstRunText(), static_cast<std::int32_t>(NIIF_INFO),
                                kAlertTimeout);
    }
    return true;
}

void FrmMainLogic::loadModes() {
    FrmMainState& st = m_s.state;
    st.SelectWall = readSelectWall(m_s.options);
    st.DirectWall = readDirectWall(m_s.options);
    st.EditDirectWall = st.DirectWall;
    st.EditSelectWall = st.SelectWall;
    if (st.DirectWall == 1.0f || st.DirectWall == 2.0f || st.DirectWall == 3.0f) {
        m_s.window.setLabel1Caption(8, st.ModeNames[static_cast<std::size_t>(st.DirectWall)]);
        m_s.window.Lab18ToolTip(st.DirectWall);
    }
    if (st.SelectWall == 2.0f || st.SelectWall == 3.0f) {
        m_s.window.setLabel1Caption(12, st.ModeNames[static_cast<std::size_t>(st.SelectWall)]);
    }
}

void FrmMainLogic::AddToReg() {
    bool wanted = true; // a text that is not a number counts as 1
    if (auto number = parseSingleText(m_s.options.GetSetting(kAddToReg, "1"))) {
        wanted = *number == 1.0f;
    }
    bool written = false;
    try {
        written = m_s.autostart.write(m_s.program.executablePath(), wanted);
    } catch (...) {
        written = false;
    }
    m_s.state.AutoRun = wanted;
    if (!written) {
        try {
            m_s.state.AutoRun = m_s.autostart.isEnabled();
        } catch (...) {
            m_s.state.AutoRun = false;
        }
    }
    check(MenuId::mnuAutoRun, m_s.state.AutoRun);
}

void FrmMainLogic::mnuAutoRun_Click() {
    bool wanted = !m_s.menu.checked(MenuId::mnuAutoRun);
    bool written = false;
    try {
        written = m_s.autostart.write(m_s.program.executablePath(), wanted);
    } catch (...) {
        written = false;
    }
    m_s.options.SaveSetting(kAddToReg, wanted ? "1" : "0");
    m_s.state.AutoRun = wanted;
    if (!written) {
        try {
            m_s.state.AutoRun = m_s.autostart.isEnabled();
        } catch (...) {
            m_s.state.AutoRun = false;
        }
    }
    check(MenuId::mnuAutoRun, m_s.state.AutoRun);
}

void FrmMainLogic::trayCallback(float X) {
    m_s.window.resetInfoPanel();
    switch (TrayMouseAction(X, MouseOwner{kScalePixels, 15.0f})) {
    case kTrayOpenSettings:
        mnuabout_Click();
        break;
    case kTrayPopupMenu:
        m_s.window.popupMenu();
        break;
    default:
        break;
    }
}

void FrmMainLogic::Form_MouseMove() {
    m_s.window.resetInfoPanel();
}

void FrmMainLogic::mnurefresh_Click() {
    m_s.engine.ApplyWallpaperForDay(today());
}

void FrmMainLogic::mnuexit_Click() {
    if (m_unloaded) {
        return;
    }
    if (Form_QueryUnload(vbFormCode)) {
        return;
    }
    Form_Unload();
}

void FrmMainLogic::mnuday_Click(int index) {
    m_s.window.mnuday_Click(index);
}

void FrmMainLogic::Label1_Click9() {
    FrmMainState& st = m_s.state;
    st.DispMess = !st.DispMess;
    m_s.options.SaveSetting(kDispMess, boolText(st.DispMess));
    check(MenuId::mnuAlert, st.DispMess);
    m_s.window.AffMessage(st.DispMess);
}

void FrmMainLogic::mnuAlert_Click() {
    Label1_Click9();
}

void FrmMainLogic::MainAbout_Click() {
    FrmMainState& st = m_s.state;
    st.ShowSplsh = !st.ShowSplsh;
    check(MenuId::MainAbout, st.ShowSplsh);
    m_s.options.SaveSetting(kShowSplsh, boolText(st.ShowSplsh));
}

void FrmMainLogic::DeskCol_Click() {
    m_s.engine.ColorChange();
}

void FrmMainLogic::mnuabout_Click() {
    if (m_unloaded) {
        return;
    }
    FrmMainState& st = m_s.state;
    if (!st.FirstOpen) {
        Form_Activate();
    }
    st.FirstOpen = false;
    m_s.window.showWindow();
    m_s.window.setTopMost();
}

void FrmMainLogic::mnuHelp_Click() {
    m_s.help.showHelp();
}

void FrmMainLogic::MnAbout_Click() {
    bool wasShown = m_s.window.isShown();
    m_s.window.hideWindow();
    m_s.about.StrtPrg(0, wasShown);
}

void FrmMainLogic::menuClicked(MenuId id, int index) {
    switch (id) {
    case MenuId::mnurefresh:
        mnurefresh_Click();
        break;
    case MenuId::mnuexit:
        mnuexit_Click();
        break;
    case MenuId::mnuday:
        mnuday_Click(index);
        break;
    case MenuId::mnuAutoRun:
        mnuAutoRun_Click();
        break;
    case MenuId::mnuAlert:
        mnuAlert_Click();
        break;
    case MenuId::MainAbout:
        MainAbout_Click();
        break;
    case MenuId::DeskCol:
        DeskCol_Click();
        break;
    case MenuId::mnuabout:
        mnuabout_Click();
        break;
    case MenuId::mnuHelp:
        mnuHelp_Click();
        break;
    case MenuId::MnAbout:
        MnAbout_Click();
        break;
    case MenuId::sep1:
    case MenuId::sep2:
    case MenuId::sep22:
        break;
    }
}

void FrmMainLogic::Form_Activate() {
    FrmMainState& st = m_s.state;
    m_s.window.resetInfoPanel();
    loadModes();
    m_s.window.setCaption(clockCaption(versionCaption(), m_s.clock.now(), m_s.clock));
    st.DispMess = m_s.options.readBool(kDispMess, true);
    m_s.window.AffMessage(st.DispMess);
    m_s.window.AffPics();
    m_s.window.ModifBold();
}

void FrmMainLogic::Form_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == vbKeyF1) {
        mnuHelp_Click();
    }
}

bool FrmMainLogic::Form_QueryUnload(int unloadMode) {
    if (unloadMode == vbFormControlMenu) {
        TempAction();
        m_s.window.hideWindow();
        return true;
    }
    return false;
}

void FrmMainLogic::Form_Unload() {
    m_s.tray.DeleteTrayIcon();
    m_unloaded = true;
    m_s.window.destroyWindow();
}

void FrmMainLogic::TempAction() {
    loadModes();
    m_s.window.dropThumbnails();
}

void FrmMainLogic::aboutClosed() {
    // Once the program was told to end, closing a late about window must not bring it back.
    if (m_unloaded) {
        return;
    }
    m_s.window.showWindow();
}

} // namespace lumora
