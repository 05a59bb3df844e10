#pragma once
// The routines of the wallpaper engine that start-up, the tray menu and the settings window call.
#include <string>

namespace lumora {

class EngineRoutines {
public:
    virtual ~EngineRoutines() = default;
    virtual void CreateDefault() = 0;
    virtual std::string defaultPicturePath() const = 0;
    virtual void ApplyWallpaperForDay(int d) = 0;
    virtual void ColorChange() = 0;
    // True when the copy is in place and recorded as the day's picture.
    virtual bool Transf(const std::string& source, int d) = 0;
};

} // namespace lumora
