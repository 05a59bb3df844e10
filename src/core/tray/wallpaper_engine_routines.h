#pragma once
// EngineRoutines served by the real wallpaper engine.
#include "core/engine/wallpaper_engine.h"
#include "core/tray/engine_routines.h"

namespace lumora {

class WallpaperEngineRoutines : public EngineRoutines {
public:
    explicit WallpaperEngineRoutines(WallpaperEngine& engine) : m_engine(engine) {}
    void CreateDefault() override;
    std::string defaultPicturePath() const override;
    void ApplyWallpaperForDay(int d) override;
    void ColorChange() override;

private:
    WallpaperEngine& m_engine;
};

} // namespace lumora
