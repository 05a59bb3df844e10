#pragma once
// frmHelp: the help window, with the version and a running clock in its caption.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/ports/clock.h"
#include "core/ports/windows.h"

#include "windows/ui/window/window.h"

#include <string>

namespace lumora {

// One object serves the whole process: every "&Help" or F1 calls showHelp() on it, which brings
// back the same window, or loads it afresh after the user closed it.
class Win32FrmHelp : public Window, public HelpWindow {
public:
    static constexpr int kClientWidth = 948;
    static constexpr int kClientHeight = 616;
    static constexpr UINT kClockInterval = 1000; // Timer1, ms
    static constexpr UINT_PTR kTimer1 = 1;

    explicit Win32FrmHelp(const Clock& clock);

    // Loads the window when it is not loaded, shows it and makes it the active window; being
    // shown counts as an activation (Form_Activate runs).
    void showHelp() override;

    // Runs each time the window becomes the active one among the program's windows: the
    // caption, centring on the screen, staying on top.
    void Form_Activate();
    // Timer1, every 1000 ms while the window is loaded: the caption.
    void Timer1_Timer();

    bool isLoaded() const { return exists(); }
    bool clockRunning() const { return m_timer1On; }
    // "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:07" for the clock's current time.
    std::wstring captionNow() const;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onDestroyed() override;

private:
    void Form_Load();

    const Clock& m_clock;
    bool m_timer1On = false;
    bool m_inActivate = false;
};

} // namespace lumora
