// A small X11 probe for the end-to-end tests:
//   xprobe owner SELECTION      prints the owner window id of SELECTION (0 when none)
//   xprobe region X Y W H       prints the distinct colours "R G B COUNT" of a root region
//   xprobe prop NAME            prints the root window's 32-bit property NAME as hex words
//   xprobe resources            prints "CLIENTS PIXMAPS": the server's client count and the number
//                               of pixmaps all clients hold (X-Resource extension)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#ifdef XPROBE_HAVE_XRES
#include <X11/extensions/XRes.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

namespace {
// One channel of a pixel scaled to 0..255, whatever the visual's depth (16, 15 or 24 bits).
int channel(unsigned long value, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (!((mask >> shift) & 1u)) {
        ++shift;
    }
    return static_cast<int>(((value & mask) >> shift) * 255u / (mask >> shift));
}

int region(Display* dpy, char** argv) {
    const auto w = static_cast<unsigned>(std::atoi(argv[4]));
    const auto h = static_cast<unsigned>(std::atoi(argv[5]));
    XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), std::atoi(argv[2]), std::atoi(argv[3]),
                              w, h, AllPlanes, ZPixmap);
    if (!image) {
        return 1;
    }
    std::map<std::tuple<int, int, int>, long> counts;
    for (unsigned j = 0; j < h; ++j) {
        for (unsigned i = 0; i < w; ++i) {
            const unsigned long p = XGetPixel(image, static_cast<int>(i), static_cast<int>(j));
            counts[{channel(p, image->red_mask), channel(p, image->green_mask),
                    channel(p, image->blue_mask)}]++;
        }
    }
    for (const auto& [c, n] : counts) {
        std::printf("%d %d %d %ld\n", std::get<0>(c), std::get<1>(c), std::get<2>(c), n);
    }
    XDestroyImage(image);
    return 0;
}

int prop(Display* dpy, const char* name) {
    const Atom atom = XInternAtom(dpy, name, True);
    Atom type = None;
    int format = 0;
    unsigned long n = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    int rc = 1;
    if (atom != None &&
        XGetWindowProperty(dpy, DefaultRootWindow(dpy), atom, 0, 64, False, AnyPropertyType, &type,
                           &format, &n, &after, &data) == Success &&
        data && format == 32) {
        for (unsigned long i = 0; i < n; ++i) {
            std::printf("0x%lx%s", reinterpret_cast<unsigned long*>(data)[i],
                        i + 1 < n ? " " : "\n");
        }
        rc = 0;
    }
    if (data) {
        XFree(data);
    }
    return rc;
}

int resources([[maybe_unused]] Display* dpy) {
#ifdef XPROBE_HAVE_XRES
    int clientCount = 0;
    XResClient* clients = nullptr;
    long pixmaps = 0;
    const Atom pixmapAtom = XInternAtom(dpy, "PIXMAP", False);
    if (!XResQueryClients(dpy, &clientCount, &clients)) {
        return 1;
    }
    for (int i = 0; i < clientCount; ++i) {
        int typeCount = 0;
        XResType* types = nullptr;
        if (XResQueryClientResources(dpy, clients[i].resource_base, &typeCount, &types)) {
            for (int t = 0; t < typeCount; ++t) {
                pixmaps += types[t].resource_type == pixmapAtom ? types[t].count : 0;
            }
            XFree(types);
        }
    }
    XFree(clients);
    std::printf("%d %ld\n", clientCount, pixmaps);
    return 0;
#else
    std::fprintf(stderr, "xprobe: built without the X-Resource extension (libxres-dev)\n");
    return 3;
#endif
}
} // namespace

int main(int argc, char** argv) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "xprobe: cannot open display\n");
        return 1;
    }
    const std::string cmd = argc > 1 ? argv[1] : "";
    int rc = 2;
    if (cmd == "owner" && argc == 3) {
        const Atom sel = XInternAtom(dpy, argv[2], False);
        std::printf("0x%lx\n", static_cast<unsigned long>(XGetSelectionOwner(dpy, sel)));
        rc = 0;
    } else if (cmd == "region" && argc == 6) {
        rc = region(dpy, argv);
    } else if (cmd == "prop" && argc == 3) {
        rc = prop(dpy, argv[2]);
    } else if (cmd == "resources" && argc == 2) {
        rc = resources(dpy);
    } else {
        std::fprintf(stderr, "usage: xprobe owner SEL | region X Y W H | prop NAME | resources\n");
    }
    XCloseDisplay(dpy);
    return rc;
}
