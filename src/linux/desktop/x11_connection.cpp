#include "linux/desktop/x11_connection.h"

#include <xcb/randr.h>

#include <cstring>
#include <utility>

namespace lumora::x11 {

std::vector<PixelRect> monitorsOf(xcb_connection_t* c, xcb_window_t root) {
    std::vector<PixelRect> monitors;
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_randr_id);
    if (!ext || !ext->present) {
        return monitors;
    }
    // Both asked at once; a server without monitors (before RandR 1.5) answers the second with
    // an error, and the whole root is then one monitor.
    const auto versionCookie = xcb_randr_query_version(c, 1, 5);
    const auto monitorsCookie = xcb_randr_get_monitors(c, root, 1);
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(c, versionCookie, &error));
    std::free(std::exchange(error, nullptr));
    XcbReply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, monitorsCookie, &error));
    std::free(error); // expected from an older server: not a failure of ours
    if (!version || (version->major_version == 1 && version->minor_version < 5) || !reply) {
        return monitors;
    }
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        monitors.push_back({it.data->x, it.data->y, it.data->width, it.data->height});
    }
    return monitors;
}

xcb_intern_atom_cookie_t askAtom(xcb_connection_t* c, const char* name) {
    return xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
}

xcb_atom_t atomOf(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie) {
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_pixmap_t pixmapOf(xcb_connection_t* c, xcb_get_property_cookie_t cookie) {
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->type != XCB_ATOM_PIXMAP || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4) {
        return XCB_NONE;
    }
    xcb_pixmap_t id = XCB_NONE;
    std::memcpy(&id, xcb_get_property_value(reply.get()), sizeof id);
    return id;
}

std::string pendingError(xcb_connection_t* c) {
    std::string reason;
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        if (event->response_type == 0 && reason.empty()) {
            const auto* error = reinterpret_cast<const xcb_generic_error_t*>(event);
            reason = "the X server refused a request (error " + std::to_string(error->error_code) +
                     ", request " + std::to_string(error->major_code) + ")";
        }
        std::free(event);
    }
    return reason;
}

} // namespace lumora::x11
