#include "windows/ui/tray/win32_tray_menu.h"

#include "core/text/translation.h"
#include "windows/platform/wide_text.h"

namespace lumora {

std::wstring Win32TrayMenu::itemText(const MenuItem& item) {
    std::wstring text = wideFromUtf8(translated(item.caption));
    if (!item.shortcut.empty()) {
        text += L"\t" + wideFromUtf8(item.shortcut);
    }
    return text;
}

Win32TrayMenu::Win32TrayMenu(const TrayMenu& tree) : m_tree(tree), m_menu(CreatePopupMenu()) {
    UINT command = kFirstCommand;
    for (const MenuItem& item : tree.items()) {
        if (item.separator()) {
            AppendMenuW(m_menu, MF_SEPARATOR, command++, nullptr);
            continue;
        }
        const std::wstring text = itemText(item);
        AppendMenuW(m_menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), command,
                    text.c_str());
        if (item.isDefault) {
            // The default item is drawn in bold.
            SetMenuDefaultItem(m_menu, command, FALSE);
        }
        ++command;
    }
}

Win32TrayMenu::~Win32TrayMenu() {
    DestroyMenu(m_menu);
}

UINT Win32TrayMenu::commandOf(MenuId id, int index) const {
    UINT command = kFirstCommand;
    for (const MenuItem& item : m_tree.items()) {
        if (item.id == id && item.index == index) {
            return command;
        }
        ++command;
    }
    return 0;
}

std::optional<std::pair<MenuId, int>> Win32TrayMenu::itemOf(UINT command) const {
    if (command < kFirstCommand || command - kFirstCommand >= m_tree.items().size()) {
        return std::nullopt;
    }
    const MenuItem& item = m_tree.items()[command - kFirstCommand];
    return std::pair{item.id, item.index};
}

void Win32TrayMenu::sync() {
    UINT command = kFirstCommand;
    for (const MenuItem& item : m_tree.items()) {
        if (item.checkable) {
            CheckMenuItem(m_menu, command,
                          MF_BYCOMMAND | (item.checked ? MF_CHECKED : MF_UNCHECKED));
        }
        ++command;
    }
}

void Win32TrayMenu::popup(HWND owner, POINT at) {
    if (m_open) {
        return;
    }
    m_open = true;
    SetForegroundWindow(owner);
    TrackPopupMenuEx(m_menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, owner,
                     nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    m_open = false;
}

} // namespace lumora
