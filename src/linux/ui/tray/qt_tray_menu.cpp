#include "linux/ui/tray/qt_tray_menu.h"

#include "core/text/translation.h"
#include "linux/ui/text/translation.h"

#include <QAction>
#include <QCursor>
#include <QFont>
#include <QKeySequence>
#include <QMenu>

using namespace lumora;

QtTrayMenu::QtTrayMenu(const TrayMenu& tree, QObject* parent)
    : QObject(parent), m_tree(tree), m_menu(new QMenu()) {
    m_menu->setObjectName(QStringLiteral("mnuoptions"));
    m_menu->setTitle(shownText(LUMORA_TR("Lumora", "Options")));
    for (const MenuItem& item : tree.items()) {
        if (item.separator()) {
            QAction* sep = m_menu->addSeparator();
            sep->setObjectName(QString::fromStdString(item.name));
            m_actions[{item.id, item.index}] = sep;
            continue;
        }
        QAction* a = m_menu->addAction(shownText(item.caption));
        QString name = QString::fromStdString(item.name);
        if (item.index != 0) {
            name += QStringLiteral("(%1)").arg(item.index);
        }
        a->setObjectName(name);
        a->setCheckable(item.checkable);
        a->setChecked(item.checked);
        if (!item.shortcut.empty()) {
            a->setShortcut(QKeySequence(QString::fromStdString(item.shortcut)));
            // Shown in the menu; the key itself is handled by the settings window.
            a->setShortcutContext(Qt::WidgetShortcut);
        }
        if (item.isDefault) {
            m_menu->setDefaultAction(a);
            QFont bold = a->font();
            bold.setBold(true);
            a->setFont(bold);
        }
        MenuId id = item.id;
        int index = item.index;
        connect(a, &QAction::triggered, this, [this, id, index] {
            emit chosen(id, index);
            sync();
        });
        m_actions[{item.id, item.index}] = a;
    }
}

QtTrayMenu::~QtTrayMenu() {
    delete m_menu;
}

QAction* QtTrayMenu::action(MenuId id, int index) const {
    auto it = m_actions.find({id, index});
    return it == m_actions.end() ? nullptr : it->second;
}

void QtTrayMenu::sync() {
    for (const MenuItem& item : m_tree.items()) {
        if (QAction* a = action(item.id, item.index); a && item.checkable) {
            a->setChecked(item.checked);
        }
    }
}

void QtTrayMenu::popupAtCursor() {
    if (!m_menu->isVisible()) {
        m_menu->popup(QCursor::pos());
    }
}
