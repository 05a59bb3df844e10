// lumora_bench_set PATH STYLE [COLOUR]
// Sets one wallpaper on $DISPLAY's root window through the X11 root-window backend and exits, as
// the one-shot setters do. With COLOUR (decimal 0x00BBGGRR) the colour is set first, the order the
// engine uses when it sets both. An empty PATH sets no wallpaper.
#include "platform/desktop/x11_root_backend.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: lumora_bench_set PATH STYLE [COLOUR]\n");
        return 2;
    }
    lumora::X11RootBackend backend;
    if (argc == 4) {
        backend.setBackgroundColor(static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)));
    }
    backend.setWallpaper(argv[1], std::atoi(argv[2]));
    return 0;
}
