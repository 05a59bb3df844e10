#include "core/tray/tray_alerts.h"

#include "core/text/texts.h"

namespace lumora {

void TrayAlerts::showMessage(const std::string& text) {
    m_tray.ModifyTrayIcon(kFrmMainHandle, kFrmMainIcon, m_window.caption(), kProductName, text,
                          static_cast<std::int32_t>(NIIF_INFO), kAlertTimeout);
}

} // namespace lumora
