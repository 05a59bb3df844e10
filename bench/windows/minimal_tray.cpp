// The smallest Win32 tray program: a hidden window, one notification-area icon with the tip
// "Minimal" (the system's application icon), and a message loop. The reference the program's
// launch and idle figures are compared with (bench/run_windows_program_bench.sh): what Wine and a
// tray icon cost before anything of the program's own.
#include <windows.h>

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"MinimalTray";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"MinimalTray", L"Minimal", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(icon.szTip, L"Minimal", ARRAYSIZE(icon.szTip));
    Shell_NotifyIconW(NIM_ADD, &icon);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
