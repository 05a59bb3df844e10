#pragma once
// EngineRoutines served by the real wallpaper engine.
#include "core/engine/engine_routines.h"
#include "core/engine/wallpaper_engine.h"

namespace lumora {

class WallpaperEngineRoutines : public EngineRoutines {
public:
    explicit WallpaperEngineRoutines(WallpaperEngine& engine) : m_engine(engine) {}
    void CreateDefault() override;
    std::string defaultPicturePath() const override;
    void ApplyWallpaperForDay(int d) override;
    void ColorChange() override;
    bool Transf(const std::string& source, int d) override;

private:
    WallpaperEngine& m_engine;
};

} // namespace lumora
