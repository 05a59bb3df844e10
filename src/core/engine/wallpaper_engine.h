#pragma once
// The wallpaper engine: deciding and applying a day's wallpaper, preparing the day copies and the
// default picture, and the desktop colour. Routines of FrmMain, working on its state.
#include "core/ports/desktop_backend.h"
#include "core/ports/dialogs.h"
#include "core/ports/event_pump.h"
#include "core/ports/file_access.h"
#include "core/ports/file_sync.h"
#include "core/ports/program_info.h"
#include "core/ports/resources.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"

#include <cstdint>
#include <string>

namespace lumora {

// Where the engine's alerts go: FrmMain sends each as one ModifyTrayIcon call (title "Lumora",
// information icon, 2000 ms) with its caption at that moment as the tip.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text) = 0;
};

struct EngineServices {
    Registry& registry;
    Options& options;
    DesktopBackend& desktop;
    MessageSink& messages;
    EventPump& events;
    ProgramInfo& program;
    Resources& resources;
    Dialogs& dialogs;
    FileAccess& files;
};

class WallpaperEngine {
public:
    WallpaperEngine(FrmMainState& state, EngineServices services)
        : m_state(state), m_services(services) {}

    // Decides, sets and reports the wallpaper of day d (WeekdayNumber 1..7). Never throws.
    void ApplyWallpaperForDay(int d);
    // Hands path and style to the desktop. Never throws.
    void SetDesktopWallpaper(const std::string& path, int style);
    // Copies `source` to the day's copy in the picture folder and records it as day d's picture.
    // False when the copy failed (a source that cannot be read or vanished meanwhile, a full
    // disk): the previous copy and the day's value are then left as they were.
    bool Transf(const std::string& source, int d);
    // Writes the built-in default picture to the picture folder's Default.bmp.
    void CreateDefault();
    // The colour dialog: sets and stores the chosen desktop colour.
    void ColorChange();

    // The path of the default picture: <picture folder>/Default.bmp.
    std::string defaultPicturePath() const;
    // The day copy's path for `source` and day d: <picture folder>/<DayName><last four chars>.
    std::string dayCopyPath(const std::string& source, int d) const;

    // What the desktop did in the last ApplyWallpaperForDay run: success, or the first failure
    // (a desktop call that did not go through, a day picture that could not be read).
    const DesktopResult& lastRun() const { return m_lastRun; }

    // Optional: makes each finished copy durable before it is renamed into place.
    void setFileSync(FileSync* sync) { m_fileSync = sync; }

private:
    // Hands path and style to the desktop; a throwing backend counts as a failure.
    DesktopResult setWallpaperChecked(const std::string& path, int style);
    // Marks the current run failed and keeps its first failure.
    void noteFailure(const DesktopResult& result);
    // Runs one statement of ApplyWallpaperForDay; a failure skips it and marks the run.
    template <class Statement> void step(Statement&& statement);
    // The picture folder, created when missing. Throws when it cannot be had.
    std::string ensurePictureFolder() const;

    FrmMainState& m_state;
    EngineServices m_services;
    FileSync* m_fileSync = nullptr;
    bool m_runFailed = false; // some step of the current ApplyWallpaperForDay run failed
    DesktopResult m_lastRun;  // what the desktop did in the last run
};

} // namespace lumora
