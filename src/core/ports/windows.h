#pragma once
// The program's windows as the core sees them: the few operations start-up and the tray menu
// need, implemented by the Qt windows.
#include <cstdint>
#include <string>

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

class PreviewWindow {
public:
    virtual ~PreviewWindow() = default;
    // Opens the preview window on a picture (reusing the one that is open).
    virtual void StartProj(const std::string& path) = 0;
};

} // namespace lumora
