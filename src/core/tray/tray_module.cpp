#include "core/tray/tray_module.h"

#include <cmath>
#include <limits>

namespace lumora {

void TrayModule::fill(Call call, std::uint32_t hWnd, std::uint32_t hIcon, const std::string& Tip,
                      const std::string& Title, const std::string& Text, std::int32_t InfoFlags,
                      std::int32_t Timeout) {
    m_data.cbSize = kTrayIconDataSize;
    if (hWnd != 0) {
        m_data.hWnd = hWnd;
    }
    m_data.uID = kTrayIconId;
    if (!Title.empty()) {
        m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_INFO;
    } else if (call == Call::Add) {
        m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    }
    m_data.uCallbackMessage = WM_MOUSEMOVE;
    if (call == Call::Modify || hIcon != 0) {
        m_data.hIcon = hIcon;
    }
    if (!Tip.empty()) {
        storeFieldText(m_data.szTip, Tip);
    }
    m_data.dwState = 0;
    m_data.dwStateMask = 0;
    if (InfoFlags != 0 || !Text.empty() || !Title.empty()) {
        if (!Text.empty()) {
            storeFieldText(m_data.szInfo, Text);
        }
        if (!Title.empty()) {
            storeFieldText(m_data.szInfoTitle, Title);
        }
        if (InfoFlags != 0) {
            m_data.dwInfoFlags = static_cast<std::uint32_t>(InfoFlags);
        }
        if (Timeout > 0) {
            m_data.uTimeout = static_cast<std::uint32_t>(Timeout);
        }
    }
}

void TrayModule::send(std::uint32_t message) {
    try {
        (void)m_host.notifyIcon(message, m_data);
    } catch (...) {
        // the shell's answer is never looked at; a failed call loses that call only
    }
}

void TrayModule::AddTrayIcon(std::uint32_t hWnd, std::uint32_t hIcon, const std::string& Tip,
                             const std::string& Title, const std::string& Text,
                             std::int32_t InfoFlags, std::int32_t Timeout) {
    fill(Call::Add, hWnd, hIcon, Tip, Title, Text, InfoFlags, Timeout);
    send(NIM_ADD);
}

void TrayModule::ModifyTrayIcon(std::uint32_t hWnd, std::uint32_t hIcon, const std::string& Tip,
                                const std::string& Title, const std::string& Text,
                                std::int32_t InfoFlags, std::int32_t Timeout) {
    fill(Call::Modify, hWnd, hIcon, Tip, Title, Text, InfoFlags, Timeout);
    send(NIM_MODIFY);
}

void TrayModule::DeleteTrayIcon() {
    send(NIM_DELETE);
}

bool roundHalfEven(double value, std::int32_t& out) {
    if (!std::isfinite(value)) {
        return false;
    }
    double lower = std::floor(value);
    double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5) {
        rounded = lower + 1.0;
    } else if (fraction == 0.5) {
        rounded = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    }
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return false;
    }
    out = static_cast<std::int32_t>(rounded);
    return true;
}

int TrayMouseAction(float X, const MouseOwner& owner) {
    double message = X;
    if (owner.scaleMode != kScalePixels) {
        if (owner.twipsPerPixelX == 0.0f) {
            return kTrayNothing;
        }
        message = static_cast<double>(X) / static_cast<double>(owner.twipsPerPixelX);
    }
    std::int32_t number = 0;
    if (!roundHalfEven(message, number)) {
        return kTrayNothing;
    }
    if (number == static_cast<std::int32_t>(WM_LBUTTONDBLCLK)) {
        return kTrayOpenSettings;
    }
    if (number == static_cast<std::int32_t>(WM_RBUTTONDOWN)) {
        return kTrayPopupMenu;
    }
    return kTrayNothing;
}

} // namespace lumora
