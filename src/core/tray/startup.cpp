#include "core/tray/startup.h"

#include "core/menu/menu_checks.h"
#include "core/text/texts.h"
#include "core/text/translation.h"
#include "core/tray/tray_alerts.h"

#include <cstddef>
#include <optional>

namespace lumora {

std::string alreadyRunningText() {
    return LUMORA_TR("Lumora", "Lumora is already running on this computer.\n\r\n\r"
                               "Double-click on the Lumora icon in the system tray...\n\r"
                               "...or right click on it to display the context menu.");
}

std::string firstRunText() {
    return LUMORA_TR("Lumora", "Your must define the wallpapers for each day.\n\r"
                               "You can use the context menu of this icon in system tray\n\r"
                               "or double-click on this icon to launch Lumora.");
}

std::string unreadableSettingsText(const std::string& where, const std::string& why) {
    return compose(LUMORA_TR("Lumora", "Lumora cannot read its settings file %1: %2.\n\r"
                                       "Until it can, Lumora uses its defaults and saves no "
                                       "setting."),
                   {where, why});
}

namespace {
constexpr const char* kModeNames[4] = {"", LUMORA_TR("Lumora", "Selected Wallpaper"),
                                       LUMORA_TR("Lumora", "Default Wallpaper"),
                                       LUMORA_TR("Lumora", "No Wallpaper")};
} // namespace

bool StartUp::Form_Load(StartMode mode) {
    FrmMainState& st = m_s.state;
    SettingsEditor& editor = m_s.editor;
    const bool resident = mode == StartMode::Resident;
    // One instance per user.
    if (!m_s.instance.tryAcquire()) {
        if (!resident) {
            return false;
        }
        m_s.dialogs.messageBox(alreadyRunningText(), versionCaption(), MessageIcon::Information);
        return false;
    }
    // The logo window.
    st.ShowSplsh = readShowSplsh(m_s.options);
    checkMenu(m_s.menu, m_s.window, MenuId::MainAbout, st.ShowSplsh);
    if (st.ShowSplsh && resident) {
        m_s.about.StrtPrg(1, false);
    }
    st.DayChanging = false;
    st.FirstOpen = true;
    bool someDayHasPicture = false;
    if (resident) {
        m_s.logon.AddToReg();
    }
    for (std::size_t i = 0; i < st.DayNames.size(); ++i) {
        st.DayNames[i] = kDayNames[i];
    }
    editor.AffDays();
    if (resident) {
        m_s.tray.AddTrayIcon(kFrmMainHandle, kFrmMainIcon, m_s.window.caption(), "", "", 0,
                             kAddTimeout);
    }
    m_s.engine.CreateDefault();
    st.DefaultPath = m_s.engine.defaultPicturePath();
    for (int m = 1; m <= 3; ++m) {
        st.ModeNames[static_cast<std::size_t>(m)] = kModeNames[m];
    }
    editor.loadModes();
    st.Modified = false;
    editor.AffModif();
    st.LastDay = static_cast<std::int16_t>(m_s.clock.now().weekday);
    st.DispMess = resident && readDispMess(m_s.options); // alerts need the icon
    checkMenu(m_s.menu, m_s.window, MenuId::mnuAlert, st.DispMess);
    // Does some day have a picture?
    for (int w = 1; w <= 7; ++w) {
        try {
            if (!m_s.registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, st.dayName(w))
                     .empty()) {
                someDayHasPicture = true;
            }
        } catch (...) {
            // skipped
        }
    }
    // Styles.
    for (int w = 1; w <= 7; ++w) {
        auto slot = static_cast<std::size_t>(w);
        if (auto style = readStyl(m_s.options, w)) {
            st.DayStyle[slot] = *style;
        }
        st.PendingStyle[slot] = 0;
        editor.showStyle(w);
    }
    // The stored colour.
    st.BackColor = readBackColor(m_s.options);
    if ((st.DirectWall == 1.0f || st.DirectWall == 3.0f) && !st.BackColor.empty()) {
        if (auto rgb = parseColorText(st.BackColor)) {
            try {
                m_s.desktop.setBackgroundColor(*rgb);
            } catch (...) {
                // skipped
            }
        }
    }
    editor.refresh();
    // Today's wallpaper, with the day read anew.
    m_s.engine.ApplyWallpaperForDay(m_s.clock.now().weekday);
    // The first-run advice, whatever "DispMess" says.
    if (!someDayHasPicture && resident) {
        m_s.tray.ModifyTrayIcon(kFrmMainHandle, kFrmMainIcon, m_s.window.caption(), kProductName,
                                firstRunText(), static_cast<std::int32_t>(NIIF_INFO),
                                kAlertTimeout);
    }
    // A store that cannot be read holds the message switch itself: this is said whatever the
    // switch says, last, so that no other balloon of start-up replaces it.
    if (resident) {
        if (const std::optional<StoreFailure> failure = m_s.options.readFailure()) {
            m_s.tray.ModifyTrayIcon(kFrmMainHandle, kFrmMainIcon, m_s.window.caption(),
                                    kProductName,
                                    unreadableSettingsText(failure->where(), failure->what()),
                                    static_cast<std::int32_t>(NIIF_INFO), kAlertTimeout);
        }
    }
    return true;
}

} // namespace lumora
