#include "core/text/window_texts.h"

#include "windows/platform/wide_text.h"
#include "windows/ui/auxiliary/win32_frm_about.h"
#include "windows/ui/auxiliary/win32_placement.h"
#include "windows/ui/auxiliary/win32_sys_mod.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace lumora {

namespace {

// The parts of a BMP file the window draws from: its header and its pixels.
struct BmpView {
    const BITMAPINFO* info = nullptr;
    const std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0; // rows, whichever way they run
};

BmpView bmpView(const std::vector<std::uint8_t>& file) {
    BmpView view;
    if (file.size() < 14 + sizeof(BITMAPINFOHEADER) || file[0] != 'B' || file[1] != 'M') {
        return view;
    }
    std::uint32_t offset = 0;
    std::memcpy(&offset, file.data() + 10, sizeof offset);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, file.data() + 14, sizeof header);
    const long long rows = std::llabs(static_cast<long long>(header.biHeight));
    const long long stride =
        ((static_cast<long long>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    if (header.biWidth <= 0 || rows == 0 || offset > file.size() ||
        static_cast<long long>(file.size() - offset) < stride * rows) {
        return view;
    }
    view.info = reinterpret_cast<const BITMAPINFO*>(file.data() + 14);
    view.bits = file.data() + offset;
    view.width = static_cast<int>(header.biWidth);
    view.height = static_cast<int>(rows);
    return view;
}

} // namespace

Win32FrmAbout::Win32FrmAbout(const Clock& clock, const Resources& resources,
                             std::function<void()> settingsWindowWanted)
    : m_clock(clock), m_settingsWindowWanted(std::move(settingsWindowWanted)),
      m_logo(resources.bytes("logo_bmp")) {}

Win32FrmAbout::~Win32FrmAbout() {
    m_settingsWindowWanted = nullptr; // going away is no close by the user
    destroy();
}

void Win32FrmAbout::StrtPrg(std::int16_t timShw, bool oldStatus) {
    m_timShw = timShw;
    // Enabling the clock is the first use of the window: it loads it, with TimShw already stored.
    if (!exists()) {
        Form_Load();
        if (!exists()) {
            return;
        }
    }
    if (!m_timer1On) {
        m_timer1On = SetTimer(hwnd(), kTimer1, kClockInterval, nullptr) != 0;
    }
    m_oldStatus = oldStatus;
    if (timShw == 0) {
        KillTimer(hwnd(), kTimer2);
        m_timer2On = false;
        ShowWindow(hwnd(), SW_SHOW);
    } else {
        ShowWindow(hwnd(), SW_SHOW);
        if (!m_timer2On) {
            m_timer2On = SetTimer(hwnd(), kTimer2, kAutoCloseInterval, nullptr) != 0;
        }
    }
    SetTopMost(hwnd(), kTopMostTrue);
}

void Win32FrmAbout::Form_Load() {
    if (!create({L"Lumora", WS_POPUP | WS_BORDER, 0, kClientWidth, kClientHeight})) {
        return;
    }
    m_font = makeFont(L"Tahoma", 8.25, dpi());
    // The tooltips are owned by no window: under Wine a window that owns a topmost popup stays
    // below it, and is then never made topmost itself.
    m_tips = std::make_unique<Tooltips>(nullptr);
    // The labels lie over the picture and let the clicks through to the window; the hot spot
    // takes them itself (for its tooltip) and reports them.
    const ControlRow rows[] = {
        {kLabel1, WC_STATICW, L"", SS_RIGHT | SS_CENTERIMAGE, {87, 292, 403, 305}, L""},
        {kLabel2, WC_STATICW, L"", SS_LEFT | SS_CENTERIMAGE, {14, 292, 64, 305}, L""},
        {kLabel3,
         WC_STATICW,
         L"",
         SS_LEFT | SS_NOTIFY,
         {38, 264, 141, 285},
         wideFromUtf8(aboutContactTip())},
    };
    makeControls(hwnd(), rows, dpi(), m_font.get(), m_tips.get());
    showLabel1();
    setLabelText(kLabel2, wideFromUtf8(aboutVersionText()));
    centreOnScreen(hwnd());
}

void Win32FrmAbout::showLabel1() {
    setLabelText(kLabel1, wideFromUtf8(aboutClockText(m_timShw, m_clock.now(), m_clock)));
}

void Win32FrmAbout::setLabelText(int id, const std::wstring& text) {
    HWND control = label(id);
    if (control == nullptr) {
        return;
    }
    SetWindowTextW(control, text.c_str());
    // A transparent label leaves its old text behind: the picture under it is drawn again first.
    const RECT at = childRect(control);
    RedrawWindow(hwnd(), &at, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32FrmAbout::Timer1_Timer() {
    if (exists()) {
        showLabel1();
    }
}

void Win32FrmAbout::Timer2_Timer() {
    unload();
}

void Win32FrmAbout::unload() {
    if (!exists() || m_unloading) {
        return;
    }
    m_unloading = true;
    const bool bringBackSettings = m_oldStatus;
    Form_Unload();
    destroy();
    m_unloading = false;
    if (bringBackSettings && m_settingsWindowWanted) {
        m_settingsWindowWanted();
    }
}

void Win32FrmAbout::Form_Unload() {
    if (exists()) {
        KillTimer(hwnd(), kTimer1);
        KillTimer(hwnd(), kTimer2);
    }
    m_timer1On = false;
    m_timer2On = false;
    m_pressed = false;
    m_timShw = 0;
    m_oldStatus = false;
}

void Win32FrmAbout::onDestroyed() {
    Form_Unload();
    m_tips.reset();
    m_font.reset();
}

std::wstring Win32FrmAbout::tipOf(int id) const {
    HWND control = label(id);
    return m_tips != nullptr && control != nullptr ? m_tips->tipOf(control) : std::wstring();
}

COLORREF Win32FrmAbout::logoPixel(int x, int y) const {
    const BmpView view = bmpView(m_logo);
    if (view.bits == nullptr || view.info->bmiHeader.biBitCount != 24 || x < 0 || y < 0 ||
        x >= view.width || y >= view.height) {
        return CLR_INVALID;
    }
    const int stride = ((view.width * 24 + 31) / 32) * 4;
    const int row = view.info->bmiHeader.biHeight > 0 ? view.height - 1 - y : y;
    const std::uint8_t* p = view.bits + static_cast<std::ptrdiff_t>(row) * stride + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void Win32FrmAbout::paint(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const BmpView view = bmpView(m_logo);
    if (view.bits == nullptr) {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return;
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, view.width, view.height, view.bits,
                  view.info, DIB_RGB_COLORS, SRCCOPY);
}

LRESULT Win32FrmAbout::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the picture covers the client area
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        paint(dc);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kTextColour);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_TIMER:
        if (wParam == kTimer1) {
            Timer1_Timer();
        } else if (wParam == kTimer2) {
            KillTimer(hwnd(), kTimer2);
            m_timer2On = false;
            Timer2_Timer();
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // A click on the window, the picture or a label: presses on the labels come here too.
        m_pressed = true;
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool click = m_pressed && PtInRect(&client, at);
        m_pressed = false;
        if (click) {
            unload();
        }
        return 0;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        unload(); // the border
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kLabel3 && HIWORD(wParam) == STN_CLICKED) {
            unload();
        }
        return 0;
    case WM_CLOSE:
        unload();
        return 0;
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

} // namespace lumora
