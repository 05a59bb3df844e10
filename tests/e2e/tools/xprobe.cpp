// A small X11 probe for the end-to-end tests:
//   xprobe owner SELECTION      prints the owner window id of SELECTION (0 when none)
//   xprobe pixel X Y            prints "R G B" of the root window's pixel at X,Y
//   xprobe region X Y W H       prints the distinct colours of a root region with their counts
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
#include <cstring>
#include <map>
#include <string>
#include <tuple>

namespace {
int usage() {
    std::fprintf(stderr,
                 "usage: xprobe owner SEL | pixel X Y | region X Y W H | prop NAME | resources\n");
    return 2;
}

std::tuple<int, int, int> rgbOf(XImage* image, int x, int y) {
    unsigned long p = XGetPixel(image, x, y);
    auto channel = [](unsigned long value, unsigned long mask) {
        if (mask == 0) {
            return 0;
        }
        int shift = 0;
        while (!((mask >> shift) & 1u)) {
            ++shift;
        }
        unsigned long max = mask >> shift;
        return static_cast<int>(((value & mask) >> shift) * 255u / max);
    };
    return {channel(p, image->red_mask), channel(p, image->green_mask),
            channel(p, image->blue_mask)};
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "xprobe: cannot open display\n");
        return 1;
    }
    Window root = DefaultRootWindow(dpy);
    std::string cmd = argv[1];
    int rc = 0;
    if (cmd == "owner" && argc == 3) {
        Atom sel = XInternAtom(dpy, argv[2], False);
        std::printf("0x%lx\n", static_cast<unsigned long>(XGetSelectionOwner(dpy, sel)));
    } else if (cmd == "pixel" && argc == 4) {
        int x = std::atoi(argv[2]);
        int y = std::atoi(argv[3]);
        XImage* image = XGetImage(dpy, root, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) {
            rc = 1;
        } else {
            auto [r, g, b] = rgbOf(image, 0, 0);
            std::printf("%d %d %d\n", r, g, b);
            XDestroyImage(image);
        }
    } else if (cmd == "region" && argc == 6) {
        int x = std::atoi(argv[2]);
        int y = std::atoi(argv[3]);
        unsigned w = static_cast<unsigned>(std::atoi(argv[4]));
        unsigned h = static_cast<unsigned>(std::atoi(argv[5]));
        XImage* image = XGetImage(dpy, root, x, y, w, h, AllPlanes, ZPixmap);
        if (!image) {
            rc = 1;
        } else {
            std::map<std::tuple<int, int, int>, long> counts;
            for (unsigned j = 0; j < h; ++j) {
                for (unsigned i = 0; i < w; ++i) {
                    counts[rgbOf(image, static_cast<int>(i), static_cast<int>(j))]++;
                }
            }
            for (const auto& [c, n] : counts) {
                std::printf("%d %d %d %ld\n", std::get<0>(c), std::get<1>(c), std::get<2>(c), n);
            }
            XDestroyImage(image);
        }
    } else if (cmd == "prop" && argc == 3) {
        Atom prop = XInternAtom(dpy, argv[2], True);
        Atom type = None;
        int format = 0;
        unsigned long n = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (prop != None &&
            XGetWindowProperty(dpy, root, prop, 0, 64, False, AnyPropertyType, &type, &format, &n,
                               &after, &data) == Success &&
            data && format == 32) {
            auto* words = reinterpret_cast<unsigned long*>(data);
            for (unsigned long i = 0; i < n; ++i) {
                std::printf("0x%lx%s", words[i], i + 1 < n ? " " : "\n");
            }
        } else {
            rc = 1;
        }
        if (data) {
            XFree(data);
        }
    } else if (cmd == "resources" && argc == 2) {
#ifdef XPROBE_HAVE_XRES
        int clientCount = 0;
        XResClient* clients = nullptr;
        long pixmaps = 0;
        const Atom pixmapAtom = XInternAtom(dpy, "PIXMAP", False);
        if (XResQueryClients(dpy, &clientCount, &clients)) {
            for (int i = 0; i < clientCount; ++i) {
                int typeCount = 0;
                XResType* types = nullptr;
                if (XResQueryClientResources(dpy, clients[i].resource_base, &typeCount, &types)) {
                    for (int t = 0; t < typeCount; ++t) {
                        if (types[t].resource_type == pixmapAtom) {
                            pixmaps += types[t].count;
                        }
                    }
                    XFree(types);
                }
            }
            XFree(clients);
            std::printf("%d %ld\n", clientCount, pixmaps);
        } else {
            rc = 1;
        }
#else
        std::fprintf(stderr, "xprobe: built without the X-Resource extension (libxres-dev)\n");
        rc = 3;
#endif
    } else {
        rc = usage();
    }
    XCloseDisplay(dpy);
    return rc;
}
