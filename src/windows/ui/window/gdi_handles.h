#pragma once
// Owned Windows handles: a GDI object (font, brush, bitmap, pen), an icon, a window. Each is
// released once, when its owner goes; moving one hands the ownership on.
//
// This header includes <windows.h>: include it after the core's headers.
#include <windows.h>

#include <utility>

namespace lumora {

template <class Handle, BOOL(WINAPI* Release)(Handle)> class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : m_handle(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.m_handle, nullptr));
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { reset(); }

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void reset(Handle handle = nullptr) {
        if (m_handle != nullptr) {
            Release(m_handle);
        }
        m_handle = handle;
    }
    Handle release() { return std::exchange(m_handle, nullptr); }

private:
    Handle m_handle = nullptr;
};

inline BOOL WINAPI releaseGdiObject(HGDIOBJ object) {
    return DeleteObject(object);
}

using GdiObject = OwnedHandle<HGDIOBJ, releaseGdiObject>;
using IconHandle = OwnedHandle<HICON, DestroyIcon>;
using WindowHandle = OwnedHandle<HWND, DestroyWindow>;

// A GDI object of a known kind, handed out as that kind.
template <class Kind> class Gdi {
public:
    Gdi() = default;
    explicit Gdi(Kind object) : m_object(object) {}
    Kind get() const { return static_cast<Kind>(m_object.get()); }
    explicit operator bool() const { return static_cast<bool>(m_object); }
    void reset(Kind object = nullptr) { m_object.reset(object); }

private:
    GdiObject m_object;
};

using Font = Gdi<HFONT>;
using Brush = Gdi<HBRUSH>;
using Bitmap = Gdi<HBITMAP>;
using Pen = Gdi<HPEN>;

// A selection into a device context, undone when it goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(m_dc, m_previous); }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace lumora
