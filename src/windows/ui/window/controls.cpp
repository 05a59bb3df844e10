#include "windows/ui/window/controls.h"

#include "windows/ui/window/window.h"

#include <commctrl.h>

#include <cmath>
#include <vector>

namespace lumora {

Font makeFont(const wchar_t* face, double points, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return Font(CreateFontIndirectW(&font));
}

HWND makeControl(HWND parent, const ControlRow& row, int dpi, HFONT font) {
    const int left = scaledLength(static_cast<int>(row.at96.left), dpi);
    const int top = scaledLength(static_cast<int>(row.at96.top), dpi);
    const int right = scaledLength(static_cast<int>(row.at96.right), dpi);
    const int bottom = scaledLength(static_cast<int>(row.at96.bottom), dpi);
    HWND control = CreateWindowExW(0, row.kind, row.text.c_str(), row.style | WS_CHILD | WS_VISIBLE,
                                   left, top, right - left, bottom - top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control != nullptr && font != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return control;
}

Tooltips::Tooltips(HWND owner)
    : m_owner(owner),
      m_tooltip(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr)) {}

namespace {

TTTOOLINFOW toolOf(HWND owner, HWND control, wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    return tool;
}

} // namespace

void Tooltips::setTip(HWND control, const std::wstring& text) {
    if (!m_tooltip) {
        return;
    }
    TTTOOLINFOW tool = toolOf(m_owner, control, nullptr);
    SendMessageW(m_tooltip.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (text.empty()) {
        return;
    }
    std::wstring copy = text; // the control copies the text
    tool = toolOf(m_owner, control, copy.data());
    SendMessageW(m_tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Tooltips::tipOf(HWND control) const {
    if (!m_tooltip) {
        return {};
    }
    std::vector<wchar_t> text(1024, L'\0');
    TTTOOLINFOW tool = toolOf(m_owner, control, text.data());
    if (SendMessageW(m_tooltip.get(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) == 0) {
        return {};
    }
    return std::wstring(text.data());
}

bool makeControls(HWND parent, std::span<const ControlRow> rows, int dpi, HFONT font,
                  Tooltips* tips) {
    bool all = true;
    for (const ControlRow& row : rows) {
        HWND control = makeControl(parent, row, dpi, font);
        if (control == nullptr) {
            all = false;
            continue;
        }
        if (tips != nullptr && !row.tip.empty()) {
            tips->setTip(control, row.tip);
        }
    }
    return all;
}

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

RECT childRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace lumora
