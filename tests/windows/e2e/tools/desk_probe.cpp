// desk_probe: reads back what a Wine virtual desktop shows, for the end-to-end scripts. It runs
// as a program of its own in the desktop's session, so everything it reports comes from other
// processes' windows, as a user would see them.
//
//   desk_probe windows                 visible top-level windows
//   desk_probe find CLASS              a top-level window of that class, shown or not
//   desk_probe colour                  the desktop's system colour, as "R G B"
//   desk_probe children HWND           the child controls of one window
//   desk_probe tray                    the notification area's icons with their tips
//   desk_probe balloons                watches for balloons; prints each one shown, until killed
//   desk_probe forget CLASS TITLE ID   the shell drops icon ID of the window CLASS/TITLE (as a
//                                      newly started shell knows none of the old icons)
//   desk_probe broadcast NAME          posts the registered message NAME to every top-level
//                                      window (as a starting shell posts "TaskbarCreated")
//   desk_probe wait-icon TIP           waits for an icon with that tip (bench/)
//   desk_probe wait-wallpaper X Y      clears the wallpaper, then waits for a new Wallpaper
//                                      value and a picture at X,Y (bench/)
//
// Every line is tab-separated: hwnd (hex), then the fields the command names. Texts have their
// line breaks written as \n and \r, so that one window is one line.
#include <windows.h>
// after <windows.h>, which they need
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring escaped(const std::wstring& text) {
    std::wstring out;
    for (const wchar_t c : text) {
        if (c == L'\n') {
            out += L"\\n";
        } else if (c == L'\r') {
            out += L"\\r";
        } else if (c == L'\t') {
            out += L"\\t";
        } else {
            out += c;
        }
    }
    return out;
}

// Lines go out as UTF-8, flushed at once: the scripts read them while the probe runs.
void printLine(const std::wstring& line) {
    const std::wstring withEnd = line + L"\n";
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, withEnd.c_str(), static_cast<int>(withEnd.size()), nullptr,
                            0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, withEnd.c_str(), static_cast<int>(withEnd.size()), bytes.data(),
                        size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

std::wstring hexOf(HWND window) {
    wchar_t text[32];
    swprintf(text, 32, L"%llx",
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

std::wstring textOf(HWND window) {
    // WM_GETTEXT is carried across processes; a hung window does not stop the probe.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return L"";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied);
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring rectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    wchar_t text[96];
    swprintf(text, 96, L"%ld\t%ld\t%ld\t%ld", rect.left, rect.top, rect.right - rect.left,
             rect.bottom - rect.top);
    return text;
}

// One tool of a tooltip control: its text and its rectangle on the screen, read through memory
// lent inside the tooltip's own process (TTM_ messages carry pointers that are not translated
// between processes). Wine's tooltips answer no TTM_GETTITLE, so a balloon's title is not read.
struct Tool {
    std::wstring text;
    RECT rect{};
};

bool readTool(HWND tooltip, WPARAM index, Tool& out) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tooltip, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) {
        return false;
    }
    constexpr SIZE_T kChars = 1024;
    const SIZE_T size = sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<unsigned char*>(
        VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    bool ok = false;
    if (remote) {
        auto* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TTTOOLINFOW));
        std::vector<wchar_t> text(kChars, L'\0');
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.lpszText = remoteText;
        DWORD_PTR found = 0;
        if (WriteProcessMemory(process, remoteText, text.data(), kChars * sizeof(wchar_t),
                               nullptr) &&
            WriteProcessMemory(process, remote, &info, sizeof info, nullptr) &&
            SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(remote),
                                SMTO_ABORTIFHUNG, 2000, &found) &&
            found && ReadProcessMemory(process, remote, &info, sizeof info, nullptr) &&
            ReadProcessMemory(process, remoteText, text.data(), kChars * sizeof(wchar_t),
                              nullptr)) {
            text.back() = L'\0';
            out.text = text.data();
            out.rect = info.rect;
            // A tool that stands for a whole window has that window's rectangle.
            if (info.uFlags & TTF_IDISHWND) {
                GetWindowRect(reinterpret_cast<HWND>(info.uId), &out.rect);
            } else {
                MapWindowPoints(info.hwnd, nullptr, reinterpret_cast<POINT*>(&out.rect), 2);
            }
            ok = true;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return ok;
}

struct Found {
    std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND window, LPARAM found) {
    reinterpret_cast<Found*>(found)->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> topLevel() {
    Found found;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

int listWindows() {
    for (HWND window : topLevel()) {
        if (!IsWindowVisible(window)) {
            continue;
        }
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        printLine(hexOf(window) + L"\t" + std::to_wstring(pid) + L"\t" + classOf(window) + L"\t" +
                  escaped(textOf(window)) + L"\t" + rectOf(window));
    }
    return 0;
}

int listChildren(const wchar_t* handle) {
    const auto window =
        reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(handle, nullptr, 16)));
    if (!IsWindow(window)) {
        std::fwprintf(stderr, L"desk_probe: no window %ls\n", handle);
        return 2;
    }
    Found found;
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&found));
    for (HWND child : found.windows) {
        printLine(hexOf(child) + L"\t" + classOf(child) + L"\t" +
                  std::to_wstring(GetDlgCtrlID(child)) + L"\t" + escaped(textOf(child)) + L"\t" +
                  rectOf(child) + L"\t" + (IsWindowVisible(child) ? L"1" : L"0"));
    }
    return 0;
}

bool isBalloon(HWND window) {
    return classOf(window) == TOOLTIPS_CLASSW && (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON);
}

// The shell draws its icons itself and gives each one a tool of its tooltip, with the icon's
// tip and rectangle. An icon the shell has dropped may keep its tool, with an empty rectangle.
struct TrayIcon {
    HWND tooltip;
    Tool tool;
};

bool trayIcons(std::vector<TrayIcon>& icons) {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) {
        return false;
    }
    for (HWND window : topLevel()) {
        if (classOf(window) != TOOLTIPS_CLASSW || isBalloon(window) ||
            GetWindow(window, GW_OWNER) != tray) {
            continue;
        }
        DWORD_PTR count = 0;
        SendMessageTimeoutW(window, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
        for (WPARAM index = 0; index < count; ++index) {
            Tool tool;
            if (readTool(window, index, tool) && !IsRectEmpty(&tool.rect)) {
                icons.push_back({window, tool});
            }
        }
    }
    return true;
}

// One line per icon: its rectangle and its tip.
int listTray() {
    std::vector<TrayIcon> icons;
    if (!trayIcons(icons)) {
        std::fwprintf(stderr, L"desk_probe: no notification area\n");
        return 2;
    }
    for (const auto& [tooltip, tool] : icons) {
        wchar_t rect[96];
        swprintf(rect, 96, L"%ld\t%ld\t%ld\t%ld", tool.rect.left, tool.rect.top,
                 tool.rect.right - tool.rect.left, tool.rect.bottom - tool.rect.top);
        printLine(hexOf(tooltip) + L"\t" + rect + L"\t" + escaped(tool.text));
    }
    return 0;
}

// Balloons are tooltips with the balloon style, shown by the shell for a while and then
// destroyed; each one is printed once, with its text, when it is first seen.
int watchBalloons() {
    printLine(L"listening");
    std::vector<std::pair<HWND, std::wstring>> seen;
    for (;;) {
        for (HWND window : topLevel()) {
            if (!IsWindowVisible(window) || !isBalloon(window)) {
                continue;
            }
            const std::wstring text = textOf(window);
            bool known = text.empty();
            for (const auto& [hwnd, shown] : seen) {
                known = known || (hwnd == window && shown == text);
            }
            if (!known) {
                seen.emplace_back(window, text);
                printLine(hexOf(window) + L"\t" + escaped(text));
            }
        }
        Sleep(50);
    }
}

// The wall clock in microseconds since 1970, as the scripts' `date +%s%6N` reads it (Wine's clock
// is the machine's).
long long unixMicroseconds() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const long long ticks = static_cast<long long>(
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    return (ticks - 116444736000000000LL) / 10;
}

// The waits below are for the benchmarks: one process that polls every few milliseconds instead
// of a probe started per look (a Wine process start costs more than what is measured). Each
// prints "listening" once it has looked the first time, then "seen<TAB>MICROSECONDS" (the wall
// clock when it saw the change) and ends.
bool trayHasTip(const std::wstring& tip) {
    std::vector<TrayIcon> icons;
    trayIcons(icons);
    for (const auto& icon : icons) {
        if (icon.tool.text == tip) {
            return true;
        }
    }
    return false;
}

int waitIcon(const std::wstring& tip) {
    bool seen = trayHasTip(tip);
    printLine(L"listening");
    while (!seen) {
        Sleep(5);
        seen = trayHasTip(tip);
    }
    printLine(L"seen\t" + std::to_wstring(unixMicroseconds()));
    return 0;
}

std::wstring wallpaperValue() {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS) {
        return L"";
    }
    return value;
}

// Clears the wallpaper first and waits until the shell shows its plain colour (the same at X,Y
// and at the four corners), so that a program's start is seen setting the wallpaper again: then
// until the Wallpaper value is another and the pixel at X,Y is no longer that colour.
int waitWallpaper(int x, int y) {
    wchar_t none[] = L"";
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    const std::wstring before = wallpaperValue();
    HDC screen = GetDC(nullptr);
    const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int bottom = GetSystemMetrics(SM_CYSCREEN) - 40; // above the taskbar
    auto plain = [&] {
        const COLORREF middle = GetPixel(screen, x, y);
        return middle != CLR_INVALID && GetPixel(screen, 0, 0) == middle &&
               GetPixel(screen, right, 0) == middle && GetPixel(screen, 0, bottom) == middle &&
               GetPixel(screen, right, bottom) == middle;
    };
    // The shell repaints the cleared desktop on its own thread.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!plain() && GetTickCount64() < deadline) {
        Sleep(5);
    }
    const COLORREF colour = GetPixel(screen, x, y);
    printLine(L"listening\t" + before + L"\t" + std::to_wstring(GetRValue(colour)) + L" " +
              std::to_wstring(GetGValue(colour)) + L" " + std::to_wstring(GetBValue(colour)));
    while (wallpaperValue() == before || GetPixel(screen, x, y) == colour) {
        Sleep(5);
    }
    const COLORREF shown = GetPixel(screen, x, y);
    printLine(L"seen\t" + std::to_wstring(unixMicroseconds()) + L"\t" + wallpaperValue() + L"\t" +
              std::to_wstring(GetRValue(shown)) + L" " + std::to_wstring(GetGValue(shown)) + L" " +
              std::to_wstring(GetBValue(shown)));
    ReleaseDC(nullptr, screen);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"windows") {
        return listWindows();
    }
    if (command == L"find" && argc > 2) {
        HWND window = FindWindowW(argv[2], nullptr);
        if (window) {
            printLine(hexOf(window));
        }
        return window ? 0 : 1;
    }
    if (command == L"colour") {
        const COLORREF colour = GetSysColor(COLOR_BACKGROUND);
        printLine(std::to_wstring(GetRValue(colour)) + L" " + std::to_wstring(GetGValue(colour)) +
                  L" " + std::to_wstring(GetBValue(colour)));
        return 0;
    }
    if (command == L"children" && argc > 2) {
        return listChildren(argv[2]);
    }
    if (command == L"tray") {
        return listTray();
    }
    if (command == L"balloons") {
        return watchBalloons();
    }
    if (command == L"forget" && argc > 4) {
        NOTIFYICONDATAW icon{};
        icon.cbSize = sizeof icon;
        icon.hWnd = FindWindowW(argv[2], argv[3]);
        icon.uID = static_cast<UINT>(wcstoul(argv[4], nullptr, 10));
        return icon.hWnd != nullptr && Shell_NotifyIconW(NIM_DELETE, &icon) ? 0 : 1;
    }
    if (command == L"broadcast" && argc > 2) {
        const UINT message = RegisterWindowMessageW(argv[2]);
        return message != 0 && PostMessageW(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
    }
    if (command == L"wait-icon" && argc > 2) {
        return waitIcon(argv[2]);
    }
    if (command == L"wait-wallpaper" && argc > 3) {
        return waitWallpaper(_wtoi(argv[2]), _wtoi(argv[3]));
    }
    std::fwprintf(
        stderr,
        L"usage: desk_probe windows | find CLASS | colour | children HWND | tray | balloons | "
        L"forget CLASS TITLE ID | broadcast NAME | wait-icon TIP | wait-wallpaper X Y\n");
    return 2;
}
