#pragma once
// The tray menu as a QMenu, built from the menu tree: captions with their access keys,
// separators, check marks, "&Lumora Settings" as the bold default item and F1 shown on "&Help".
#include "core/menu/tray_menu.h"

#include <QObject>

#include <functional>
#include <map>
#include <utility>

class QAction;
class QMenu;

class QtTrayMenu : public QObject {
    Q_OBJECT
public:
    explicit QtTrayMenu(const lumora::TrayMenu& tree, QObject* parent = nullptr);
    ~QtTrayMenu() override;

    QMenu* menu() const { return m_menu; }
    QAction* action(lumora::MenuId id, int index = 0) const;
    // Takes the check marks of the tree.
    void sync();
    // Pops the menu up with its left edge at the mouse, unless it is open already.
    void popupAtCursor();

signals:
    // An item was chosen: its id and, for the day items, its index 1..7.
    void chosen(lumora::MenuId id, int index);

private:
    const lumora::TrayMenu& m_tree;
    QMenu* m_menu;
    std::map<std::pair<lumora::MenuId, int>, QAction*> m_actions;
};
