#include "core/text/texts.h"
#include "core/text/translation.h"
#include "core/viewer/load_errors.h"
#include "core/viewer/preview_caption.h"

#include "windows/platform/wic_decode.h"
#include "windows/platform/wic_pictures.h"
#include "windows/platform/wide_text.h"
#include "windows/ui/auxiliary/win32_placement.h"
#include "windows/ui/auxiliary/win32_sys_mod.h"
#include "windows/ui/preview/win32_frm_prev.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace lumora {

using viewer::RectF;
using viewer::SizeF;

namespace {

using viewer::LoadError;
using viewer::loadFailure;
using viewer::LoadFailure;

LoadFailure attributeFailure(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return loadFailure(LoadError::FileNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return loadFailure(LoadError::PermissionDenied);
    default:
        return loadFailure(LoadError::AccessError);
    }
}

// Reads a picture at its own size. Only files are read, never a folder or a device.
std::optional<DecodedPicture> loadPicture(const std::string& file, LoadFailure& failure) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wideFromUtf8(file).c_str(), GetFileExInfoStandard, &data)) {
        failure = attributeFailure(GetLastError());
        return std::nullopt;
    }
    if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        failure = loadFailure(LoadError::AccessError);
        return std::nullopt;
    }
    std::optional<DecodedPicture> picture = decodePicture(file);
    if (!picture) {
        // A picture whose header reads but whose pixels could not be held is too large.
        const std::optional<PixelSize> size = WicPictures().pixelSize(file);
        const bool tooLarge = size && static_cast<double>(size->width) * size->height * 4 >=
                                          static_cast<double>(1u << 31);
        failure =
            tooLarge ? loadFailure(LoadError::OutOfMemory) : loadFailure(LoadError::InvalidPicture);
    }
    return picture;
}

// The locale's thousands separator ("," in English, "." in German).
std::string groupSeparator(const std::wstring& locale) {
    wchar_t text[8] = {};
    const int got = GetLocaleInfoEx(locale.empty() ? LOCALE_NAME_USER_DEFAULT : locale.c_str(),
                                    LOCALE_STHOUSAND, text, 8);
    return got > 1 ? utf8FromWide(std::wstring(text, static_cast<std::size_t>(got - 1))) : ",";
}

bool insidePanel(int id) {
    return id == Win32FrmPrev::kChkExact || id == Win32FrmPrev::kCExact ||
           id == Win32FrmPrev::kCMinus || id == Win32FrmPrev::kCEqual || id == Win32FrmPrev::kCPlus;
}

} // namespace

Win32FrmPrev::Win32FrmPrev(Dialogs& dialogs, std::wstring locale)
    : m_dialogs(dialogs), m_com(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))),
      m_locale(std::move(locale)) {}

Win32FrmPrev::~Win32FrmPrev() {
    destroy();
    m_source = Dib();
    if (m_com) {
        CoUninitialize();
    }
}

bool Win32FrmPrev::makeWindow() {
    m_layout = viewer::initialLayout();
    m_source = Dib();
    m_canvasShown = true;
    m_canvasDrawn = false;
    m_busy = false;
    m_laidOut = false;
    ++m_generation;
    if (!create({wideFromUtf8(kProductName), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, kClientWidth,
                 kClientHeight, nullptr, GetSysColorBrush(COLOR_BTNFACE)})) {
        return false;
    }
    m_font = makeFont(L"Tahoma", 8.25, dpi());
    LOGFONTW bold{};
    GetObjectW(m_font.get(), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    m_bold = Font(CreateFontIndirectW(&bold));
    // The tooltips are owned by no window: under Wine a window that owns a topmost popup stays
    // below it, and is then never made topmost itself.
    m_tips = std::make_unique<Tooltips>(nullptr);

    // In the order the window makes them; the bars are hidden until the canvas first needs them.
    const auto box = [](const RectF& r) {
        return RECT{static_cast<LONG>(r.left), static_cast<LONG>(r.top),
                    static_cast<LONG>(r.left + r.width), static_cast<LONG>(r.top + r.height)};
    };
    const ControlRow rows[] = {
        {kHScroll1, WC_SCROLLBARW, L"", SBS_HORZ, box(m_layout.hScroll), L""},
        {kVScroll1, WC_SCROLLBARW, L"", SBS_VERT, box(m_layout.vScroll), L""},
        {kPicture1, WC_STATICW, L"", SS_LEFT | WS_CLIPCHILDREN, box(m_layout.panel), L""},
    };
    makeControls(hwnd(), rows, dpi(), m_font.get(), m_tips.get());
    for (const int id : {kHScroll1, kVScroll1}) {
        HWND bar = GetDlgItem(hwnd(), id);
        SCROLLINFO range{sizeof range, SIF_ALL, 0, 0, 0, 0, 0};
        SetScrollInfo(bar, SB_CTL, &range, FALSE);
        ShowWindow(bar, SW_HIDE);
    }
    m_picture1 = GetDlgItem(hwnd(), kPicture1);
    SetWindowSubclass(m_picture1, &Win32FrmPrev::panelProcedure, 1,
                      reinterpret_cast<DWORD_PTR>(this));
    const ControlRow buttons[] = {
        {kChkExact,
         WC_BUTTONW,
         L"",
         BS_AUTOCHECKBOX,
         {232, 10, 245, 23},
         wideFromUtf8(
             translated(LUMORA_TR("Lumora", "Always display picture at its original size")))},
        {kCExact,
         WC_BUTTONW,
         wideFromUtf8(translated(LUMORA_TR("Lumora", "Original Size"))),
         BS_PUSHBUTTON,
         {229, 1, 352, 34},
         wideFromUtf8(translated(LUMORA_TR("Lumora", "Original Size")))},
        {kCMinus,
         WC_BUTTONW,
         wideFromUtf8(translated(LUMORA_TR("Lumora", "Zoom Out"))),
         BS_PUSHBUTTON,
         {153, 1, 228, 34},
         wideFromUtf8(translated(LUMORA_TR("Lumora", "Zoom Out")))},
        {kCEqual,
         WC_BUTTONW,
         wideFromUtf8(translated(LUMORA_TR("Lumora", "Fit Screen"))),
         BS_PUSHBUTTON,
         {77, 1, 152, 34},
         wideFromUtf8(translated(LUMORA_TR("Lumora", "Fit")))},
        {kCPlus,
         WC_BUTTONW,
         wideFromUtf8(translated(LUMORA_TR("Lumora", "Zoom In"))),
         BS_PUSHBUTTON,
         {1, 1, 76, 34},
         wideFromUtf8(translated(LUMORA_TR("Lumora", "Zoom In")))},
    };
    makeControls(m_picture1, buttons, dpi(), m_font.get(), m_tips.get());
    ShowWindow(control(kChkExact), SW_HIDE);
    SendMessageW(control(kCExact), WM_SETFONT, reinterpret_cast<WPARAM>(m_bold.get()), FALSE);

    // The viewport: a 2-pixel sunken frame around the area the canvas is drawn in.
    const ControlRow viewport[] = {
        {kPicCont, WC_STATICW, L"", SS_LEFT, box(m_layout.viewport), L""},
    };
    makeControls(hwnd(), viewport, dpi(), m_font.get(), nullptr);
    m_picCont = GetDlgItem(hwnd(), kPicCont);
    SetWindowLongPtrW(m_picCont, GWL_EXSTYLE,
                      GetWindowLongPtrW(m_picCont, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowSubclass(m_picCont, &Win32FrmPrev::viewportProcedure, 1,
                      reinterpret_cast<DWORD_PTR>(this));
    applyLayout(); // the design geometry, in the window's pixels, until the first layout pass
    return true;
}

HWND Win32FrmPrev::control(int id) const {
    if (!exists()) {
        return nullptr;
    }
    return GetDlgItem(insidePanel(id) ? m_picture1 : hwnd(), id);
}

std::wstring Win32FrmPrev::tipOf(int id) const {
    HWND c = control(id);
    return m_tips != nullptr && c != nullptr ? m_tips->tipOf(c) : std::wstring();
}

SizeF Win32FrmPrev::viewportInner() const {
    return viewer::innerSize(m_layout.viewport);
}

int Win32FrmPrev::devicePixels(float length96) const {
    // Pixels are whole only on the screen: halves to even, as the scroll values are.
    return static_cast<int>(std::lrint(length96 * static_cast<float>(dpi()) / 96.0f));
}

RECT Win32FrmPrev::deviceRect(const RectF& r) const {
    const int left = devicePixels(r.left);
    const int top = devicePixels(r.top);
    return {left, top, left + devicePixels(r.width), top + devicePixels(r.height)};
}

void Win32FrmPrev::StartProj(const std::string& path) {
    m_currentFile = path;
    if (!exists() && !makeWindow()) {
        return;
    }
    const unsigned generation = m_generation;
    File1_Click();
    if (!stillOpen(generation)) {
        return;
    }
    if (!IsWindowVisible(hwnd())) {
        if (!m_laidOut) {
            centreOnScreen(hwnd());
        }
        ShowWindow(hwnd(), SW_SHOW); // the first layout pass runs here
    }
    SetTopMost(hwnd(), kTopMostTrue);
}

void Win32FrmPrev::File1_Click() {
    LoadFailure failure;
    std::optional<DecodedPicture> picture = loadPicture(GetFile(), failure);
    Dib dib = picture ? dibOf(*picture) : Dib();
    if (picture && !dib) {
        failure = loadFailure(LoadError::OutOfMemory);
    }
    if (!dib) {
        showError(failure.number, failure.description);
        if (exists()) {
            setCanvasVisible(true);
        }
        return;
    }
    picture.reset();
    m_source = std::move(dib);
    setCanvasVisible(false);
    const unsigned generation = m_generation;
    if (SendMessageW(control(kChkExact), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        cExact_Click();
    } else {
        ResizeViewPort();
        RenderPicture();
    }
    if (!stillOpen(generation)) {
        return;
    }
    UpdateScrollBars();
    setCanvasVisible(true);

    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wideFromUtf8(GetFile()).c_str(), GetFileExInfoStandard, &data)) {
        const LoadFailure gone = attributeFailure(GetLastError());
        showError(gone.number, gone.description);
        return;
    }
    const std::uintmax_t bytes =
        (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const std::string caption = viewer::previewCaption(GetFile(), m_source.width, m_source.height,
                                                       bytes, groupSeparator(m_locale));
    SetWindowTextW(hwnd(), wideFromUtf8(caption).c_str());
}

void Win32FrmPrev::ResizeViewPort() {
    if (!m_source) {
        return;
    }
    InvalidateRect(m_picCont, nullptr, FALSE);
    const SizeF picture{static_cast<float>(m_source.width), static_cast<float>(m_source.height)};
    m_layout.canvas = viewer::fit(picture, viewportInner());
}

void Win32FrmPrev::setBusy(bool busy) {
    m_busy = busy;
    POINT pointer{};
    GetCursorPos(&pointer);
    HWND under = WindowFromPoint(pointer);
    if (under != nullptr && GetAncestor(under, GA_ROOT) == hwnd()) {
        SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
    }
}

void Win32FrmPrev::RenderPicture() {
    if (!exists()) {
        return;
    }
    const SizeF size{m_layout.canvas.width, m_layout.canvas.height};
    const unsigned generation = m_generation;
    m_canvasDrawn = false;
    InvalidateRect(m_picCont, nullptr, FALSE);
    setBusy(true);
    if (!viewer::withinCanvasLimit(size)) {
        reachedLimit();
        if (stillOpen(generation)) {
            setBusy(false);
        }
        return;
    }
    for (int pass = 0; pass < 2; ++pass) {
        m_canvasDrawn = true;
        if (m_canvasShown && IsWindowVisible(m_picCont)) {
            InvalidateRect(m_picCont, nullptr, FALSE);
            UpdateWindow(m_picCont);
        }
        runPendingMessages();
        if (!stillOpen(generation)) {
            return;
        }
    }
    setBusy(false);
}

void Win32FrmPrev::placeCanvas(SizeF size) {
    m_layout.canvas = viewer::centred(size, viewportInner());
}

void Win32FrmPrev::zoom(SizeF size) {
    setCanvasVisible(false);
    placeCanvas(size);
    renderAndShow();
}

void Win32FrmPrev::renderAndShow() {
    const unsigned generation = m_generation;
    RenderPicture();
    if (!stillOpen(generation)) {
        return;
    }
    UpdateScrollBars();
    setCanvasVisible(true);
}

void Win32FrmPrev::cPlus_Click() {
    const SizeF next = viewer::zoomedIn({m_layout.canvas.width, m_layout.canvas.height});
    // Beyond what the scroll bars can reach the picture could not be seen whole: the canvas
    // stays as it is.
    if (!viewer::withinCanvasLimit(next)) {
        reachedLimit();
        return;
    }
    zoom(next);
}

void Win32FrmPrev::cMinus_Click() {
    zoom(viewer::zoomedOut({m_layout.canvas.width, m_layout.canvas.height}));
}

void Win32FrmPrev::cEqual_Click() {
    setCanvasVisible(false);
    ResizeViewPort();
    renderAndShow();
}

void Win32FrmPrev::cExact_Click() {
    zoom({static_cast<float>(m_source.width), static_cast<float>(m_source.height)});
}

void Win32FrmPrev::UpdateScrollBars() {
    if (!exists()) {
        return;
    }
    updateBar(kHScroll1, true);
    updateBar(kVScroll1, false);
}

// The bar runs from 0 at its left (top) end to the range's size at the other end; the canvas
// moves the other way: its left (top) is minus the bar's position.
void Win32FrmPrev::updateBar(int id, bool horizontal) {
    HWND bar = control(id);
    const SizeF inner = viewportInner();
    const viewer::ScrollAxis axis =
        viewer::scrollAxis(horizontal ? m_layout.canvas.width : m_layout.canvas.height,
                           horizontal ? inner.width : inner.height);
    SCROLLINFO now{sizeof now, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &now);
    if (!axis.needed) {
        if (now.nPos != now.nMin) {
            SCROLLINFO start{sizeof start, SIF_POS, 0, 0, 0, now.nMin, 0};
            SetScrollInfo(bar, SB_CTL, &start, TRUE); // moves the canvas, as a changed value does
            moveCanvas(horizontal, static_cast<float>(-now.nMin));
        }
        EnableWindow(bar, FALSE);
        moveCanvas(horizontal, axis.position);
        return;
    }
    ShowWindow(bar, SW_SHOWNA);
    EnableWindow(bar, TRUE);
    SCROLLINFO next{
        sizeof next, SIF_RANGE | SIF_PAGE | SIF_POS, 0, -axis.maximum, 0, -axis.value, 0};
    SetScrollInfo(bar, SB_CTL, &next, TRUE);
    // Only a changed value moves the canvas; an unchanged one leaves it where the action put it.
    if (now.nPos != -axis.value) {
        moveCanvas(horizontal, static_cast<float>(axis.value));
    }
}

void Win32FrmPrev::onScroll(HWND bar, int request) {
    const bool horizontal = bar == control(kHScroll1);
    if (!horizontal && bar != control(kVScroll1)) {
        return;
    }
    SCROLLINFO now{sizeof now, SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(bar, SB_CTL, &now)) {
        return;
    }
    int position = now.nPos;
    switch (LOWORD(request)) {
    case SB_LINELEFT:
        position -= viewer::kArrowStep;
        break;
    case SB_LINERIGHT:
        position += viewer::kArrowStep;
        break;
    case SB_PAGELEFT:
        position -= viewer::kPageStep;
        break;
    case SB_PAGERIGHT:
        position += viewer::kPageStep;
        break;
    case SB_THUMBTRACK: // dragging moves the canvas live
        position = now.nTrackPos;
        break;
    case SB_THUMBPOSITION:
        position = HIWORD(request);
        break;
    case SB_LEFT:
        position = now.nMin;
        break;
    case SB_RIGHT:
        position = now.nMax;
        break;
    default:
        return;
    }
    position = std::clamp(position, now.nMin, now.nMax);
    if (position == now.nPos) {
        return;
    }
    SCROLLINFO moved{sizeof moved, SIF_POS, 0, 0, 0, position, 0};
    SetScrollInfo(bar, SB_CTL, &moved, TRUE);
    moveCanvas(horizontal, static_cast<float>(-position));
}

void Win32FrmPrev::moveCanvas(bool horizontal, float position) {
    (horizontal ? m_layout.canvas.left : m_layout.canvas.top) = position;
    InvalidateRect(m_picCont, nullptr, FALSE);
}

void Win32FrmPrev::setCanvasVisible(bool shown) {
    m_canvasShown = shown;
    InvalidateRect(m_picCont, nullptr, FALSE);
}

void Win32FrmPrev::applyLayout() {
    const auto place = [this](HWND c, const RectF& r) {
        const RECT at = deviceRect(r);
        MoveWindow(c, at.left, at.top, at.right - at.left, at.bottom - at.top, TRUE);
    };
    place(m_picCont, m_layout.viewport);
    place(control(kHScroll1), m_layout.hScroll);
    place(control(kVScroll1), m_layout.vScroll);
    const RECT panel = deviceRect(m_layout.panel);
    SetWindowPos(m_picture1, nullptr, panel.left, panel.top, panel.right - panel.left,
                 panel.bottom - panel.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame style was added after the viewport was made: let it take effect.
    SetWindowPos(m_picCont, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(m_picCont, nullptr, FALSE);
}

void Win32FrmPrev::Form_Resize() {
    if (!exists() || IsIconic(hwnd())) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd(), &client);
    const float toLayout = 96.0f / static_cast<float>(dpi());
    m_layout = viewer::layoutPass(m_layout, static_cast<float>(client.right) * toLayout,
                                  static_cast<float>(client.bottom) * toLayout);
    applyLayout();
    UpdateScrollBars();
}

void Win32FrmPrev::reachedLimit() {
    m_dialogs.messageBox(LUMORA_TR("Lumora", "You reached the limit"), kProductName,
                         MessageIcon::None);
}

void Win32FrmPrev::showError(int number, const std::string& description) {
    m_dialogs.messageBox(
        compose(LUMORA_TR("Lumora", "error %1 : %2"), {std::to_string(number), description}),
        kProductName, MessageIcon::Critical);
}

void Win32FrmPrev::paintViewport(HDC dc, const RECT& area) {
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    const bool drawn = m_canvasShown && m_canvasDrawn && m_source;
    const RECT target = deviceRect(m_layout.canvas);
    RECT visible{};
    if (!drawn || IsRectEmpty(&target) || !IntersectRect(&visible, &target, &area)) {
        FillRect(dc, &area, face); // nothing of the canvas shows (or it shrank below a pixel)
        return;
    }
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
    FillRect(dc, &area, face);
    RestoreDC(dc, saved);

    // Only the visible part is stretched, whatever the canvas's size: the whole source pixels
    // that cover it, onto where they fall. No smoothing.
    const double width = target.right - target.left;
    const double height = target.bottom - target.top;
    const double perX = m_source.width / width;
    const double perY = m_source.height / height;
    const int sx0 = std::max(0, static_cast<int>(std::floor((visible.left - target.left) * perX)));
    const int sy0 = std::max(0, static_cast<int>(std::floor((visible.top - target.top) * perY)));
    const int sx1 =
        std::min(m_source.width, static_cast<int>(std::ceil((visible.right - target.left) * perX)));
    const int sy1 = std::min(m_source.height,
                             static_cast<int>(std::ceil((visible.bottom - target.top) * perY)));
    const int dx0 = target.left + static_cast<int>(std::lround(sx0 / perX));
    const int dy0 = target.top + static_cast<int>(std::lround(sy0 / perY));
    const int dx1 = target.left + static_cast<int>(std::lround(sx1 / perX));
    const int dy1 = target.top + static_cast<int>(std::lround(sy1 / perY));
    HDC source = CreateCompatibleDC(dc);
    {
        const Selection selected(source, m_source.bitmap.get());
        const int savedClip = SaveDC(dc);
        IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, dx0, dy0, dx1 - dx0, dy1 - dy0, source, sx0, sy0, sx1 - sx0, sy1 - sy0,
                   SRCCOPY);
        RestoreDC(dc, savedClip);
    }
    DeleteDC(source);
}

LRESULT CALLBACK Win32FrmPrev::panelProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id, DWORD_PTR /*self*/) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
        // The tool panel only holds the buttons: their news goes to the window.
        return SendMessageW(GetParent(window), message, wParam, lParam);
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, &Win32FrmPrev::panelProcedure, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32FrmPrev::viewportProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    auto* owner = reinterpret_cast<Win32FrmPrev*>(self);
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole below
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client{};
        GetClientRect(window, &client);
        owner->paintViewport(dc, client);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(window, &client);
        owner->paintViewport(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, &Win32FrmPrev::viewportProcedure, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void Win32FrmPrev::onDestroyed() {
    m_tips.reset();
    m_font.reset();
    m_bold.reset();
    m_picture1 = nullptr;
    m_picCont = nullptr;
    m_source = Dib();
    m_laidOut = false;
    m_busy = false;
}

LRESULT Win32FrmPrev::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam != FALSE && !m_laidOut && m_picCont != nullptr) {
            m_laidOut = true; // the first layout pass, when the window is first displayed
            Form_Resize();
        }
        return defaultHandling(message, wParam, lParam);
    case WM_SIZE:
        if (m_laidOut && wParam != SIZE_MINIMIZED) {
            Form_Resize(); // a new size, or restored
        }
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case kCPlus:
                cPlus_Click();
                break;
            case kCMinus:
                cMinus_Click();
                break;
            case kCEqual:
                cEqual_Click();
                break;
            case kCExact:
                cExact_Click();
                break;
            default:
                break; // chkExact: its click does nothing
            }
        }
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam != 0) {
            onScroll(reinterpret_cast<HWND>(lParam), static_cast<int>(wParam));
        }
        return 0;
    case WM_SETCURSOR:
        if (m_busy) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        return defaultHandling(message, wParam, lParam);
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

} // namespace lumora
