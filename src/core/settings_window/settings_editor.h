#pragma once
// The settings window's routines: the day panels, choosing and removing a day's picture, the
// mode, no-picture action and style edits held until Apply or Cancel, activation, the caption and
// the messages switch. They work on FrmMain's state and the window's model and end every event by
// rendering the window from its view.
#include "core/engine/engine_routines.h"
#include "core/engine/wallpaper_engine.h"
#include "core/menu/tray_menu.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/ports/main_window.h"
#include "core/ports/windows.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "core/settings_window/settings_view.h"

#include <string>

namespace lumora {

// "Image files (*.jpg; ...)|...|All Files (*.*)|*.*", the open dialog's two entries.
extern const char* const kPictureFilter;

struct SettingsEditorServices {
    FrmMainState& state;
    Options& options;
    Registry& registry;
    EngineRoutines& engine;
    Dialogs& dialogs;
    Clock& clock;
    MainWindow& window;
    MessageSink& alerts;
    TrayMenu& menu;
    PreviewWindow& preview;
};

class SettingsEditor {
public:
    explicit SettingsEditor(SettingsEditorServices services) : m_s(services) {}

    const SettingsWindowModel& model() const { return m_model; }
    SettingsView view() const { return buildSettingsView(m_model); }

    // Window events.
    void Form_Activate();
    // The window was shown: runs Form_Activate unless Form_Activate itself showed it.
    void windowShown();
    void TempAction();
    void Label1_Click(int index);
    void Label2_Click(int index);
    void Label3_Click(int index);
    void Image1_Click(int index);
    void Image1_MouseMove(int index);
    void Label1_MouseMove();
    // Choosing a day's picture (the tray menu's day items and the day names).
    void mnuday_Click(int index);

    // Routines start-up and the timers call.
    void AffDays();
    void AffPics();
    void ModifBold();
    void AffModif();
    void AffMessage(bool enabled);
    void Lab18ToolTip(float mode);
    // Reads the two modes from the store and shows them (activation, close, start-up).
    void loadModes();
    // Shows day w's stored style on its letter; other values leave the letter as it is.
    void showStyle(int weekdayNumber);
    // The caption from the clock, as activation and the one-second timer set it.
    void refreshCaption();
    // The half-second blink of today's name and of a shown Apply label.
    void Timer2_Timer();
    // The information panel back to the author state.
    void authorState();
    // Draws the window from the model.
    void refresh();

private:
    void markModified();
    void Apply();
    void Cancel();
    void messagesSwitch();
    int today() const;
    std::string dayPicture(int weekdayNumber);

    SettingsEditorServices m_s;
    SettingsWindowModel m_model;
    bool m_activating = false;
};

} // namespace lumora
