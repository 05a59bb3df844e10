// lumora_bench_set PATH STYLE [COLOUR] [--not-prepared]
// Sets one wallpaper on $DISPLAY's root window through the X11 root-window backend and exits, as
// the one-shot setters do. With COLOUR (decimal 0x00BBGGRR) the colour is set first, the order the
// engine uses when it sets both. An empty PATH sets no wallpaper. The backend reads a picture it
// has prepared before from $XDG_CACHE_HOME/lumora and keeps what it decodes there; with
// --not-prepared it only decodes, and keeps nothing.
#include "linux/desktop/x11_root_backend.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    const bool prepared = std::strcmp(argv[argc - 1], "--not-prepared") != 0;
    if (!prepared) {
        --argc;
    }
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: lumora_bench_set PATH STYLE [COLOUR] [--not-prepared]\n");
        return 2;
    }
    auto made = prepared ? std::make_unique<lumora::X11RootBackend>()
                         : std::make_unique<lumora::X11RootBackend>(std::string());
    lumora::X11RootBackend& backend = *made;
    if (argc == 4) {
        backend.setBackgroundColor(static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)));
    }
    backend.setWallpaper(argv[1], std::atoi(argv[2]));
    return 0;
}
