#include "windows/ui/window/window.h"

namespace lumora {

namespace {

constexpr wchar_t kClassName[] = L"LumoraWindow";

bool registerClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.style = CS_DBLCLKS;
        c.lpfnWndProc = procedure;
        c.hInstance = GetModuleHandleW(nullptr);
        c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        c.lpszClassName = kClassName;
        return RegisterClassExW(&c) != 0;
    }();
    return registered;
}

} // namespace

int scaledLength(int length96, int dpi) {
    return MulDiv(length96, dpi, 96);
}

Window::~Window() {
    destroy();
}

bool Window::create(const WindowSpec& spec) {
    if (m_hwnd != nullptr || !registerClass(&Window::procedure)) {
        return false;
    }
    m_clientWidth96 = spec.clientWidth;
    m_clientHeight96 = spec.clientHeight;
    m_background = spec.background;
    HWND made = CreateWindowExW(spec.exStyle, kClassName, spec.title.c_str(), spec.style,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                spec.owner, nullptr, GetModuleHandleW(nullptr), this);
    if (made == nullptr) {
        return false;
    }
    if (spec.icon != nullptr) {
        SendMessageW(made, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(spec.icon));
        SendMessageW(made, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(spec.icon));
    }
    if (spec.clientWidth > 0 && spec.clientHeight > 0) {
        setClientSize96(spec.clientWidth, spec.clientHeight);
    }
    return true;
}

int Window::dpi() const {
    const UINT value = m_hwnd != nullptr ? GetDpiForWindow(m_hwnd) : 0;
    return value != 0 ? static_cast<int>(value) : 96;
}

int Window::scaled(int length96) const {
    return scaledLength(length96, dpi());
}

void Window::setClientSize96(int width, int height) {
    m_clientWidth96 = width;
    m_clientHeight96 = height;
    if (m_hwnd == nullptr) {
        return;
    }
    RECT frame{0, 0, scaled(width), scaled(height)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi()));
    SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::destroy() {
    if (m_hwnd != nullptr) {
        DestroyWindow(m_hwnd);
    }
}

LRESULT Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultHandling(message, wParam, lParam);
}

LRESULT Window::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND && m_background != nullptr) {
        RECT client{};
        GetClientRect(m_hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, m_background);
        return 1;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr && message == WM_NCCREATE) {
        // The object is bound to its window once, before any other message of it.
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->onMessage(message, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        self->onDestroyed();
        return result;
    }
    if (message == WM_DPICHANGED && self->m_clientWidth96 > 0) {
        // The monitor's scale changed: the client area keeps its size at 96 dpi.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        self->setClientSize96(self->m_clientWidth96, self->m_clientHeight96);
    }
    return self->onMessage(message, wParam, lParam);
}

} // namespace lumora
