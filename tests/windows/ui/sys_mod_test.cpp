// The always-on-top routine: the z-order place by onTop, a hidden window shown, nothing moved or
// resized, the focus left where it was, and pending messages run before and after.
#include "windows/ui/auxiliary/win32_sys_mod.h"
#include "windows/ui/window/window.h"

#include "window_capture.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

class NotingWindow : public Window {
public:
    int posted = 0;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            ++posted;
            return 0;
        }
        return defaultHandling(message, wParam, lParam);
    }
};

bool topmost(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(SysMod, ThePlaceByOnTop) {
    const struct {
        int onTop;
        HWND place;
    } rows[] = {{-1, HWND_TOPMOST}, {0, HWND_NOTOPMOST}, {1, HWND_TOP}, {7, HWND_TOP}};
    for (const auto& row : rows) {
        EXPECT_EQ(topMostPlace(row.onTop), row.place) << row.onTop;
    }
}

TEST(SysMod, AHiddenWindowIsShownOnTopUnmovedWithoutTakingTheFocus) {
    NotingWindow focused;
    ASSERT_TRUE(focused.create({L"focused", WS_OVERLAPPEDWINDOW, 0, 200, 100}));
    ShowWindow(focused.hwnd(), SW_SHOW);
    SetForegroundWindow(focused.hwnd());
    ASSERT_TRUE(test::pumpUntil([&] { return GetForegroundWindow() == focused.hwnd(); }));

    NotingWindow window;
    ASSERT_TRUE(window.create({L"on top", WS_OVERLAPPEDWINDOW, 0, 300, 200}));
    SetWindowPos(window.hwnd(), nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT before{};
    GetWindowRect(window.hwnd(), &before);
    ASSERT_FALSE(IsWindowVisible(window.hwnd()));
    PostMessageW(window.hwnd(), WM_APP, 0, 0);

    SetTopMost(window.hwnd(), kTopMostTrue);
    EXPECT_EQ(window.posted, 1) << "pending messages ran";
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
    EXPECT_TRUE(topmost(window.hwnd()));
    EXPECT_EQ(GetForegroundWindow(), focused.hwnd())
        << "not activated; the window is " << window.hwnd();
    RECT after{};
    GetWindowRect(window.hwnd(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));

    SetTopMost(window.hwnd(), kTopMostFalse);
    EXPECT_FALSE(topmost(window.hwnd()));
    SetTopMost(window.hwnd(), 5); // the top of the ordinary windows, still not topmost
    EXPECT_FALSE(topmost(window.hwnd()));
    SetTopMost(nullptr, kTopMostTrue); // no window: nothing happens
}

} // namespace
} // namespace lumora
