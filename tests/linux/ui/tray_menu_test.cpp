// The tray menu as Qt shows it, and the tray backend's translations.
#include "core/menu/tray_menu.h"
#include "core/tray/tray_module.h"
#include "linux/ui/tray/qt_tray_host.h"
#include "linux/ui/tray/qt_tray_menu.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <vector>

using namespace lumora;

namespace {

// Every item in order, as the tree has it; each one reaches the handler with its id and index.
TEST(TrayMenuWidget, ShowsTheTreeInOrderAndEachItemReachesTheHandler) {
    TrayMenu tree;
    std::vector<std::pair<MenuId, int>> calls;
    QtTrayMenu menu(tree);
    QObject::connect(&menu, &QtTrayMenu::chosen,
                     [&](MenuId id, int index) { calls.emplace_back(id, index); });
    const QList<QAction*> actions = menu.menu()->actions();
    ASSERT_EQ(static_cast<std::size_t>(actions.size()), tree.items().size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const MenuItem& item = tree.items()[static_cast<std::size_t>(i)];
        QAction* a = actions[i];
        SCOPED_TRACE(item.caption);
        EXPECT_EQ(a->isSeparator(), item.separator());
        EXPECT_EQ(a->isCheckable(), item.checkable);
        EXPECT_EQ(a->isChecked(), item.checked);
        EXPECT_EQ(a->font().bold(), item.isDefault);
        EXPECT_EQ(menu.menu()->defaultAction() == a, item.isDefault);
        EXPECT_EQ(a->shortcut().toString().toStdString(), item.shortcut);
        if (!item.separator()) {
            EXPECT_EQ(a->text().toStdString(), item.caption);
            EXPECT_EQ(menu.action(item.id, item.index), a);
            calls.clear();
            a->trigger();
            EXPECT_EQ(calls, (std::vector<std::pair<MenuId, int>>{{item.id, item.index}}));
        }
    }
    EXPECT_EQ(menu.action(MenuId::mnuday, 4)->text(), QStringLiteral("&Wednesday"));
    EXPECT_EQ(menu.menu()->defaultAction()->text(), QStringLiteral("&Lumora Settings"));
}

TEST(TrayMenuWidget, CheckMarksFollowTheTreeNotTheClick) {
    TrayMenu tree;
    // Nothing changes the tree: Qt's own toggle must not stick.
    QtTrayMenu menu(tree);
    menu.action(MenuId::mnuAlert)->trigger();
    EXPECT_TRUE(menu.action(MenuId::mnuAlert)->isChecked());
    tree.setChecked(MenuId::mnuAutoRun, true);
    menu.sync();
    EXPECT_TRUE(menu.action(MenuId::mnuAutoRun)->isChecked());
}

// Each activation Qt reports, through the tray message it stands for, to the action of the shell's
// callback: XEmbed hosts report a double click, StatusNotifierItem hosts a single one.
TEST(TrayActivation, DecodesLikeTheShellsCallback) {
    const struct {
        QSystemTrayIcon::ActivationReason reason;
        bool sni;
        int action;
    } rows[] = {
        {QSystemTrayIcon::DoubleClick, false, kTrayOpenSettings},
        {QSystemTrayIcon::Trigger, false, kTrayNothing},
        {QSystemTrayIcon::Context, false, kTrayPopupMenu},
        {QSystemTrayIcon::MiddleClick, false, kTrayNothing},
        {QSystemTrayIcon::Unknown, false, kTrayNothing},
        {QSystemTrayIcon::Trigger, true, kTrayOpenSettings},
        {QSystemTrayIcon::Context, true, kTrayPopupMenu},
        {QSystemTrayIcon::MiddleClick, true, kTrayNothing},
    };
    for (const auto& row : rows) {
        const auto x = static_cast<float>(QtTrayHost::messageFor(row.reason, row.sni));
        EXPECT_EQ(TrayMouseAction(x, MouseOwner{}), row.action) << row.reason << " sni " << row.sni;
    }
}

TEST(AlertText, ShowsEachLineBreakOnce) {
    const std::pair<std::string, QString> rows[] = {
        {"Your wallpaper has been set for Monday", "Your wallpaper has been set for Monday"},
        {"a\n\rb\n\rc", "a\nb\nc"},
        {"a\n\r\n\rb", "a\n\nb"},
        {"Zo\xC3\xAB\n\r\xE2\x82\xAC", QString::fromUtf8("Zoë\n€")},
    };
    for (const auto& [text, shown] : rows) {
        EXPECT_EQ(QtTrayHost::displayText(text), shown) << text;
    }
}

} // namespace
