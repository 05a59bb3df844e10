#pragma once
// The main window `FrmMain` as the start-up sequence and the tray menu's handlers see it: the
// window itself, its tray menu and the controls of the settings window they touch. Implemented by
// the Qt window.
#include <string>

namespace lumora {

enum class MenuId;

class MainWindow {
public:
    virtual ~MainWindow() = default;

    // The window's caption at this moment.
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual bool isShown() const = 0;
    // Shows the window modeless / hides it.
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    // SetTopMost(the window, True).
    virtual void setTopMost() = 0;
    // Pops up the tray menu at the mouse with "&Lumora Settings" as its default item.
    virtual void popupMenu() = 0;
    // The check mark of a menu item changed.
    virtual void setMenuChecked(MenuId id, bool checked) = 0;
    // The window goes away for good (after Form_Unload); the process ends with its last window.
    virtual void destroyWindow() = 0;

    // Controls of the settings window.
    virtual void AffDays() = 0;
    virtual void setLabel1Caption(int index, const std::string& caption) = 0;
    virtual void Lab18ToolTip(float mode) = 0;
    virtual void AffModif() = 0;
    virtual void setStyleLabel(int weekdayNumber, const std::string& caption,
                               const std::string& toolTip) = 0;
    virtual void AffMessage(bool enabled) = 0;
    virtual void AffPics() = 0;
    virtual void ModifBold() = 0;
    // The information panel back to its resting state (the author).
    virtual void resetInfoPanel() = 0;
    // Empties the measuring box and the seven thumbnails.
    virtual void dropThumbnails() = 0;

    // Choosing a day's picture (index 1..7, Sunday..Saturday).
    virtual void mnuday_Click(int index) = 0;
};

} // namespace lumora
