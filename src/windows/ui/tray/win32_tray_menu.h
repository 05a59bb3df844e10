#pragma once
// The tray menu as a Win32 pop-up menu, built from the menu tree: every item in order with its
// access key, the separators, the check marks, "&Lumora Settings" as the bold default item and
// F1 shown beside "&Help". A chosen item comes back to the owner window as WM_COMMAND with the
// item's command id.
//
// This header includes <windows.h>: include it after the core's headers.
#include "core/menu/tray_menu.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace lumora {

class Win32TrayMenu {
public:
    // The command id of the tree's first item; the others follow in order.
    static constexpr UINT kFirstCommand = 100;

    explicit Win32TrayMenu(const TrayMenu& tree);
    ~Win32TrayMenu();
    Win32TrayMenu(const Win32TrayMenu&) = delete;
    Win32TrayMenu& operator=(const Win32TrayMenu&) = delete;

    HMENU menu() const { return m_menu; }
    // The command id of an item, 0 when the tree has no such item.
    UINT commandOf(MenuId id, int index = 0) const;
    // The item of a command id (id and index 1..7 of the day items).
    std::optional<std::pair<MenuId, int>> itemOf(UINT command) const;
    // The text an item shows: its caption, and its shortcut after a tab.
    static std::wstring itemText(const MenuItem& item);

    // Takes the check marks of the tree.
    void sync();
    // Pops the menu up with its left edge at `at` (screen coordinates) and returns when it has
    // closed. The owner is made the foreground window first, so that a click elsewhere closes
    // the menu, and is posted WM_NULL after, so that a second pop-up works at once.
    void popup(HWND owner, POINT at);
    bool isOpen() const { return m_open; }

private:
    const TrayMenu& m_tree;
    HMENU m_menu = nullptr;
    bool m_open = false;
};

} // namespace lumora
