#pragma once
// Sends an alert the way every caller does: one ModifyTrayIcon with FrmMain's window, its icon,
// its caption at that moment as the tip, title "Lumora", the information icon and 2000 ms.
#include "core/engine/wallpaper_engine.h"
#include "core/ports/main_window.h"
#include "core/tray/tray_module.h"

#include <cstdint>
#include <string>

namespace lumora {

// The handles FrmMain passes to TrayModule: its window and its icon.
inline constexpr std::uint32_t kFrmMainHandle = 0x1001;
inline constexpr std::uint32_t kFrmMainIcon = 0x2001;

inline constexpr std::int32_t kAlertTimeout = 2000;
inline constexpr std::int32_t kAddTimeout = 3000;

class TrayAlerts : public MessageSink {
public:
    TrayAlerts(TrayModule& tray, MainWindow& window) : m_tray(tray), m_window(window) {}
    void showMessage(const std::string& text) override;

private:
    TrayModule& m_tray;
    MainWindow& m_window;
};

} // namespace lumora
