#pragma once
// A check mark of the tray menu changes in the menu's data and on screen together.
#include "core/menu/tray_menu.h"
#include "core/ports/main_window.h"

namespace lumora {

inline void checkMenu(TrayMenu& menu, MainWindow& window, MenuId id, bool checked) {
    menu.setChecked(id, checked);
    window.menuChanged();
}

} // namespace lumora
