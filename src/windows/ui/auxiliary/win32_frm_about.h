#pragma once
// frmAbout: the about window, also shown for five seconds as the logo at start-up.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/ports/clock.h"
#include "core/ports/resources.h"
#include "core/ports/windows.h"

#include "windows/ui/window/controls.h"
#include "windows/ui/window/window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lumora {

class Win32FrmAbout : public Window, public AboutWindow {
public:
    // The client area; a one-pixel border goes around it.
    static constexpr int kClientWidth = 410;
    static constexpr int kClientHeight = 310;
    static constexpr UINT kClockInterval = 500;      // Timer1, ms
    static constexpr UINT kAutoCloseInterval = 5000; // Timer2, ms
    static constexpr UINT_PTR kTimer1 = 1;
    static constexpr UINT_PTR kTimer2 = 2;
    static constexpr int kLabel1 = 101; // date and time
    static constexpr int kLabel2 = 102; // version
    static constexpr int kLabel3 = 103; // the hot spot over the contact address
    static constexpr COLORREF kTextColour = RGB(64, 64, 64);

    // The logo is the resource "logo_bmp" of `resources`; settingsWindowWanted runs when the
    // window closes after being opened from a visible settings window.
    Win32FrmAbout(const Clock& clock, const Resources& resources,
                  std::function<void()> settingsWindowWanted = {});
    ~Win32FrmAbout() override;

    // Opens the window (see AboutWindow). A call while the window is shown does not load it
    // again: it takes the new TimShw and OldStatus, switches the automatic close on or off and
    // keeps the window on top; the clock follows the new TimShw from its next tick.
    void StrtPrg(std::int16_t timShw, bool oldStatus) override;

    // Timer1, every 500 ms: the date and time of Label1.
    void Timer1_Timer();
    // Timer2, once 5000 ms after StrtPrg with TimShw 1: unloads the window.
    void Timer2_Timer();
    // Unloads the window: it goes, with its timers; when OldStatus was True the settings window
    // comes back. The object stays for the next StrtPrg.
    void unload();

    bool isLoaded() const { return exists(); }
    std::int16_t timShw() const { return m_timShw; }
    bool oldStatus() const { return m_oldStatus; }
    bool clockRunning() const { return m_timer1On; }
    bool autoCloseRunning() const { return m_timer2On; }
    HWND label(int id) const { return exists() ? GetDlgItem(hwnd(), id) : nullptr; }
    // The tip a label shows when the mouse rests on it.
    std::wstring tipOf(int id) const;
    // The logo's pixels as loaded (0x00RRGGBB, top-down), for a look at what is drawn.
    COLORREF logoPixel(int x, int y) const;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onDestroyed() override;

private:
    void Form_Load();
    void Form_Unload();
    void showLabel1();
    void setLabelText(int id, const std::wstring& text);
    void paint(HDC dc);

    const Clock& m_clock;
    std::function<void()> m_settingsWindowWanted;
    std::vector<std::uint8_t> m_logo; // the BMP file's bytes
    std::int16_t m_timShw = 0;
    bool m_oldStatus = false;
    bool m_timer1On = false;
    bool m_timer2On = false;
    bool m_pressed = false;
    bool m_unloading = false;
    Font m_font;
    std::unique_ptr<Tooltips> m_tips;
};

} // namespace lumora
