#pragma once
// `TrayModule`: the icon record and the routines that add, modify and delete the icon, and the
// decoding of the icon's mouse callbacks.
#include "core/ports/tray_host.h"
#include "core/tray/tray_icon_data.h"

#include <cstdint>
#include <string>

namespace lumora {

// Mouse action codes.
inline constexpr int kTrayNothing = 0;
inline constexpr int kTrayOpenSettings = 1;
inline constexpr int kTrayPopupMenu = 2;

inline constexpr std::uint32_t WM_LBUTTONUP = 514;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 515;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 516;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 519;

// Scale mode of a window: 1 twips, 3 pixels.
inline constexpr int kScaleTwips = 1;
inline constexpr int kScalePixels = 3;

struct MouseOwner {
    int scaleMode = kScalePixels;
    float twipsPerPixelX = 15.0f;
};

class TrayModule {
public:
    explicit TrayModule(TrayHost& host) : m_host(host) {}

    void AddTrayIcon(std::uint32_t hWnd, std::uint32_t hIcon, const std::string& Tip,
                     const std::string& Title, const std::string& Text, std::int32_t InfoFlags,
                     std::int32_t Timeout);
    void ModifyTrayIcon(std::uint32_t hWnd, std::uint32_t hIcon, const std::string& Tip,
                        const std::string& Title, const std::string& Text, std::int32_t InfoFlags,
                        std::int32_t Timeout);
    void DeleteTrayIcon();

    // The record as it stands after the last call.
    const TrayIconData& data() const { return m_data; }

private:
    enum class Call { Add, Modify };
    void fill(Call call, std::uint32_t hWnd, std::uint32_t hIcon, const std::string& Tip,
              const std::string& Title, const std::string& Text, std::int32_t InfoFlags,
              std::int32_t Timeout);
    void send(std::uint32_t message);

    TrayHost& m_host;
    TrayIconData m_data;
};

// The action for a callback whose horizontal coordinate `X` carries the mouse message.
int TrayMouseAction(float X, const MouseOwner& owner);

// Rounds to the nearest whole number, halves to even; nothing when out of the 32-bit range.
bool roundHalfEven(double value, std::int32_t& out);

} // namespace lumora
