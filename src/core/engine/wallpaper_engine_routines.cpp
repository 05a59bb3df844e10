#include "core/engine/wallpaper_engine_routines.h"

namespace lumora {

void WallpaperEngineRoutines::CreateDefault() {
    m_engine.CreateDefault();
}

std::string WallpaperEngineRoutines::defaultPicturePath() const {
    return m_engine.defaultPicturePath();
}

void WallpaperEngineRoutines::ApplyWallpaperForDay(int d) {
    m_engine.ApplyWallpaperForDay(d);
}

void WallpaperEngineRoutines::ColorChange() {
    m_engine.ColorChange();
}

bool WallpaperEngineRoutines::Transf(const std::string& source, int d) {
    return m_engine.Transf(source, d);
}

} // namespace lumora
