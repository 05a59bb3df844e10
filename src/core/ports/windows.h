#pragma once
// The program's windows as the core sees them: the few operations start-up and the tray menu
// need, implemented by the Qt windows.
#include <cstdint>

namespace lumora {

class AboutWindow {
public:
    virtual ~AboutWindow() = default;
    // Opens the about and logo window. timShw 0: stays until clicked, clock with seconds;
    // 1: closes itself after five seconds, clock with hours and minutes.
    // oldStatus: the settings window was visible and comes back when this window closes.
    virtual void StrtPrg(std::int16_t timShw, bool oldStatus) = 0;
};

class HelpWindow {
public:
    virtual ~HelpWindow() = default;
    virtual void showHelp() = 0;
};

} // namespace lumora
