#pragma once
// The window layer: one C++ object per top-level window, its HWND bound to it once when Windows
// creates it, and every message handed to the object's onMessage(). Sizes are given at 96 dpi and
// scaled as one with the window's monitor (per-monitor DPI awareness).
//
// This header includes <windows.h>: include it after the core's headers.
#include <windows.h>

#include <string>

namespace lumora {

struct WindowSpec {
    std::wstring title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int clientWidth = 0; // at 96 dpi; 0 for a window with no size of its own (a message window)
    int clientHeight = 0;
    HWND owner = nullptr;
    HBRUSH background = nullptr; // erases the client area; nullptr: the window paints all of itself
    HICON icon = nullptr;
};

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    // Makes the window (hidden). False when Windows refuses it.
    bool create(const WindowSpec& spec);
    HWND hwnd() const { return m_hwnd; }
    bool exists() const { return m_hwnd != nullptr; }
    // The monitor's dots per inch for this window (96 at 100 %).
    int dpi() const;
    // A length at 96 dpi in this window's pixels.
    int scaled(int length96) const;
    // Sets the client area to width x height at 96 dpi, keeping the window's top left.
    void setClientSize96(int width, int height);
    // Destroys the window (the object stays, without a window).
    void destroy();

protected:
    // Every message of the window; the default is Windows' own handling.
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
    // The window is gone (WM_NCDESTROY): hwnd() is null again.
    virtual void onDestroyed() {}

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    int m_clientWidth96 = 0;
    int m_clientHeight96 = 0;
    HBRUSH m_background = nullptr; // not owned
};

// A length at 96 dpi at `dpi`.
int scaledLength(int length96, int dpi);

} // namespace lumora
