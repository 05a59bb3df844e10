// The window layer: an object bound to its window, client sizes at 96 dpi, controls from a
// table with their texts, rectangles and tips, and the background it erases with.
#include "windows/ui/window/controls.h"
#include "windows/ui/window/window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace lumora {
namespace {

class RecordingWindow : public Window {
public:
    std::vector<UINT> seen;
    int destroyed = 0;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_APP) {
            seen.push_back(message);
            return static_cast<LRESULT>(wParam + 1);
        }
        return defaultHandling(message, wParam, lParam);
    }
    void onDestroyed() override { ++destroyed; }
};

TEST(WindowLayer, MessagesReachTheObjectUntilTheWindowIsGone) {
    RecordingWindow window;
    ASSERT_TRUE(window.create({L"bound", WS_OVERLAPPEDWINDOW, 0, 200, 100}));
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_APP + 7, 41, 0), 42);
    EXPECT_EQ(window.seen, std::vector<UINT>{WM_APP + 7});
    EXPECT_FALSE(window.create({L"again"})) << "one window per object";

    HWND gone = window.hwnd();
    window.destroy();
    EXPECT_FALSE(window.exists());
    EXPECT_EQ(window.destroyed, 1);
    EXPECT_FALSE(IsWindow(gone));
}

TEST(WindowLayer, TheClientAreaHasItsSizeAtTheWindowsDpi) {
    for (const DWORD style : {DWORD{WS_OVERLAPPEDWINDOW}, DWORD{WS_CAPTION | WS_SYSMENU},
                              DWORD{WS_POPUP | WS_BORDER}}) {
        Window window;
        ASSERT_TRUE(window.create({L"sized", style, WS_EX_TOOLWINDOW, 669, 301}));
        RECT client{};
        GetClientRect(window.hwnd(), &client);
        EXPECT_EQ(client.right, window.scaled(669)) << style;
        EXPECT_EQ(client.bottom, window.scaled(301)) << style;
        window.setClientSize96(520, 430);
        GetClientRect(window.hwnd(), &client);
        EXPECT_EQ(client.right, window.scaled(520)) << style;
        EXPECT_EQ(client.bottom, window.scaled(430)) << style;
    }
}

TEST(WindowLayer, ControlsComeFromTheirTableWithTextsRectanglesAndTips) {
    Window window;
    ASSERT_TRUE(window.create({L"table", WS_OVERLAPPEDWINDOW, 0, 400, 300}));
    const std::vector<ControlRow> rows = {
        {11, WC_STATICW, L"Monday", SS_CENTER, {8, 16, 168, 29}, L"The day's picture"},
        {12, WC_STATICW, L"Gröβe ✓", SS_LEFT, {0, 0, 1, 1}, L""},
        {13, WC_BUTTONW, L"&Apply", BS_PUSHBUTTON, {300, 260, 375, 283}, L"Apply & close"},
    };
    const Font font = makeFont(L"Tahoma", 8.25, window.dpi());
    ASSERT_TRUE(font);
    Tooltips tips(window.hwnd());
    ASSERT_TRUE(makeControls(window.hwnd(), rows, window.dpi(), font.get(), &tips));
    for (const ControlRow& row : rows) {
        HWND control = GetDlgItem(window.hwnd(), row.id);
        ASSERT_NE(control, nullptr) << row.id;
        EXPECT_EQ(windowText(control), row.text);
        const RECT at = childRect(control);
        EXPECT_EQ(at.left, window.scaled(static_cast<int>(row.at96.left))) << row.id;
        EXPECT_EQ(at.top, window.scaled(static_cast<int>(row.at96.top))) << row.id;
        EXPECT_EQ(at.right, window.scaled(static_cast<int>(row.at96.right))) << row.id;
        EXPECT_EQ(at.bottom, window.scaled(static_cast<int>(row.at96.bottom))) << row.id;
        EXPECT_EQ(tips.tipOf(control), row.tip) << row.id;
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), font.get());
    }
    HWND first = GetDlgItem(window.hwnd(), 11);
    tips.setTip(first, L"");
    EXPECT_EQ(tips.tipOf(first), L"");
    tips.setTip(first, L"again");
    EXPECT_EQ(tips.tipOf(first), L"again");
}

TEST(WindowLayer, TheBackgroundIsErasedWithTheWindowsBrush) {
    const Brush grey(CreateSolidBrush(RGB(64, 64, 64)));
    Window window;
    ASSERT_TRUE(window.create({L"grey", WS_POPUP, 0, 50, 40, nullptr, grey.get()}));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    const Bitmap canvas(CreateCompatibleBitmap(screen, 50, 40));
    ReleaseDC(nullptr, screen);
    {
        const Selection selected(dc, canvas.get());
        SendMessageW(window.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(64, 64, 64));
        EXPECT_EQ(GetPixel(dc, 49, 39), RGB(64, 64, 64));
    }
    DeleteDC(dc);
}

} // namespace
} // namespace lumora
