#pragma once
// Child controls made from one table per window: each row a control's id, kind, text, style and
// rectangle at 96 dpi, made in the window's DPI with its font. A tooltip control gives rows their
// tips. The kinds are Windows' own classes (STATIC, BUTTON, SCROLLBAR, ...).
//
// This header includes <windows.h>: include it after the core's headers.
#include "windows/ui/window/gdi_handles.h"

#include <windows.h>

#include <span>
#include <string>

namespace lumora {

struct ControlRow {
    int id;
    const wchar_t* kind; // a window class: WC_STATICW, WC_BUTTONW, WC_SCROLLBARW, ...
    std::wstring text;
    DWORD style;
    RECT at96;        // left, top, right, bottom in the parent's client area at 96 dpi
    std::wstring tip; // empty: no tooltip
};

// The font `face` at `points` (e.g. 8.25) for `dpi`.
Font makeFont(const wchar_t* face, double points, int dpi);

// Makes one child control of `parent` (visible, WS_CHILD added) with `font`; null on failure.
HWND makeControl(HWND parent, const ControlRow& row, int dpi, HFONT font);

// The tooltips of one window: a tooltip control owned by the window, each tool a child control.
class Tooltips {
public:
    explicit Tooltips(HWND owner);
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;
    // Shows `text` when the mouse rests on `control`; an empty text removes its tip.
    void setTip(HWND control, const std::wstring& text);
    // The tip `control` has now (empty when none).
    std::wstring tipOf(HWND control) const;
    HWND hwnd() const { return m_tooltip.get(); }

private:
    HWND m_owner;
    WindowHandle m_tooltip;
};

// Makes every row's control; the tips go to `tips` when given. Returns false when one failed.
bool makeControls(HWND parent, std::span<const ControlRow> rows, int dpi, HFONT font,
                  Tooltips* tips);

// The text of a window or control.
std::wstring windowText(HWND window);
// A child's rectangle in its parent's client area, in pixels.
RECT childRect(HWND child);

} // namespace lumora
