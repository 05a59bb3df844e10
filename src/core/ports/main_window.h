#pragma once
// The main window `FrmMain` as the core sees it: the settings window, drawn from a view the core
// builds, and the tray menu it pops up. Implemented by the Qt window.
#include "core/ports/pictures.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumora {

struct SettingsView;

class MainWindow {
public:
    virtual ~MainWindow() = default;

    // Draws every control from the view.
    virtual void render(const SettingsView& view) = 0;
    // The window's caption at this moment (alerts pass it as the icon's tip).
    virtual std::string caption() const = 0;
    virtual bool isShown() const = 0;
    // Shows the window modeless / hides it.
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    // SetTopMost(the window, True).
    virtual void setTopMost() = 0;
    // Pops up the tray menu at the mouse with "&Lumora Settings" as its default item.
    virtual void popupMenu() = 0;
    // A check mark of the tray menu changed.
    virtual void menuChanged() = 0;
    // The window goes away for good (after Form_Unload); the process ends with its last window.
    virtual void destroyWindow() = 0;

    // The thumbnails about to be loaded (day, path): a window may decode them all at once.
    virtual void prepareThumbnails(const std::vector<std::pair<int, std::string>>& days) {
        (void)days;
    }
    // Loads day w's picture into its thumbnail (Image1(w)). The picture's own pixel size, or
    // nothing when it cannot be loaded; the thumbnail then shows the no-picture image.
    virtual std::optional<PixelSize> loadThumbnail(int weekdayNumber, const std::string& path) = 0;
    // Empties the seven thumbnails and the measuring box.
    virtual void dropThumbnails() = 0;
};

} // namespace lumora
