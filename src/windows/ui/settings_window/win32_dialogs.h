#pragma once
// Modal dialogs and message boxes through the common dialogs of Windows: the open-file dialog,
// the colour dialog and MessageBoxW, each owned by the settings window while it is shown.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/ports/dialogs.h"

#include <windows.h>

#include <array>
#include <functional>
#include <string>

namespace lumora {

// What the open-file dialog is given, before it is shown.
struct OpenFileRequest {
    std::wstring title;
    std::wstring filter; // "Description\0patterns\0...\0\0", the bars turned into NULs
    DWORD filterIndex = 1;
    DWORD flags = 0;
    std::wstring initialFile;
};

class Win32Dialogs : public Dialogs {
public:
    // The owner of every dialog: the settings window (only while it is shown).
    void setOwner(HWND owner);
    void setOwner(std::function<HWND()> owner) { m_owner = std::move(owner); }

    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t> initial) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& initialPath,
                                        const std::string& filter) override;
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;

    // OFN_LONGNAMES | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY.
    static constexpr DWORD kOpenFlags = 2627588;
    static OpenFileRequest openFileRequest(const std::string& title, const std::string& initialPath,
                                           const std::string& filter);
    // MB_OK with the icon of the kind (MB_ICONEXCLAMATION for a warning, ...).
    static UINT messageBoxStyle(MessageIcon icon);
    // The owner a dialog gets now: the window while it is shown, else none.
    HWND owner() const;

private:
    std::function<HWND()> m_owner;
    std::array<COLORREF, 16> m_customColours{}; // kept from one colour dialog to the next
};

} // namespace lumora
