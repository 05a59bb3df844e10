#include "windows/ui/settings_window/win32_frm_main.h"
#include "core/text/translation.h"
#include "windows/platform/wic_decode.h"
#include "windows/platform/wide_text.h"

#include <commctrl.h>
#include <malloc.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace lumora {

namespace {

// Control ids: Label1(i) 100 + i, Label2(i) 200 + i, Label3(i) 300 + i, Image1(i) 400 + i.
constexpr int kLabel1Id = 100;
constexpr int kLabel2Id = 200;
constexpr int kLabel3Id = 300;
constexpr int kImage1Id = 400;

constexpr COLORREF colourOf(Colorref c) {
    return RGB(c.red(), c.green(), c.blue());
}

constexpr COLORREF kBackground = colourOf(kSettingsBackground);

int idOf(ControlArray array, int index) {
    switch (array) {
    case ControlArray::Label1:
        return kLabel1Id + index;
    case ControlArray::Label2:
        return kLabel2Id + index;
    case ControlArray::Label3:
        return kLabel3Id + index;
    case ControlArray::Image1:
        return kImage1Id + index;
    }
    return 0;
}

RECT at96(const LayoutRect& r) {
    return {r.left, r.top, r.right(), r.bottom()};
}

// COM for this thread while the object lives (a thread that has it already keeps it).
class ComScope {
public:
    explicit ComScope(DWORD model) : m_done(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (m_done) {
            CoUninitialize();
        }
    }

private:
    bool m_done;
};

std::optional<DecodedPicture> decodeThumbnail(const ThumbnailCache& cache, int day,
                                              const std::string& path, DWORD model) {
    const ComScope com(model);
    return cache.load(day, path, PixelSize{Win32FrmMain::kThumbWidth, Win32FrmMain::kThumbHeight});
}

// A BMP file's pixels in a DIB section of its own size; empty when the bytes are no BMP.
Dib dibOfBmp(const std::vector<std::uint8_t>& bytes) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    if (bytes.size() < sizeof file + sizeof header) {
        return {};
    }
    std::memcpy(&file, bytes.data(), sizeof file);
    std::memcpy(&header, bytes.data() + sizeof file, sizeof header);
    if (file.bfType != 0x4D42 || file.bfOffBits >= bytes.size() || header.biWidth <= 0 ||
        header.biHeight == 0) {
        return {};
    }
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    Dib dib = makeDib(header.biWidth, height);
    if (!dib) {
        return dib;
    }
    // The header with its colour table, as SetDIBits wants it.
    std::vector<std::uint8_t> info(bytes.begin() + static_cast<std::ptrdiff_t>(sizeof file),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(file.bfOffBits));
    HDC screen = GetDC(nullptr);
    const int rows = SetDIBits(screen, dib.bitmap.get(), 0, static_cast<UINT>(height),
                               bytes.data() + file.bfOffBits,
                               reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == height ? std::move(dib) : Dib{};
}

Font boldOf(HFONT font) {
    LOGFONTW face{};
    GetObjectW(font, sizeof face, &face);
    face.lfWeight = FW_BOLD;
    return Font(CreateFontIndirectW(&face));
}

// A menu or a tooltip closing hands the activation back: that is no return to the window.
bool isPopupOfTheSystem(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return lstrcmpiW(name, L"#32768") == 0 || lstrcmpiW(name, TOOLTIPS_CLASSW) == 0;
}

} // namespace

Win32FrmMain::Win32FrmMain(const Resources& resources, std::function<void(HWND)> topMost,
                           std::wstring thumbnailFolder)
    : m_resources(resources), m_topMost(std::move(topMost)), m_cache(std::move(thumbnailFolder)),
      m_view(buildSettingsView(SettingsWindowModel{})), m_title(translated(m_view.caption)) {}

Win32FrmMain::~Win32FrmMain() {
    for (std::future<void>& worker : m_workers) {
        worker.wait();
    }
    for (Pending& pending : m_pending) {
        if (pending.picture.valid()) {
            pending.picture.wait();
        }
    }
    m_tips.reset();
    destroy();
}

bool Win32FrmMain::build() {
    if (m_built) {
        return true;
    }
    if (m_destroyed) {
        return false;
    }
    const std::vector<std::uint8_t> icon = m_resources.bytes("icon_png");
    if (!icon.empty()) {
        m_icon.reset(CreateIconFromResourceEx(const_cast<PBYTE>(icon.data()),
                                              static_cast<DWORD>(icon.size()), TRUE, 0x00030000, 0,
                                              0, LR_DEFAULTCOLOR));
    }
    WindowSpec spec;
    spec.title = wideFromUtf8(m_title);
    spec.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    spec.clientWidth = kClientWidth;
    spec.clientHeight = kClientHeight;
    spec.icon = m_icon.get();
    if (!exists() && !create(spec)) {
        return false;
    }
    m_noPicture = dibOfBmp(m_resources.bytes("nopicture_bmp"));
    m_tips = std::make_unique<Tooltips>(hwnd());
    // In the layout table's order: each day's name, thumbnail, letter and mark, then the column.
    for (const LayoutControl& control : settingsControls()) {
        const DWORD align = control.align == CaptionAlign::Centre ? SS_CENTER : SS_LEFT;
        const ControlRow row{idOf(control.array, control.index),
                             WC_STATICW,
                             L"",
                             align | SS_NOTIFY | SS_NOPREFIX | WS_CLIPSIBLINGS,
                             at96(control.rect),
                             L""};
        HWND made = makeControl(hwnd(), row, 96, nullptr);
        SetWindowSubclass(made, &Win32FrmMain::controlProcedure, 1,
                          reinterpret_cast<DWORD_PTR>(this));
        const std::size_t s = slot(control.index);
        switch (control.array) {
        case ControlArray::Label1:
            m_label1[s] = made;
            break;
        case ControlArray::Label2:
            m_label2[s] = made;
            break;
        case ControlArray::Label3:
            m_label3[s] = made;
            break;
        case ControlArray::Image1:
            m_image1[s] = made;
            break;
        }
    }
    m_built = true;
    layout();
    applyView();
    return true;
}

Win32FrmMain& Win32FrmMain::controls() {
    build();
    return *this;
}

void Win32FrmMain::layout() {
    const int dpi = this->dpi();
    if (m_fontDpi != dpi) {
        m_font = makeFont(L"Tahoma", 8.25, dpi);
        m_boldFont = boldOf(m_font.get());
        m_fontDpi = dpi;
    }
    for (const LayoutControl& control : settingsControls()) {
        const LayoutRect& b = control.rect;
        const int id = idOf(control.array, control.index);
        HWND made = GetDlgItem(hwnd(), id);
        SetWindowPos(made, nullptr, scaled(b.left), scaled(b.top),
                     scaled(b.right()) - scaled(b.left), scaled(b.bottom()) - scaled(b.top),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        const bool bold = m_bold.at(static_cast<std::size_t>(id));
        SendMessageW(made, WM_SETFONT,
                     reinterpret_cast<WPARAM>(bold ? m_boldFont.get() : m_font.get()), TRUE);
    }
    m_backdropDirty = true;
    redrawBackdrop();
}

void Win32FrmMain::render(const SettingsView& view) {
    m_view = view;
    const std::string title = translated(view.caption);
    if (title != m_title) {
        m_title = title;
        if (m_built) {
            SetWindowTextW(hwnd(), wideFromUtf8(m_title).c_str());
        }
    }
    if (m_built) {
        applyView();
    }
}

void Win32FrmMain::applyLabel(HWND label, const LabelView& view) {
    const std::wstring caption = wideFromUtf8(translated(view.caption));
    if (windowText(label) != caption) {
        SetWindowTextW(label, caption.c_str());
    }
    const std::wstring tip = wideFromUtf8(translated(view.toolTip));
    if (m_tips->tipOf(label) != tip) {
        m_tips->setTip(label, tip);
    }
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(label));
    const COLORREF colour = colourOf(view.colour);
    if (m_colour.at(id) != colour) {
        m_colour.at(id) = colour;
        InvalidateRect(label, nullptr, TRUE);
    }
    if (m_bold.at(id) != view.bold) {
        m_bold.at(id) = view.bold;
        SendMessageW(label, WM_SETFONT,
                     reinterpret_cast<WPARAM>(view.bold ? m_boldFont.get() : m_font.get()), TRUE);
    }
    const bool visible = (GetWindowLongPtrW(label, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible != view.visible) {
        ShowWindow(label, view.visible ? SW_SHOWNA : SW_HIDE);
    }
}

void Win32FrmMain::applyView() {
    for (std::size_t i = 1; i < m_label1.size(); ++i) {
        applyLabel(m_label1[i], m_view.label1[i]);
    }
    for (std::size_t i = 1; i <= 7; ++i) {
        applyLabel(m_label2[i], m_view.label2[i]);
        applyLabel(m_label3[i], m_view.label3[i]);
        const std::wstring tip = wideFromUtf8(translated(m_view.image1[i].toolTip));
        if (m_tips->tipOf(m_image1[i]) != tip) {
            m_tips->setTip(m_image1[i], tip);
        }
        if (m_drawnShows[i] != m_view.image1[i].shows) {
            m_backdropDirty = true;
        }
    }
    redrawBackdrop();
}

void Win32FrmMain::redrawBackdrop() {
    if (!m_built || !m_backdropDirty) {
        return;
    }
    m_backdropDirty = false;
    RECT client{};
    GetClientRect(hwnd(), &client);
    HDC screen = GetDC(hwnd());
    m_backdrop.reset(CreateCompatibleBitmap(screen, client.right, client.bottom));
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(hwnd(), screen);
    {
        const Selection selected(dc, m_backdrop.get());
        paintBackdrop(dc);
    }
    DeleteDC(dc);
    m_backdropBrush.reset(CreatePatternBrush(m_backdrop.get()));
    for (std::size_t i = 1; i <= 7; ++i) {
        m_drawnShows[i] = m_view.image1[i].shows;
    }
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32FrmMain::paintBackdrop(HDC dc) const {
    const auto scaledRect = [this](const LayoutRect& b) {
        return RECT{scaled(b.left), scaled(b.top), scaled(b.right()), scaled(b.bottom())};
    };
    RECT client{};
    GetClientRect(hwnd(), &client);
    const Brush grey(CreateSolidBrush(kBackground));
    FillRect(dc, &client, grey.get());
    // The column's backgrounds, then the outline squares behind each style letter and mark.
    const Selection hollow(dc, GetStockObject(NULL_BRUSH));
    for (const LayoutShape& shape : settingsShapes()) {
        const RECT r = scaledRect(shape.rect);
        if (shape.filled) {
            const Brush fill(CreateSolidBrush(colourOf(shape.colour)));
            FillRect(dc, &r, fill.get());
        } else {
            const Pen outline(CreatePen(PS_SOLID, scaled(1), colourOf(shape.colour)));
            const Selection pen(dc, outline.get());
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
    }
    // The thumbnails, stretched to fill their boxes (the aspect is not kept).
    HDC source = CreateCompatibleDC(dc);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (std::size_t i = 1; i <= 7; ++i) {
        const Dib* picture = nullptr;
        switch (m_view.image1[i].shows) {
        case DayPanelState::Thumbnail::Picture:
            picture = &m_thumbnails[i];
            break;
        case DayPanelState::Thumbnail::NoPicture:
            picture = &m_noPicture;
            break;
        case DayPanelState::Thumbnail::Empty:
            break;
        }
        if (picture == nullptr || !*picture) {
            continue;
        }
        const RECT r = scaledRect(settingsControl(ControlArray::Image1, static_cast<int>(i)).rect);
        const Selection selected(source, picture->bitmap.get());
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
                   picture->width, picture->height, SRCCOPY);
    }
    DeleteDC(source);
}

void Win32FrmMain::printInto(HDC dc, LPARAM flags) {
    if (!m_built) {
        return;
    }
    if (!m_backdrop) {
        redrawBackdrop(); // a hidden window drawn on request
    }
    RECT client{};
    GetClientRect(hwnd(), &client);
    HDC source = CreateCompatibleDC(dc);
    {
        const Selection selected(source, m_backdrop.get());
        BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    }
    DeleteDC(source);
    if ((flags & PRF_CHILDREN) == 0) {
        return;
    }
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) == 0) {
            continue;
        }
        // Each control draws at its own origin (a control clips to its client area in device
        // units), then lands at its place.
        const RECT r = childRect(child);
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        const Bitmap canvas(CreateCompatibleBitmap(dc, width, height));
        HDC own = CreateCompatibleDC(dc);
        {
            const Selection selected(own, canvas.get());
            SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(own), PRF_CLIENT);
            BitBlt(dc, r.left, r.top, width, height, own, 0, 0, SRCCOPY);
        }
        DeleteDC(own);
    }
}

LRESULT Win32FrmMain::labelColour(HDC dc, HWND control) {
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(control));
    SetTextColor(dc, id < m_colour.size() ? m_colour[id] : kBackground);
    SetBkMode(dc, TRANSPARENT);
    // The backdrop brush lines up with the window: the control shows what lies beneath it.
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    const RECT r = childRect(control);
    SetBrushOrgEx(dc, origin.x - r.left, origin.y - r.top, nullptr);
    return reinterpret_cast<LRESULT>(m_backdropBrush.get());
}

void Win32FrmMain::onCommand(WORD id, WORD code) {
    // A double click's second press is a click of its own, as a fast second click in the Qt
    // window is.
    if (code != STN_CLICKED && code != STN_DBLCLK) {
        return;
    }
    const int index = id % 100;
    switch (id / 100) {
    case kLabel1Id / 100:
        fire(m_events.label1Clicked, index);
        break;
    case kLabel2Id / 100:
        fire(m_events.label2Clicked, index);
        break;
    case kLabel3Id / 100:
        fire(m_events.label3Clicked, index);
        break;
    case kImage1Id / 100:
        fire(m_events.image1Clicked, index);
        break;
    default:
        break;
    }
}

void Win32FrmMain::controlMoved(HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id / 100 == kLabel1Id / 100) {
        fire(m_events.label1Moved);
    } else if (id / 100 == kImage1Id / 100) {
        fire(m_events.image1Moved, id % 100);
    }
    // The style letters and the remove marks leave the information panel as it is.
}

LRESULT CALLBACK Win32FrmMain::controlProcedure(HWND control, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE) {
        reinterpret_cast<Win32FrmMain*>(self)->controlMoved(control);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, &Win32FrmMain::controlProcedure, id);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void Win32FrmMain::onWindowPosChanged(const WINDOWPOS& pos) {
    // Nothing ticks while the window is hidden: an idle program stays asleep.
    if ((pos.flags & SWP_SHOWWINDOW) != 0 && !m_visible) {
        m_visible = true;
        redrawBackdrop();
        SetTimer(hwnd(), kCaptionTimer, 1000, nullptr);
        SetTimer(hwnd(), kBlinkTimer, 500, nullptr);
        fire(m_events.shown);
    } else if ((pos.flags & SWP_HIDEWINDOW) != 0 && m_visible) {
        m_visible = false;
        KillTimer(hwnd(), kCaptionTimer);
        KillTimer(hwnd(), kBlinkTimer);
        // A hidden window holds no backdrop: it is drawn again when the window shows.
        m_backdropBrush.reset();
        m_backdrop.reset();
        m_backdropDirty = true;
    }
}

void Win32FrmMain::onActivate(WPARAM wParam, HWND other) {
    // Back from another window of the program; a return from another application does not
    // count, and a first show is the show's own activation.
    if (LOWORD(wParam) == WA_INACTIVE || !m_visible || other == nullptr || other == hwnd()) {
        return;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(other, &process);
    if (process != GetCurrentProcessId() || isPopupOfTheSystem(other)) {
        return;
    }
    fire(m_events.activatedFromProgramWindow);
}

LRESULT Win32FrmMain::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        return labelColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEMOVE:
        // Real movement over the window background; tray events come from the tray host only.
        fire(m_events.backgroundMoved);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(hwnd(), &paint);
        printInto(dc, PRF_CLIENT);
        EndPaint(hwnd(), &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        printInto(reinterpret_cast<HDC>(wParam), lParam);
        return 0;
    case WM_TIMER:
        if (wParam == kCaptionTimer) {
            fire(m_events.captionTick);
        } else if (wParam == kBlinkTimer) {
            fire(m_events.blinkTick);
        }
        return 0;
    case WM_WINDOWPOSCHANGED:
        onWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
        break;
    case WM_ACTIVATE:
        onActivate(wParam, reinterpret_cast<HWND>(lParam));
        break;
    case WM_CLOSE:
        if (m_destroyed) {
            break;
        }
        // The close box never ends the program: the window is only hidden.
        fire(m_events.closeRequested);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_F1) {
            fire(m_events.helpKeyPressed);
            return 0;
        }
        break;
    case WM_HELP:
        return TRUE; // F1 is the key's own
    case WM_DPICHANGED:
        if (m_built) {
            layout();
        }
        return 0;
    default:
        break;
    }
    return defaultHandling(message, wParam, lParam);
}

std::string Win32FrmMain::caption() const {
    return m_title;
}

bool Win32FrmMain::isShown() const {
    return exists() && IsWindowVisible(hwnd()) != FALSE;
}

void Win32FrmMain::showWindow() {
    if (!m_destroyed && build()) {
        ShowWindow(hwnd(), SW_SHOW);
    }
}

void Win32FrmMain::hideWindow() {
    if (exists()) {
        ShowWindow(hwnd(), SW_HIDE);
    }
}

void Win32FrmMain::setTopMost() {
    if (!build()) {
        return;
    }
    if (m_topMost) {
        m_topMost(hwnd());
    } else {
        SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

void Win32FrmMain::popupMenu() {
    if (m_trayMenu != nullptr) {
        m_trayMenu->popupMenu();
    }
}

void Win32FrmMain::menuChanged() {
    if (m_trayMenu != nullptr) {
        m_trayMenu->menuChanged();
    }
}

void Win32FrmMain::destroyWindow() {
    m_destroyed = true;
    hideWindow();
    fire(m_events.unloadedForGood);
}

void Win32FrmMain::prepareThumbnails(const std::vector<std::pair<int, std::string>>& days) {
    // Decoded side by side, as many at once as there are processors: a 6000 x 4000 JPEG may be
    // decoded whole before it is scaled, and seven of those at once would take hundreds of MiB.
    for (std::future<void>& worker : m_workers) {
        worker.wait();
    }
    m_workers.clear();
    struct Job {
        int day;
        std::string path;
        std::promise<std::optional<DecodedPicture>> result;
    };
    auto jobs = std::make_shared<std::vector<Job>>();
    for (const auto& [day, path] : days) {
        Pending& pending = m_pending.at(slot(day));
        if (pending.picture.valid()) {
            pending.picture.wait();
        }
        Job job{day, path, {}};
        pending.path = path;
        pending.picture = job.result.get_future();
        jobs->push_back(std::move(job));
    }
    auto next = std::make_shared<std::atomic<std::size_t>>(0);
    const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min(processors, jobs->size());
    for (std::size_t w = 0; w < workers; ++w) {
        m_workers.push_back(std::async(std::launch::async, [this, jobs, next] {
            const ComScope com(COINIT_MULTITHREADED);
            for (std::size_t i = (*next)++; i < jobs->size(); i = (*next)++) {
                Job& job = (*jobs)[i];
                try {
                    job.result.set_value(
                        m_cache.load(job.day, job.path, PixelSize{kThumbWidth, kThumbHeight}));
                } catch (...) {
                    job.result.set_exception(std::current_exception());
                }
            }
        }));
    }
}

std::optional<PixelSize> Win32FrmMain::loadThumbnail(int weekdayNumber, const std::string& path) {
    Pending& pending = m_pending.at(slot(weekdayNumber));
    std::optional<DecodedPicture> made;
    if (pending.picture.valid() && pending.path == path) {
        try {
            made = pending.picture.get();
        } catch (...) {
            made.reset();
        }
    } else {
        if (pending.picture.valid()) {
            pending.picture.wait();
        }
        made = decodeThumbnail(m_cache, weekdayNumber, path, COINIT_APARTMENTTHREADED);
    }
    pending = {};
    m_thumbnails.at(slot(weekdayNumber)) = made ? dibOf(*made) : Dib{};
    m_backdropDirty = true;
    if (!made) {
        return std::nullopt;
    }
    return made->source;
}

void Win32FrmMain::dropThumbnails() {
    for (Dib& thumbnail : m_thumbnails) {
        thumbnail = Dib{};
    }
    m_backdropDirty = true;
    redrawBackdrop();
    // The decoders' freed blocks go back to the system, so a closed window costs nothing.
    _heapmin();
    HeapCompact(GetProcessHeap(), 0);
}

std::wstring Win32FrmMain::tipOf(HWND control) const {
    return m_tips ? m_tips->tipOf(control) : std::wstring();
}

bool Win32FrmMain::isBold(HWND label) const {
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(label));
    return id < m_bold.size() && m_bold[id];
}

void connectFrmMain(Win32FrmMain& window, FrmMainLogic& logic) {
    SettingsEditor& editor = logic.editor;
    TrayController& tray = logic.tray;
    Win32FrmMainEvents e;
    e.label1Clicked = [&editor](int i) { editor.Label1_Click(i); };
    e.label2Clicked = [&editor](int i) { editor.Label2_Click(i); };
    e.label3Clicked = [&editor](int i) { editor.Label3_Click(i); };
    e.image1Clicked = [&editor](int i) { editor.Image1_Click(i); };
    e.image1Moved = [&editor](int i) { editor.Image1_MouseMove(i); };
    e.label1Moved = [&editor] { editor.Label1_MouseMove(); };
    e.backgroundMoved = [&editor] { editor.Label1_MouseMove(); };
    e.shown = [&editor] { editor.windowShown(); };
    e.activatedFromProgramWindow = [&editor] { editor.Form_Activate(); };
    e.closeRequested = [&tray] { tray.Form_QueryUnload(vbFormControlMenu); };
    e.helpKeyPressed = [&tray] { tray.Form_KeyDown(vbKeyF1, 0); };
    e.captionTick = [&editor] { editor.refreshCaption(); };
    e.blinkTick = [&editor] { editor.Timer2_Timer(); };
    window.setEvents(std::move(e));
}

} // namespace lumora
