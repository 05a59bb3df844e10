#pragma once
// The wallpaper start-up will most likely set, read from the store before the program is up, so
// that the desktop can start drawing it early: the day's own picture in its style on the stored
// colour, as the engine sets it when the day has a picture and the day's own picture is what is
// shown.
#include "core/settings/options.h"
#include "core/settings/registry.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

struct ExpectedWallpaper {
    std::string path;
    int style = 0;           // as the desktop takes it
    std::uint32_t color = 0; // 0x00BBGGRR; black when no colour was ever chosen
};

// For day `weekdayNumber` (Sunday = 1); nothing when another mode is shown, the day has no picture
// of its own, its value cannot be read, or its style leaves the desktop as it is.
std::optional<ExpectedWallpaper> expectedStartWallpaper(Registry& registry, Options& options,
                                                        int weekdayNumber);

} // namespace lumora
