// lumora_bench_watch CLASS PANEL WALL -- COMMAND [ARG...]
// Starts COMMAND and prints "ICON_MS WALL_MS PEAK_KIB": the milliseconds from just before the
// start until a window whose WM_CLASS contains CLASS is inside the tray panel PANEL (a window
// id; "-" as CLASS: not waited for), and until the root window's _XROOTPMAP_ID changes (WALL 0:
// not waited for); then the command is ended with SIGTERM (unless it ended by itself) and its peak
// resident memory is read. A time not waited for prints as "-". Gives up after 30 seconds.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

// Whether a window of `wanted` class is anywhere below `top`.
bool classBelow(xcb_connection_t* c, xcb_window_t top, const std::string& wanted) {
    std::vector<xcb_window_t> level{top};
    while (!level.empty()) {
        std::vector<xcb_query_tree_cookie_t> trees;
        std::vector<xcb_get_property_cookie_t> classes;
        for (xcb_window_t w : level) {
            trees.push_back(xcb_query_tree(c, w));
            classes.push_back(xcb_get_property(c, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64));
        }
        std::vector<xcb_window_t> next;
        for (std::size_t i = 0; i < level.size(); ++i) {
            Reply<xcb_get_property_reply_t> cls(xcb_get_property_reply(c, classes[i], nullptr),
                                                &std::free);
            if (cls && xcb_get_property_value_length(cls.get()) > 0) {
                const auto* text = static_cast<const char*>(xcb_get_property_value(cls.get()));
                const std::string value(text,
                                        std::size_t(xcb_get_property_value_length(cls.get())));
                if (value.find(wanted) != std::string::npos) {
                    return true;
                }
            }
            Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, trees[i], nullptr),
                                               &std::free);
            if (tree) {
                const xcb_window_t* kids = xcb_query_tree_children(tree.get());
                next.insert(next.end(), kids, kids + xcb_query_tree_children_length(tree.get()));
            }
        }
        level = std::move(next);
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6 || std::strcmp(argv[4], "--") != 0) {
        std::fprintf(stderr, "usage: lumora_bench_watch CLASS PANEL WALL -- COMMAND [ARG...]\n");
        return 2;
    }
    const std::string wanted = argv[1];
    const bool waitIcon = wanted != "-";
    const auto panel = static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0));
    const bool waitWall = std::strcmp(argv[3], "0") != 0;

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const char* atomName = "_XROOTPMAP_ID";
    Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(atomName)), atomName), nullptr),
        &std::free);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[5], nullptr, nullptr, argv + 5, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[5]);
        return 1;
    }
    auto since = [&start] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    double iconMs = -1;
    double wallMs = -1;
    bool ended = false;
    int status = 0;
    rusage usage{};
    while ((waitIcon && iconMs < 0) || (waitWall && wallMs < 0)) {
        if (since() > 30000) {
            std::fprintf(stderr, "timed out\n");
            kill(child, SIGKILL);
            return 1;
        }
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && atom &&
                reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == atom->atom &&
                wallMs < 0) {
                wallMs = since();
            }
            std::free(event);
        }
        if (waitIcon && iconMs < 0 && classBelow(c, panel, wanted)) {
            iconMs = since();
        }
        if (!ended && wait4(child, &status, WNOHANG, &usage) == child) {
            ended = true;
        }
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&fd, 1, 2);
    }
    if (!ended) {
        kill(child, SIGTERM);
        wait4(child, &status, 0, &usage);
    }
    auto show = [](double ms) { return ms < 0 ? std::string("-") : std::to_string(ms); };
    std::printf("%s %s %ld\n", show(iconMs).c_str(), show(wallMs).c_str(), usage.ru_maxrss);
    xcb_disconnect(c);
    return 0;
}
