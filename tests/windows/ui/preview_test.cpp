// The preview window made in-process and driven with its own messages: the caption, load
// errors, the canvas and both scroll bars after each action for a picture larger than the
// window, smaller, and very wide, the drawn pixels, the controls' texts, rectangles and tips,
// the busy pointer, the bound on Zoom In, and staying on top.
#include "core/viewer/viewer_geometry.h"

#include "windows/platform/wide_text.h"
#include "windows/ui/preview/win32_frm_prev.h"
#include "windows/ui/window/controls.h"

#include "window_capture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace lumora {
namespace {

using test::capture;
using viewer::RectF;

constexpr std::uint32_t kRed = 0xC81E28;    // 200, 30, 40
constexpr std::uint32_t kBlue = 0x1E28C8;   // 30, 40, 200
constexpr std::uint32_t kGreen = 0x1EC828;  // 30, 200, 40
constexpr std::uint32_t kYellow = 0xDCDC14; // 220, 220, 20

COLORREF colorOf(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class PreviewTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_window.reset();
        test::pumpUntil([] { return true; });
    }
    // A picture of four quadrants: red, blue on top; green, yellow below.
    std::string quadrants(const wchar_t* name, int w, int h) {
        const std::wstring path = m_dir.file(name);
        test::writeBmp(path, w, h, [w, h](int x, int y) {
            return y < h / 2 ? (x < w / 2 ? kRed : kBlue) : (x < w / 2 ? kGreen : kYellow);
        });
        return utf8FromWide(path);
    }
    std::string plain(const wchar_t* name, int w, int h) {
        const std::wstring path = m_dir.file(name);
        test::writeBmp(path, w, h, [](int, int) { return kRed; });
        return utf8FromWide(path);
    }
    std::string caption() const { return utf8FromWide(windowText(m_window->hwnd())); }
    void click(int id) {
        HWND button = m_window->control(id);
        ASSERT_NE(button, nullptr) << id;
        // What a click on the button sends its parent, the tool panel.
        SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
    void scroll(int id, int request) {
        HWND bar = m_window->control(id);
        SendMessageW(m_window->hwnd(), id == Win32FrmPrev::kHScroll1 ? WM_HSCROLL : WM_VSCROLL,
                     static_cast<WPARAM>(request), reinterpret_cast<LPARAM>(bar));
    }
    COLORREF viewportPixel(int x, int y) {
        const test::Capture shot = capture(m_window->control(Win32FrmPrev::kPicCont), true);
        return shot.at(x, y);
    }

    test::TempFolder m_dir;
    test::RecordingDialogs m_boxes;
    std::unique_ptr<Win32FrmPrev> m_window = std::make_unique<Win32FrmPrev>(m_boxes, L"en-US");
};

TEST_F(PreviewTest, CaptionGivesPixelsAndSizeWithTheLocalesGrouping) {
    const std::string sea = plain(L"Sea.bmp", 1024, 768); // 2,359,350 bytes
    m_window->StartProj(sea);
    EXPECT_EQ(caption(), "Lumora - " + sea + " [1024 x 768 pixels - 2,304 KB]");
    Win32FrmPrev german(m_boxes, L"de-DE");
    const std::string small = plain(L"small.bmp", 20, 20); // 1,254 bytes
    german.StartProj(small);
    EXPECT_EQ(utf8FromWide(windowText(german.hwnd())),
              "Lumora - " + small + " [20 x 20 pixels - 1.254 Bytes]");
    HWND first = m_window->hwnd();
    m_window->StartProj(small); // the open window again: its picture and caption replaced
    EXPECT_EQ(m_window->hwnd(), first);
    EXPECT_EQ(caption(), "Lumora - " + small + " [20 x 20 pixels - 1,254 Bytes]");
    EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(PreviewTest, BrokenPictureKeepsCaptionAndShowsWindow) {
    const std::wstring notes = m_dir.file(L"notes.jpg");
    {
        std::ofstream out(std::filesystem::path(notes), std::ios::binary);
        out << "not a picture";
    }
    CreateDirectoryW(m_dir.file(L"folder.bmp").c_str(), nullptr);
    const std::pair<std::string, const char*> rows[] = {
        {utf8FromWide(m_dir.file(L"gone.jpg")), "error 53 : File not found"},
        {utf8FromWide(m_dir.file(L"no folder\\gone.jpg")), "error 53 : File not found"},
        {utf8FromWide(notes), "error 481 : Invalid picture"},
        {utf8FromWide(m_dir.file(L"folder.bmp")), "error 75 : Path/File access error"},
    };
    m_window->StartProj(plain(L"good.bmp", 64, 48));
    const std::string before = caption();
    for (const auto& [path, box] : rows) {
        SCOPED_TRACE(path);
        m_boxes.shown.clear();
        m_window->StartProj(path);
        EXPECT_EQ(m_boxes.shown, std::vector<std::string>{std::string("Lumora|3|") + box});
        EXPECT_EQ(caption(), before);
        EXPECT_TRUE(IsWindowVisible(m_window->hwnd()) && m_window->canvasShown());
        EXPECT_EQ(m_window->sourceWidth(), 64); // the old picture stays
        EXPECT_EQ(m_window->sourceHeight(), 48);
    }
    Win32FrmPrev fresh(m_boxes, L"en-US");
    fresh.StartProj(rows[0].first);
    EXPECT_EQ(windowText(fresh.hwnd()), L"Lumora");
    EXPECT_TRUE(IsWindowVisible(fresh.hwnd()));
}

// One scroll bar as GetScrollInfo and the window's styles give it.
struct Bar {
    bool shown;
    bool enabled;
    int maximum; // the range runs 0..maximum; the canvas's left (top) is minus the position
    int position;
    friend bool operator==(const Bar&, const Bar&) = default;
};

void PrintTo(const Bar& bar, std::ostream* out) {
    *out << "{shown " << bar.shown << ", enabled " << bar.enabled << ", 0.." << bar.maximum
         << " at " << bar.position << "}";
}

enum class Act {
    Start,
    StartExact,
    Fit,
    ZoomIn,
    ZoomOut,
    Exact,
    PageRight,
    LineDown,
    End,
    Resize400x300
};

struct Step {
    Act act;
    RectF canvas;
    Bar h;
    Bar v;
};

struct BarsRow {
    const char* name;
    int width, height;
    std::vector<Step> steps;
};

class PreviewBars : public PreviewTest, public ::testing::WithParamInterface<BarsRow> {
protected:
    Bar bar(int id) {
        HWND control = m_window->control(id);
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        EXPECT_TRUE(GetScrollInfo(control, SB_CTL, &info));
        EXPECT_EQ(info.nMin, 0);
        const bool shown = (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
        return {shown, IsWindowEnabled(control) != FALSE, info.nMax, info.nPos};
    }
};

// Each action's canvas and both bars, as the layout and scrolling rules give them for a client
// area of 520 x 430 (viewport inner 495 x 369).
TEST_P(PreviewBars, AfterEachAction) {
    const BarsRow& row = GetParam();
    const std::string picture = quadrants(L"picture.bmp", row.width, row.height);
    for (const Step& step : row.steps) {
        switch (step.act) {
        case Act::Start:
            m_window->StartProj(picture);
            break;
        case Act::StartExact:
            SendMessageW(m_window->control(Win32FrmPrev::kChkExact), BM_SETCHECK, BST_CHECKED, 0);
            m_window->StartProj(picture);
            break;
        case Act::Fit:
            click(Win32FrmPrev::kCEqual);
            break;
        case Act::ZoomIn:
            click(Win32FrmPrev::kCPlus);
            break;
        case Act::ZoomOut:
            click(Win32FrmPrev::kCMinus);
            break;
        case Act::Exact:
            click(Win32FrmPrev::kCExact);
            break;
        case Act::PageRight:
            scroll(Win32FrmPrev::kHScroll1, SB_PAGERIGHT);
            break;
        case Act::LineDown:
            scroll(Win32FrmPrev::kVScroll1, SB_LINEDOWN);
            break;
        case Act::End:
            scroll(Win32FrmPrev::kHScroll1, SB_RIGHT);
            break;
        case Act::Resize400x300:
            m_window->setClientSize96(400, 300);
            break;
        }
        SCOPED_TRACE(static_cast<int>(step.act));
        const RectF canvas = m_window->canvas();
        EXPECT_FLOAT_EQ(canvas.left, step.canvas.left);
        EXPECT_FLOAT_EQ(canvas.top, step.canvas.top);
        EXPECT_FLOAT_EQ(canvas.width, step.canvas.width);
        EXPECT_FLOAT_EQ(canvas.height, step.canvas.height);
        EXPECT_EQ(bar(Win32FrmPrev::kHScroll1), step.h);
        EXPECT_EQ(bar(Win32FrmPrev::kVScroll1), step.v);
        EXPECT_TRUE(m_window->canvasShown() && m_window->canvasDrawn());
    }
    EXPECT_TRUE(m_boxes.shown.empty());
}

constexpr Bar kHidden{false, false, 0, 0};

const BarsRow kBarsRows[] = {
    // Loaded before the first layout pass: fitted to the design viewport (221 x 197), then
    // centred in the laid-out one; Fit Screen fits the laid-out viewport.
    {"LargerThanTheWindow",
     1024,
     768,
     {{Act::Start, {137, 101.625f, 221, 165.75f}, kHidden, kHidden},
      {Act::Fit, {1.5f, 0, 492, 369}, kHidden, kHidden},
      {Act::ZoomIn, {-60, -46, 615, 461.25f}, {true, true, 120, 60}, {true, true, 92, 46}},
      {Act::PageRight, {-110, -46, 615, 461.25f}, {true, true, 120, 110}, {true, true, 92, 46}},
      {Act::LineDown, {-110, -56, 615, 461.25f}, {true, true, 120, 110}, {true, true, 92, 56}},
      {Act::ZoomOut, {1.5f, 0, 492, 369}, {true, false, 120, 0}, {true, false, 92, 0}},
      {Act::Exact, {-264, -200, 1024, 768}, {true, true, 529, 264}, {true, true, 399, 200}},
      {Act::PageRight, {-314, -200, 1024, 768}, {true, true, 529, 314}, {true, true, 399, 200}}}},
    {"SmallerThanTheWindow",
     400,
     300,
     {{Act::Start, {137, 101.625f, 221, 165.75f}, kHidden, kHidden},
      {Act::Exact, {47.5f, 34.5f, 400, 300}, kHidden, kHidden},
      {Act::Fit, {47.5f, 34.5f, 400, 300}, kHidden, kHidden},
      {Act::ZoomIn, {-2, -3, 500, 375}, {true, true, 5, 2}, {true, true, 6, 3}},
      {Act::ZoomOut, {47.5f, 34.5f, 400, 300}, {true, false, 5, 0}, {true, false, 6, 0}}}},
    {"VeryWide",
     3000,
     40,
     {{Act::Start, {137, 183.02667f, 221, 2.9466667f}, kHidden, kHidden},
      {Act::Fit, {0, 181.2f, 495, 6.6f}, kHidden, kHidden},
      {Act::Exact, {-1252, 164.5f, 3000, 40}, {true, true, 2505, 1252}, kHidden},
      {Act::End, {-2505, 164.5f, 3000, 40}, {true, true, 2505, 2505}, kHidden}}},
    // With the option set a picture loads at its original size; shrinking the window keeps the
    // canvas's size.
    {"OriginalSizeOptionThenSmallerWindow",
     600,
     100,
     {{Act::Start, {137, 166.08333f, 221, 36.833332f}, kHidden, kHidden},
      {Act::StartExact, {-52, 134.5f, 600, 100}, {true, true, 105, 52}, kHidden},
      {Act::Resize400x300, {-112, 69.5f, 600, 100}, {true, true, 225, 112}, kHidden}}},
};
INSTANTIATE_TEST_SUITE_P(Rows, PreviewBars, ::testing::ValuesIn(kBarsRows),
                         [](const auto& row) { return std::string(row.param.name); });

// The canvas as drawn: fitted, then at its original size and scrolled, sampled on both sides of
// the picture's quadrant borders.
TEST_F(PreviewTest, CanvasPixelsAfterFitAndAfterOriginalSizeAndScroll) {
    m_window->StartProj(quadrants(L"sea.bmp", 1024, 768));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    click(Win32FrmPrev::kCEqual); // {1.5, 0, 492, 369}: the quadrants meet at 247.5, 184.5
    const struct {
        int x, y;
        COLORREF colour;
    } fitted[] = {{0, 100, face},
                  {240, 175, colorOf(kRed)},
                  {256, 175, colorOf(kBlue)},
                  {240, 195, colorOf(kGreen)},
                  {256, 195, colorOf(kYellow)},
                  {494, 100, face}},
      scrolled[] = {{240, 170, colorOf(kRed)},
                    {256, 170, colorOf(kBlue)},
                    {240, 190, colorOf(kGreen)},
                    {256, 190, colorOf(kYellow)}},
      paged[] = {{190, 170, colorOf(kRed)},
                 {206, 170, colorOf(kBlue)},
                 {190, 190, colorOf(kGreen)},
                 {206, 190, colorOf(kYellow)}};
    for (const auto& p : fitted) {
        EXPECT_EQ(viewportPixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    click(Win32FrmPrev::kCExact); // {-264, -200}: they meet at 248, 184
    for (const auto& p : scrolled) {
        EXPECT_EQ(viewportPixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    scroll(Win32FrmPrev::kHScroll1, SB_PAGERIGHT); // left -314: they meet at 198
    for (const auto& p : paged) {
        EXPECT_EQ(viewportPixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    test::saveScreenshot(test::captureScreen(m_window->hwnd()), "preview_scrolled");
}

TEST_F(PreviewTest, ControlsCarryTextsRectanglesAndTips) {
    m_window->StartProj(plain(L"pic.bmp", 64, 48));
    const struct {
        int id;
        const wchar_t* text;
        const wchar_t* tip;
        RECT at; // in the tool panel
        bool shown;
    } rows[] = {
        {Win32FrmPrev::kCPlus, L"Zoom In", L"Zoom In", {1, 1, 76, 34}, true},
        {Win32FrmPrev::kCEqual, L"Fit Screen", L"Fit", {77, 1, 152, 34}, true},
        {Win32FrmPrev::kCMinus, L"Zoom Out", L"Zoom Out", {153, 1, 228, 34}, true},
        {Win32FrmPrev::kCExact, L"Original Size", L"Original Size", {229, 1, 352, 34}, true},
        {Win32FrmPrev::kChkExact,
         L"",
         L"Always display picture at its original size",
         {232, 10, 245, 23},
         false},
    };
    for (const auto& row : rows) {
        HWND control = m_window->control(row.id);
        ASSERT_NE(control, nullptr) << row.id;
        EXPECT_EQ(windowText(control), row.text);
        EXPECT_EQ(m_window->tipOf(row.id), row.tip);
        const RECT at = childRect(control);
        EXPECT_EQ(at.left, m_window->scaled(static_cast<int>(row.at.left))) << row.id;
        EXPECT_EQ(at.top, m_window->scaled(static_cast<int>(row.at.top))) << row.id;
        EXPECT_EQ(at.right, m_window->scaled(static_cast<int>(row.at.right))) << row.id;
        EXPECT_EQ(at.bottom, m_window->scaled(static_cast<int>(row.at.bottom))) << row.id;
        EXPECT_EQ((GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0, row.shown);
    }
    LOGFONTW bold{};
    GetObjectW(reinterpret_cast<HFONT>(
                   SendMessageW(m_window->control(Win32FrmPrev::kCExact), WM_GETFONT, 0, 0)),
               sizeof bold, &bold);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_EQ(std::wstring(bold.lfFaceName), L"Tahoma");

    // The laid-out window: viewport 4, 2, 499 x 373 (2-pixel frame), bars 17 wide, panel at 84,
    // 394.
    RECT client{};
    GetClientRect(m_window->hwnd(), &client);
    EXPECT_EQ(client.right, m_window->scaled(520));
    EXPECT_EQ(client.bottom, m_window->scaled(430));
    const struct {
        int id;
        RECT at;
    } laidOut[] = {
        {Win32FrmPrev::kPicCont, {4, 2, 503, 375}},
        {Win32FrmPrev::kHScroll1, {4, 375, 503, 392}},
        {Win32FrmPrev::kVScroll1, {503, 0, 520, 373}},
        {Win32FrmPrev::kPicture1, {84, 394, 440, 432}},
    };
    for (const auto& row : laidOut) {
        const RECT at = childRect(m_window->control(row.id));
        EXPECT_EQ(at.left, m_window->scaled(static_cast<int>(row.at.left))) << row.id;
        EXPECT_EQ(at.top, m_window->scaled(static_cast<int>(row.at.top))) << row.id;
        EXPECT_EQ(at.right, m_window->scaled(static_cast<int>(row.at.right))) << row.id;
        EXPECT_EQ(at.bottom, m_window->scaled(static_cast<int>(row.at.bottom))) << row.id;
    }
    RECT inner{};
    GetClientRect(m_window->control(Win32FrmPrev::kPicCont), &inner);
    EXPECT_EQ(inner.right, m_window->scaled(499) - 4);
    EXPECT_EQ(inner.bottom, m_window->scaled(373) - 4);
}

// Shown on top without being asked twice; closed by the user, the next opening makes a fresh
// window.
TEST_F(PreviewTest, ShownOnTopAndFreshAfterClosing) {
    const std::string picture = plain(L"pic.bmp", 64, 48);
    m_window->StartProj(picture);
    ASSERT_TRUE(IsWindowVisible(m_window->hwnd()));
    EXPECT_NE(GetWindowLongPtrW(m_window->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SendMessageW(m_window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(m_window->exists());
    m_window->StartProj(utf8FromWide(m_dir.file(L"gone.bmp")));
    ASSERT_TRUE(m_window->exists());
    EXPECT_EQ(windowText(m_window->hwnd()), L"Lumora");
    EXPECT_EQ(m_window->sourceWidth(), 0);
    EXPECT_NE(GetWindowLongPtrW(m_window->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

// A window of the test that notes, when a message posted to it runs, whether the preview shows
// the hourglass then.
class BusyProbe : public Window {
public:
    explicit BusyProbe(const Win32FrmPrev& preview) : m_preview(preview) {}
    std::vector<bool> seen;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            seen.push_back(m_preview.busy());
            return 0;
        }
        return defaultHandling(message, wParam, lParam);
    }

private:
    const Win32FrmPrev& m_preview;
};

// The drawing lets pending messages run, with the hourglass up; a message queued before a zoom
// runs inside it.
TEST_F(PreviewTest, PendingMessagesRunWhileTheHourglassIsUp) {
    m_window->StartProj(plain(L"sea.bmp", 300, 200));
    BusyProbe probe(*m_window);
    ASSERT_TRUE(probe.create({L"probe", WS_POPUP, 0, 10, 10}));
    PostMessageW(probe.hwnd(), WM_APP, 0, 0);
    m_window->cPlus_Click();
    EXPECT_EQ(probe.seen, std::vector<bool>{true});
    EXPECT_FALSE(m_window->busy());
}

// Zoom In stops where the scroll range could overflow: one box per refused click, the canvas
// unchanged, and Fit Screen still works.
TEST_F(PreviewTest, ZoomInStopsAtTheScrollRange) {
    m_window->StartProj(plain(L"sea.bmp", 476, 300));
    int clicks = 0;
    while (m_boxes.shown.empty() && ++clicks < 40) {
        click(Win32FrmPrev::kCPlus);
    }
    const RectF last = m_window->canvas();
    EXPECT_LE(last.width, 32767);
    EXPECT_GT(last.width * 1.25f, 32767);
    click(Win32FrmPrev::kCPlus);
    EXPECT_EQ(m_boxes.shown, std::vector<std::string>(2, "Lumora|0|You reached the limit"));
    EXPECT_EQ(m_window->canvas(), last);
    click(Win32FrmPrev::kCEqual);
    EXPECT_EQ(m_window->canvas(), (RectF{9.5f, 34.5f, 476, 300}));
}

} // namespace
} // namespace lumora
