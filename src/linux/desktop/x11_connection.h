#pragma once
// The X connection of one drawing, replies freed with the C library, and the few requests the
// root-window backend makes beside drawing: atoms, the root's pixmap properties, the monitors,
// errors waiting on the connection.
#include "linux/desktop/wallpaper_geometry.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace lumora::x11 {

template <typename T> struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter<T>>;

class Connection {
public:
    explicit Connection(const std::string& display) {
        m_c = xcb_connect(display.empty() ? nullptr : display.c_str(), &m_screenNumber);
    }
    ~Connection() {
        if (m_c) {
            xcb_disconnect(m_c);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    xcb_connection_t* get() const { return m_c; }
    bool ok() const { return m_c && !xcb_connection_has_error(m_c); }

    const xcb_screen_t* screen() const {
        int n = m_screenNumber;
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(m_c)); it.rem;
             xcb_screen_next(&it), --n) {
            if (n == 0) {
                return it.data;
            }
        }
        return nullptr;
    }

    // Waits until the server has handled everything sent so far.
    void sync() { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

private:
    xcb_connection_t* m_c = nullptr;
    int m_screenNumber = 0;
};

// The monitors of the root (RandR 1.5); none when the server cannot tell, and the whole root is
// then one monitor.
std::vector<PixelRect> monitorsOf(xcb_connection_t* c, xcb_window_t root);
xcb_intern_atom_cookie_t askAtom(xcb_connection_t* c, const char* name);
xcb_atom_t atomOf(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie);
// The pixmap a root property names, or none.
xcb_pixmap_t pixmapOf(xcb_connection_t* c, xcb_get_property_cookie_t cookie);
// The first X error waiting on the connection, as a reason; empty when there is none.
std::string pendingError(xcb_connection_t* c);

} // namespace lumora::x11
