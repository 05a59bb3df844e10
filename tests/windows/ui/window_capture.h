#pragma once
// Shared by the window tests of the preview, about and help windows: the window drawn into a
// bitmap and its pixels read back, pumping messages until a condition holds, test pictures,
// a recording Dialogs, a clock the test sets, and screenshots for a person to look at.
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "windows/ui/window/dib.h"
#include "windows/ui/window/gdi_handles.h"

#include <windows.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumora::test {

// Lets this thread's messages run until `done` holds or the deadline passes; whether it held.
inline bool pumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds deadline = std::chrono::milliseconds(5000)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// A window as PrintWindow draws it (the client area only, or the whole window), as rows of
// 0x00RRGGBB.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    COLORREF at(int x, int y) const {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

// Draws the visible children of `parent` over `dc`, bottom first, each with its frame;
// `origin` is where the parent's client area lies in the bitmap. Each child draws itself at its
// own origin (WM_PRINT), over a copy of what lies under it, which then goes back in its place.
inline void printChildren(HWND parent, HDC dc, POINT origin) {
    HWND top = GetWindow(parent, GW_CHILD);
    for (HWND child = top != nullptr ? GetWindow(top, GW_HWNDLAST) : nullptr; child != nullptr;
         child = GetWindow(child, GW_HWNDPREV)) {
        if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) == 0) {
            continue;
        }
        RECT frame{};
        GetWindowRect(child, &frame);
        POINT at{frame.left, frame.top};
        ScreenToClient(parent, &at);
        at = {origin.x + at.x, origin.y + at.y};
        const int w = frame.right - frame.left;
        const int h = frame.bottom - frame.top;
        if (w <= 0 || h <= 0) {
            continue;
        }
        HDC own = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
        HGDIOBJ before = SelectObject(own, bitmap);
        BitBlt(own, 0, 0, w, h, dc, at.x, at.y, SRCCOPY);
        SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(own), PRF_NONCLIENT | PRF_CLIENT);
        POINT client{0, 0};
        ClientToScreen(child, &client);
        printChildren(child, own, {client.x - frame.left, client.y - frame.top});
        BitBlt(dc, at.x, at.y, w, h, own, 0, 0, SRCCOPY);
        SelectObject(own, before);
        DeleteObject(bitmap);
        DeleteDC(own);
    }
}

// Draws `draw` into a fresh 32-bpp DIB section of width x height and reads its pixels back.
inline Capture drawnInto(int width, int height, const std::function<void(HDC)>& draw) {
    Capture shot;
    shot.width = width;
    shot.height = height;
    const Dib dib = makeDib(width, height);
    if (!dib) {
        return shot;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    {
        const Selection selected(dc, dib.bitmap.get());
        draw(dc);
        GdiFlush();
        shot.pixels.assign(dib.pixels, dib.pixels + static_cast<std::size_t>(width) * height);
    }
    DeleteDC(dc);
    return shot;
}

inline Capture capture(HWND window, bool clientOnly) {
    RECT r{};
    if (clientOnly) {
        GetClientRect(window, &r);
    } else {
        GetWindowRect(window, &r);
    }
    return drawnInto(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
        PrintWindow(window, dc, clientOnly ? PW_CLIENTONLY : 0);
        // The child controls, as they draw themselves over their parent.
        POINT origin{0, 0};
        if (!clientOnly) {
            ClientToScreen(window, &origin);
            origin.x -= r.left;
            origin.y -= r.top;
        }
        printChildren(window, dc, origin);
    });
}

// The window as it is on the screen now (after it painted): the screen's pixels under its frame.
inline Capture captureScreen(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    Capture shot = drawnInto(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
        BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    });
    ReleaseDC(nullptr, screen);
    return shot;
}

// Saves a capture as a 32-bit BMP under $LUMORA_SCREENSHOT_DIR, when that is set.
inline void saveScreenshot(const Capture& shot, const char* name) {
    const char* dir = std::getenv("LUMORA_SCREENSHOT_DIR");
    if (dir == nullptr || *dir == '\0') {
        return;
    }
    std::ofstream out(std::string(dir) + "\\" + name + ".bmp", std::ios::binary);
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(shot.pixels.size() * 4);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = shot.width;
    header.biHeight = -shot.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(shot.pixels.data()), imageBytes);
}

// A 24-bit BMP file of w x h pixels coloured by colour(x, y) (0x00RRGGBB): 54 header bytes and
// rows padded to four bytes.
inline void writeBmp(const std::wstring& path, int w, int h,
                     const std::function<std::uint32_t(int, int)>& colour) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<char> rows(static_cast<std::size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = colour(x, y);
            char* p = rows.data() + static_cast<std::ptrdiff_t>(h - 1 - y) * stride + x * 3;
            p[0] = static_cast<char>(c & 0xFF);
            p[1] = static_cast<char>((c >> 8) & 0xFF);
            p[2] = static_cast<char>((c >> 16) & 0xFF);
        }
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = 54;
    file.bfSize = static_cast<DWORD>(54 + rows.size());
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
}

// Every message box as "title|icon|text"; the other dialogs are cancelled.
struct RecordingDialogs : Dialogs {
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t>) override { return {}; }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return {};
    }
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        shown.push_back(title + "|" + std::to_string(static_cast<int>(icon)) + "|" + text);
    }
    std::vector<std::string> shown;
};

// A clock the test sets, with English names.
struct TestClock : Clock {
    DateTime when{2027, 2, 3, 9, 5, 7, 4}; // Wednesday 3 February 2027, 09:05:07
    DateTime now() const override { return when; }
    std::string monthName(int m) const override {
        static const std::array<const char*, 12> names = {
            "January", "February", "March",     "April",   "May",      "June",
            "July",    "August",   "September", "October", "November", "December"};
        return m >= 1 && m <= 12 ? names[static_cast<std::size_t>(m - 1)] : "";
    }
    std::string weekdayName(int w) const override {
        static const std::array<const char*, 7> names = {
            "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        return w >= 1 && w <= 7 ? names[static_cast<std::size_t>(w - 1)] : "";
    }
};

// A folder of its own under %TEMP% for one test, removed with its files at the end.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        m_path = std::wstring(base) + L"lumora-win-ui-" + std::to_wstring(GetCurrentProcessId()) +
                 L"-" + std::to_wstring(++counter());
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((m_path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name != L"." && name != L"..") {
                    const std::wstring full = m_path + L"\\" + name;
                    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                        RemoveDirectoryW(full.c_str());
                    } else {
                        DeleteFileW(full.c_str());
                    }
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(m_path.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::wstring file(const wchar_t* name) const { return m_path + L"\\" + name; }

private:
    static int& counter() {
        static int n = 0;
        return n;
    }
    std::wstring m_path;
};

} // namespace lumora::test
