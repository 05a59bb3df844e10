#pragma once
// The tray menu as a QMenu, built from the menu tree: captions with their access keys,
// separators, check marks, "&Lumora Settings" as the bold default item and F1 shown on "&Help".
#include "core/tray/tray_menu.h"

#include <QObject>

#include <functional>
#include <map>
#include <utility>

class QAction;
class QMenu;

class QtTrayMenu : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(lumora::MenuId, int)>;
    QtTrayMenu(const lumora::TrayMenu& tree, Handler handler, QObject* parent = nullptr);
    ~QtTrayMenu() override;

    QMenu* menu() const { return m_menu; }
    QAction* action(lumora::MenuId id, int index = 0) const;
    // Takes the check marks of the tree.
    void sync();
    // Pops the menu up with its left edge at the mouse, unless it is open already.
    void popupAtCursor();

private:
    const lumora::TrayMenu& m_tree;
    Handler m_handler;
    QMenu* m_menu;
    std::map<std::pair<lumora::MenuId, int>, QAction*> m_actions;
};
