// The help window made in-process with a clock the test sets: its caption when shown and from
// its clock, its size and decorations, centring on each activation from another of the
// program's windows (not from another application), staying on top, and loading afresh.
#include "windows/platform/wide_text.h"
#include "windows/ui/auxiliary/win32_frm_help.h"
#include "windows/ui/auxiliary/win32_placement.h"
#include "windows/ui/window/controls.h"

#include "window_capture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace lumora {
namespace {

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_help.reset();
        test::pumpUntil([] { return true; });
    }
    std::string caption() const { return utf8FromWide(windowText(m_help->hwnd())); }
    bool centred() const {
        RECT frame{};
        GetWindowRect(m_help->hwnd(), &frame);
        const RECT screen = screenFor(m_help->hwnd());
        return frame.left - screen.left ==
                   (screen.right - screen.left - (frame.right - frame.left)) / 2 &&
               frame.top - screen.top ==
                   (screen.bottom - screen.top - (frame.bottom - frame.top)) / 2;
    }

    test::TestClock m_clock;
    std::unique_ptr<Win32FrmHelp> m_help = std::make_unique<Win32FrmHelp>(m_clock);
};

TEST_F(HelpWindowTest, ShownWithItsCaptionSizeAndDecorationsCentredOnTop) {
    EXPECT_FALSE(m_help->isLoaded());
    m_help->showHelp();
    ASSERT_TRUE(m_help->isLoaded());
    EXPECT_EQ(caption(), "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:07");
    RECT client{};
    GetClientRect(m_help->hwnd(), &client);
    EXPECT_EQ(client.right, m_help->scaled(948));
    EXPECT_EQ(client.bottom, m_help->scaled(616));
    const auto style = GetWindowLongPtrW(m_help->hwnd(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(style & WS_SYSMENU, 0) << "a close box";
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongPtrW(m_help->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowVisible(m_help->hwnd()) && centred());
    EXPECT_EQ(GetWindow(m_help->hwnd(), GW_CHILD), nullptr) << "no controls";
}

// The clock runs whether or not the window is active; the date part changes at midnight and has
// no weekday.
TEST_F(HelpWindowTest, TheCaptionsClockTicksWhileShown) {
    m_help->showHelp();
    EXPECT_TRUE(m_help->clockRunning());
    const struct {
        DateTime when;
        const char* caption;
    } rows[] = {
        {{2026, 12, 31, 23, 59, 59, 5}, "Lumora Help - v2.2.4 - 31 December 2026 - 23:59:59"},
        {{2027, 1, 1, 0, 0, 0, 6}, "Lumora Help - v2.2.4 - 01 January 2027 - 00:00:00"},
    };
    Window other;
    ASSERT_TRUE(other.create({L"other", WS_OVERLAPPEDWINDOW, 0, 100, 100}));
    ShowWindow(other.hwnd(), SW_SHOW);
    SetForegroundWindow(other.hwnd());
    for (const auto& row : rows) {
        m_clock.when = row.when;
        SendMessageW(m_help->hwnd(), WM_TIMER, Win32FrmHelp::kTimer1, 0);
        EXPECT_EQ(caption(), row.caption);
    }
    SendMessageW(m_help->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(m_help->isLoaded() || m_help->clockRunning());
}

// A window the user dragged away is centred again when it becomes the program's active window
// after another of its windows; coming back from another application changes nothing.
TEST_F(HelpWindowTest, ActivationFromTheProgramsOwnWindowCentresAndRefreshes) {
    m_help->showHelp();
    ASSERT_TRUE(test::pumpUntil([&] { return GetForegroundWindow() == m_help->hwnd(); }));
    SetWindowPos(m_help->hwnd(), nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(centred());
    m_clock.when.second = 30;
    // From another application: the window losing the activation is none of the program's.
    SendMessageW(m_help->hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(centred());
    EXPECT_EQ(caption(), "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:07");

    Window settings;
    ASSERT_TRUE(settings.create({L"settings", WS_OVERLAPPEDWINDOW, 0, 200, 100}));
    ShowWindow(settings.hwnd(), SW_SHOW);
    SetForegroundWindow(settings.hwnd());
    ASSERT_TRUE(test::pumpUntil([&] { return GetForegroundWindow() == settings.hwnd(); }));
    EXPECT_FALSE(centred());
    SetForegroundWindow(m_help->hwnd()); // back from the settings window
    EXPECT_TRUE(test::pumpUntil([&] { return centred(); }));
    EXPECT_EQ(caption(), "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:30");
    EXPECT_NE(GetWindowLongPtrW(m_help->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

// Closed, the next "&Help" loads a fresh window with the design caption replaced at once.
TEST_F(HelpWindowTest, ShownAgainAfterClosingLoadsAfresh) {
    m_help->showHelp();
    HWND first = m_help->hwnd();
    m_help->showHelp(); // while open: the same window
    EXPECT_EQ(m_help->hwnd(), first);
    SendMessageW(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    m_clock.when.minute = 6;
    m_help->showHelp();
    ASSERT_TRUE(m_help->isLoaded());
    EXPECT_TRUE(m_help->clockRunning());
    EXPECT_EQ(caption(), "Lumora Help - v2.2.4 - 03 February 2027 - 09:06:07");
    EXPECT_TRUE(centred());
}

} // namespace
} // namespace lumora
