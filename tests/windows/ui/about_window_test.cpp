// The about and logo window made in-process with a clock the test sets: its texts, rectangles,
// colours and logo as drawn, its clock and automatic close driven by WM_TIMER, staying on top,
// and every way it closes.
#include "core/text/window_texts.h"

#include "windows/platform/wide_text.h"
#include "windows/platform/win32_resources.h"
#include "windows/ui/auxiliary/win32_frm_about.h"
#include "windows/ui/auxiliary/win32_placement.h"
#include "windows/ui/window/controls.h"

#include "window_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace lumora {
namespace {

class AboutWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_about.reset();
        test::pumpUntil([] { return true; });
    }
    std::string label1() const {
        return utf8FromWide(windowText(m_about->label(Win32FrmAbout::kLabel1)));
    }
    void tick(UINT_PTR timer) { SendMessageW(m_about->hwnd(), WM_TIMER, timer, 0); }

    test::TestClock m_clock;
    Win32Resources m_resources;
    int m_settingsShown = 0;
    std::unique_ptr<Win32FrmAbout> m_about =
        std::make_unique<Win32FrmAbout>(m_clock, m_resources, [this] { ++m_settingsShown; });
};

// Label1 by TimShw when loaded, and the same text from a tick of the clock at a later moment;
// the automatic close with any TimShw but 0.
TEST_F(AboutWindowTest, Label1ShowsDateAndTimeByTimShw) {
    const struct {
        std::int16_t timShw;
        const char* loaded;
        const char* ticked; // at 23:59:59 on 31 December 2026
        bool autoClose;
    } rows[] = {
        {0, "Wednesday 03 February 2027 - 09:05:07", "Thursday 31 December 2026 - 23:59:59", false},
        {1, "Wednesday 03 February 2027 - 09:05", "Thursday 31 December 2026 - 23:59", true},
        {2, "", "", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.timShw);
        m_clock.when = {2027, 2, 3, 9, 5, 7, 4};
        m_about->StrtPrg(row.timShw, false);
        ASSERT_TRUE(m_about->isLoaded());
        EXPECT_TRUE(IsWindowVisible(m_about->hwnd()) && m_about->clockRunning());
        EXPECT_EQ(m_about->autoCloseRunning(), row.autoClose);
        EXPECT_EQ(label1(), row.loaded);
        m_clock.when = {2026, 12, 31, 23, 59, 59, 5};
        tick(Win32FrmAbout::kTimer1);
        EXPECT_EQ(label1(), row.ticked);
        m_about->unload();
    }
}

TEST_F(AboutWindowTest, TextsRectanglesTipAndPlace) {
    m_about->StrtPrg(0, false);
    HWND about = m_about->hwnd();
    const auto style = GetWindowLongPtrW(about, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_NE(style & WS_BORDER, 0);
    EXPECT_EQ(style & (WS_CAPTION & ~WS_BORDER), 0) << "no title bar";
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, m_about->scaled(410));
    EXPECT_EQ(client.bottom, m_about->scaled(310));
    RECT frame{};
    GetWindowRect(about, &frame);
    EXPECT_EQ(frame.right - frame.left - client.right, 2) << "a one-pixel border";

    const struct {
        int id;
        const char* text;
        RECT at;
        DWORD align;
        const char* tip;
    } rows[] = {
        {Win32FrmAbout::kLabel1,
         "Wednesday 03 February 2027 - 09:05:07",
         {87, 292, 403, 305},
         SS_RIGHT,
         ""},
        {Win32FrmAbout::kLabel2, "v2.2.4", {14, 292, 64, 305}, SS_LEFT, ""},
        {Win32FrmAbout::kLabel3, "", {38, 264, 141, 285}, SS_LEFT, "E-mail: lumora@example.org"},
    };
    for (const auto& row : rows) {
        HWND label = m_about->label(row.id);
        ASSERT_NE(label, nullptr) << row.id;
        EXPECT_EQ(utf8FromWide(windowText(label)), row.text);
        const RECT at = childRect(label);
        EXPECT_EQ(at.left, m_about->scaled(static_cast<int>(row.at.left))) << row.id;
        EXPECT_EQ(at.top, m_about->scaled(static_cast<int>(row.at.top))) << row.id;
        EXPECT_EQ(at.right, m_about->scaled(static_cast<int>(row.at.right))) << row.id;
        EXPECT_EQ(at.bottom, m_about->scaled(static_cast<int>(row.at.bottom))) << row.id;
        EXPECT_EQ(GetWindowLongPtrW(label, GWL_STYLE) & SS_TYPEMASK, row.align) << row.id;
        EXPECT_EQ(utf8FromWide(m_about->tipOf(row.id)), row.tip);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(std::wstring(font.lfFaceName), L"Tahoma");
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
    }

    // Centred on its screen.
    const RECT screen = screenFor(about);
    EXPECT_EQ(frame.left - screen.left,
              (screen.right - screen.left - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top - screen.top,
              (screen.bottom - screen.top - (frame.bottom - frame.top)) / 2);
}

// The logo fills the client area; the labels' texts are drawn over it in dark grey.
TEST_F(AboutWindowTest, TheLogoAndTheLabelsAsDrawn) {
    m_about->StrtPrg(0, false);
    ASSERT_NE(m_about->logoPixel(0, 0), CLR_INVALID) << "the logo_bmp resource";
    const test::Capture shot = test::capture(m_about->hwnd(), true);
    for (const POINT p : {POINT{0, 0}, POINT{200, 100}, POINT{409, 0}, POINT{5, 250},
                          POINT{409, 309}, POINT{300, 150}}) {
        EXPECT_EQ(shot.at(p.x, p.y), m_about->logoPixel(p.x, p.y)) << p.x << "," << p.y;
    }
    for (const int id : {Win32FrmAbout::kLabel1, Win32FrmAbout::kLabel2}) {
        const RECT at = childRect(m_about->label(id));
        // Each pixel of the text lies between the picture's colour and dark grey (its edges
        // are smoothed); its strokes are dark grey itself.
        const auto between = [](int shown, int picture, int text) {
            return shown >= std::min(picture, text) && shown <= std::max(picture, text);
        };
        int changed = 0;
        int grey = 0;
        for (int y = at.top; y < at.bottom; ++y) {
            for (int x = at.left; x < at.right; ++x) {
                const COLORREF shown = shot.at(x, y);
                const COLORREF picture = m_about->logoPixel(x, y);
                if (shown == picture) {
                    continue;
                }
                ++changed;
                grey += shown == Win32FrmAbout::kTextColour ? 1 : 0;
                EXPECT_TRUE(between(GetRValue(shown), GetRValue(picture), 64) &&
                            between(GetGValue(shown), GetGValue(picture), 64) &&
                            between(GetBValue(shown), GetBValue(picture), 64))
                    << x << "," << y;
            }
        }
        EXPECT_GT(changed, 20) << "label " << id << " draws its text";
        EXPECT_GT(grey, 5) << "label " << id << " draws in dark grey";
    }
    test::saveScreenshot(test::captureScreen(m_about->hwnd()), "about");
}

// A second StrtPrg while shown: TimShw 1 switches the close on and the clock to minutes; then
// "About..." during the logo cancels the close, and the clock's next tick shows seconds.
TEST_F(AboutWindowTest, SecondStrtPrgWhileShownTakesTheNewTimShwAndOldStatus) {
    m_about->StrtPrg(0, false);
    HWND first = m_about->hwnd();
    m_about->StrtPrg(1, false);
    EXPECT_TRUE(m_about->autoCloseRunning());
    tick(Win32FrmAbout::kTimer1);
    EXPECT_EQ(label1(), "Wednesday 03 February 2027 - 09:05");
    RECT placed{};
    GetWindowRect(first, &placed);
    m_clock.when.second = 9;
    m_about->StrtPrg(0, true);
    EXPECT_EQ(m_about->hwnd(), first) << "not loaded again";
    EXPECT_EQ(label1(), "Wednesday 03 February 2027 - 09:05");
    RECT now{};
    GetWindowRect(first, &now);
    EXPECT_TRUE(EqualRect(&placed, &now));
    EXPECT_FALSE(m_about->autoCloseRunning()) << "the automatic close is off";
    EXPECT_TRUE(m_about->oldStatus() && m_about->clockRunning());
    tick(Win32FrmAbout::kTimer1);
    EXPECT_EQ(label1(), "Wednesday 03 February 2027 - 09:05:09");
    EXPECT_TRUE(IsWindowVisible(first));
}

enum class CloseBy { Click, Timer, Close };

struct CloseRow {
    const char* name;
    std::int16_t timShw;
    bool oldStatus;
    CloseBy by;
    int label; // clicked at its centre; 0: the window at `at`
    POINT at;
    int settingsShown;
};

class AboutClose : public AboutWindowTest, public ::testing::WithParamInterface<CloseRow> {};

// Closed by a click anywhere (found as the system finds it, at the point on the screen), the
// automatic close or a close request: unloaded, and the settings window comes back only when it
// was visible (OldStatus True), and only once.
TEST_P(AboutClose, UnloadsAndBringsTheSettingsBackOnlyWhenTheyWereVisible) {
    const CloseRow& row = GetParam();
    m_about->StrtPrg(row.timShw, row.oldStatus);
    ASSERT_TRUE(m_about->isLoaded());
    HWND about = m_about->hwnd();
    if (row.by == CloseBy::Click) {
        POINT at = row.at;
        if (row.label != 0) {
            const RECT r = childRect(m_about->label(row.label));
            at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        }
        ClientToScreen(about, &at);
        HWND target = WindowFromPoint(at);
        ASSERT_TRUE(target == about || GetParent(target) == about);
        ScreenToClient(target, &at);
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        if (m_about->isLoaded()) {
            SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        }
    } else if (row.by == CloseBy::Timer) {
        ASSERT_TRUE(m_about->autoCloseRunning());
        tick(Win32FrmAbout::kTimer2); // the automatic close, without its five seconds
    } else {
        SendMessageW(about, WM_CLOSE, 0, 0);
    }
    EXPECT_FALSE(m_about->isLoaded() || m_about->clockRunning() || IsWindow(about));
    EXPECT_EQ(m_settingsShown, row.settingsShown);
    m_about->unload(); // a second unload (a late timer, a second click) does nothing more
    m_about->Timer2_Timer();
    EXPECT_EQ(m_settingsShown, row.settingsShown);
}

const CloseRow kCloseRows[] = {
    {"AboutFromVisibleClickedOnTheHotSpot", 0, true, CloseBy::Click, Win32FrmAbout::kLabel3, {}, 1},
    {"AboutFromHiddenClickedOnTheDate", 0, false, CloseBy::Click, Win32FrmAbout::kLabel1, {}, 0},
    {"LogoClickedOnThePicture", 1, false, CloseBy::Click, 0, {200, 100}, 0},
    {"LogoClickedOnTheVersion", 1, false, CloseBy::Click, Win32FrmAbout::kLabel2, {}, 0},
    {"LogoTimedOut", 1, false, CloseBy::Timer, 0, {}, 0},
    {"TimedOutAfterAbout", 1, true, CloseBy::Timer, 0, {}, 1},
    {"CloseRequest", 0, true, CloseBy::Close, 0, {}, 1},
};
INSTANTIATE_TEST_SUITE_P(Rows, AboutClose, ::testing::ValuesIn(kCloseRows),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
