#include "windows/ui/settings_window/win32_dialogs.h"
#include "core/text/translation.h"
#include "windows/platform/wide_text.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace lumora {

namespace {

constexpr const char* kDefaultTitle = "Lumora";
// The longest path the dialog hands back (long paths included).
constexpr std::size_t kPathCapacity = 32768;

} // namespace

void Win32Dialogs::setOwner(HWND owner) {
    m_owner = [owner] { return owner; };
}

HWND Win32Dialogs::owner() const {
    HWND window = m_owner ? m_owner() : nullptr;
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

std::optional<std::uint32_t> Win32Dialogs::chooseColor(std::optional<std::uint32_t> initial) {
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner();
    // 0x00BBGGRR is a COLORREF as it stands; without a stored colour the dialog starts at black.
    choose.rgbResult = initial.value_or(0);
    choose.lpCustColors = m_customColours.data();
    choose.Flags = CC_RGBINIT;
    if (!ChooseColorW(&choose)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(choose.rgbResult & 0xFFFFFF);
}

OpenFileRequest Win32Dialogs::openFileRequest(const std::string& title,
                                              const std::string& initialPath,
                                              const std::string& filter) {
    OpenFileRequest request;
    request.title = wideFromUtf8(translated(title));
    request.filter = wideFromUtf8(translated(filter));
    std::replace(request.filter.begin(), request.filter.end(), L'|', L'\0');
    request.filter.push_back(L'\0'); // the list ends with two NULs (c_str() adds the second)
    request.flags = kOpenFlags;
    request.initialFile = wideFromUtf8(initialPath);
    return request;
}

std::optional<std::string> Win32Dialogs::openFile(const std::string& title,
                                                  const std::string& initialPath,
                                                  const std::string& filter) {
    const OpenFileRequest request = openFileRequest(title, initialPath, filter);
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    if (request.initialFile.size() < file.size()) {
        std::copy(request.initialFile.begin(), request.initialFile.end(), file.begin());
    }
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = owner();
    open.lpstrFilter = request.filter.c_str();
    open.nFilterIndex = request.filterIndex;
    open.lpstrFile = file.data();
    open.nMaxFile = static_cast<DWORD>(file.size());
    open.lpstrTitle = request.title.c_str();
    open.Flags = request.flags;
    // A cancel and a failure of the dialog alike end without a file.
    if (!GetOpenFileNameW(&open) || file[0] == L'\0') {
        return std::nullopt;
    }
    return utf8FromWide(file.data());
}

UINT Win32Dialogs::messageBoxStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return MB_OK | MB_ICONINFORMATION;
    case MessageIcon::Warning:
        return MB_OK | MB_ICONEXCLAMATION;
    case MessageIcon::Critical:
        return MB_OK | MB_ICONHAND;
    case MessageIcon::Question:
        return MB_OK | MB_ICONQUESTION;
    case MessageIcon::None:
        break;
    }
    return MB_OK;
}

void Win32Dialogs::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    const std::wstring shown = wideFromUtf8(translated(text));
    const std::wstring caption = wideFromUtf8(translated(title.empty() ? kDefaultTitle : title));
    MessageBoxW(owner(), shown.c_str(), caption.c_str(), messageBoxStyle(icon));
}

} // namespace lumora
