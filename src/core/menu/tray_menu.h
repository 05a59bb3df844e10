#pragma once
// The tray menu `mnuoptions` as data: its items in display order with their captions ("&" marks
// the access key, "-" is a separator), check marks and the default item.
#include <string>
#include <vector>

namespace lumora {

enum class MenuId {
    mnurefresh,
    mnuexit,
    sep1,
    mnuday,
    sep2,
    mnuAutoRun,
    mnuAlert,
    MainAbout,
    DeskCol,
    sep22,
    mnuabout,
    mnuHelp,
    MnAbout,
};

struct MenuItem {
    MenuId id = MenuId::mnurefresh;
    int index = 0;          // 1..7 for the `mnuday` array, 0 otherwise
    std::string name;       // design name, e.g. "mnuday"
    std::string caption;    // "-" for a separator
    bool checkable = false; // shows a check mark when checked
    bool checked = false;
    bool isDefault = false; // drawn in bold when the menu pops up
    std::string shortcut;   // e.g. "F1"

    bool separator() const { return caption == "-"; }
};

class TrayMenu {
public:
    // The menu as designed: "Display Alert Messages" and "Show Logo at startup" checked.
    TrayMenu();

    const std::vector<MenuItem>& items() const { return m_items; }
    const MenuItem* find(MenuId id, int index = 0) const;

    bool checked(MenuId id) const;
    void setChecked(MenuId id, bool checked);

    // The access key of a caption (the character after a single "&"), or 0 when it has none.
    static char accessKey(const std::string& caption);

private:
    std::vector<MenuItem> m_items;
};

} // namespace lumora
