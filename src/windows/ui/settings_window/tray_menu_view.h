#pragma once
// The tray menu as the settings window hands it on: the window pops it up and tells it of a
// changed check mark; the tray's own window implements it.
namespace lumora {

class TrayMenuView {
public:
    virtual ~TrayMenuView() = default;
    // Pops the menu up at the mouse with "&Lumora Settings" as its default item.
    virtual void popupMenu() = 0;
    // A check mark of the menu changed: the menu shows the marks afresh.
    virtual void menuChanged() = 0;
};

} // namespace lumora
