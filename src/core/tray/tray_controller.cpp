#include "core/tray/tray_controller.h"

#include "core/menu/menu_checks.h"

namespace lumora {

void TrayController::trayCallback(float X) {
    m_s.editor.authorState();
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

void TrayController::mnurefresh_Click() {
    m_s.engine.ApplyWallpaperForDay(m_s.clock.now().weekday);
}

void TrayController::mnuexit_Click() {
    if (m_unloaded || Form_QueryUnload(vbFormCode)) {
        return;
    }
    Form_Unload();
}

void TrayController::mnuAlert_Click() {
    m_s.editor.Label1_Click(9);
}

void TrayController::MainAbout_Click() {
    FrmMainState& st = m_s.state;
    st.ShowSplsh = !st.ShowSplsh;
    checkMenu(m_s.menu, m_s.window, MenuId::MainAbout, st.ShowSplsh);
    m_s.options.SaveSetting(kShowSplsh, boolText(st.ShowSplsh));
}

void TrayController::mnuabout_Click() {
    if (m_unloaded) {
        return;
    }
    FrmMainState& st = m_s.state;
    if (!st.FirstOpen) {
        m_s.editor.Form_Activate();
    }
    st.FirstOpen = false;
    m_s.window.showWindow();
    m_s.window.setTopMost();
}

void TrayController::mnuHelp_Click() {
    m_s.help.showHelp();
}

void TrayController::MnAbout_Click() {
    const bool wasShown = m_s.window.isShown();
    m_s.window.hideWindow();
    m_s.about.StrtPrg(0, wasShown);
}

void TrayController::menuClicked(MenuId id, int index) {
    switch (id) {
    case MenuId::mnurefresh:
        mnurefresh_Click();
        break;
    case MenuId::mnuexit:
        mnuexit_Click();
        break;
    case MenuId::mnuday:
        m_s.editor.mnuday_Click(index);
        break;
    case MenuId::mnuAutoRun:
        m_s.logon.mnuAutoRun_Click();
        break;
    case MenuId::mnuAlert:
        mnuAlert_Click();
        break;
    case MenuId::MainAbout:
        MainAbout_Click();
        break;
    case MenuId::DeskCol:
        m_s.engine.ColorChange();
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

void TrayController::Form_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == vbKeyF1) {
        mnuHelp_Click();
    }
}

bool TrayController::Form_QueryUnload(int unloadMode) {
    if (unloadMode == vbFormControlMenu) {
        m_s.editor.TempAction();
        m_s.window.hideWindow();
        return true;
    }
    return false;
}

void TrayController::Form_Unload() {
    // With the window go its clock and its watch: a window still open keeps the process, not
    // the program's work.
    m_s.dayWatch.stop();
    m_s.tray.DeleteTrayIcon();
    m_unloaded = true;
    m_s.window.destroyWindow();
}

void TrayController::aboutClosed() {
    // Once the program was told to end, closing a late about window must not bring it back.
    if (!m_unloaded) {
        m_s.window.showWindow();
    }
}

} // namespace lumora
