// The icon record as the shell gets it, and the event pump.
#include "core/tray/tray_module.h"
#include "windows/platform/shell_tray_host.h"
#include "windows/platform/win32_event_pump.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

// The record start-up and an alert make, through the icon routines, as the shell receives it.
struct Recorder : TrayHost {
    bool notifyIcon(std::uint32_t, const TrayIconData& data) override {
        last = data;
        return true;
    }
    TrayIconData last;
};

TEST(TrayRecord, FieldsBecomeTheWideRecord) {
    Recorder recorder;
    TrayModule tray(recorder);
    const std::string tip = "Lumora \xE2\x80\x93 M\xC3\xBCller";
    tray.ModifyTrayIcon(1, 2, tip, "Lumora", "Your Monday's picture\n\r\xE6\x9D\xB1\xE4\xBA\xAC", 1,
                        2000);
    const HWND window = reinterpret_cast<HWND>(0x1234);
    const NOTIFYICONDATAW record = notifyIconDataOf(recorder.last, window, nullptr);
    EXPECT_EQ(record.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(record.hWnd, window);
    EXPECT_EQ(record.uFlags, recorder.last.uFlags | NIF_SHOWTIP);
    EXPECT_EQ(std::wstring(record.szTip), L"Lumora \u2013 M\u00FCller");
    EXPECT_EQ(std::wstring(record.szInfoTitle), L"Lumora");
    EXPECT_EQ(std::wstring(record.szInfo), L"Your Monday's picture\n\r\u6771\u4EAC");
    EXPECT_EQ(record.uTimeout, 2000u);
    EXPECT_EQ(record.dwInfoFlags, DWORD{NIIF_INFO});
    EXPECT_EQ(record.uCallbackMessage, recorder.last.uCallbackMessage);
}

// A field as full as it gets fills the wide field up to its terminator; a character beyond the
// standard plane (two wide characters) comes through whole.
TEST(TrayRecord, LongTextsAreCutToTheirFields) {
    TrayIconData data;
    storeFieldText(data.szInfo, std::string(300, 'a'));
    storeFieldText(data.szInfoTitle, std::string(63, 'b') + "\xF0\x9F\x98\x80");
    storeFieldText(data.szTip, std::string(200, 'c'));
    const NOTIFYICONDATAW record = notifyIconDataOf(data, nullptr, nullptr);
    EXPECT_EQ(std::wstring(record.szInfo), std::wstring(255, L'a'));
    EXPECT_EQ(std::wstring(record.szTip), std::wstring(127, L'c'));
    EXPECT_EQ(std::wstring(record.szInfoTitle), std::wstring(63, L'b'));
    storeFieldText(data.szInfoTitle, std::string(10, 'b') + "\xF0\x9F\x98\x80");
    EXPECT_EQ(std::wstring(notifyIconDataOf(data, nullptr, nullptr).szInfoTitle),
              std::wstring(10, L'b') + L"\U0001F600");
}

TEST(EventPump, RunsWaitingMessagesAndKeepsTheQuit) {
    static int seen = 0;
    WNDCLASSW c{};
    c.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_APP) {
            ++seen;
        }
        return DefWindowProcW(w, m, wp, lp);
    };
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"LumoraPumpTest";
    RegisterClassW(&c);
    HWND window = CreateWindowW(L"LumoraPumpTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                c.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_APP, 0, 0);
    PostMessageW(window, WM_APP, 0, 0);
    Win32EventPump().processEvents();
    EXPECT_EQ(seen, 2);
    PostQuitMessage(3);
    Win32EventPump().processEvents();
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
    DestroyWindow(window);
}

} // namespace
} // namespace lumora
