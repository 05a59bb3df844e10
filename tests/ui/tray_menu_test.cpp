// The tray menu as Qt shows it, and the tray backend's translations.
#include "core/tray/tray_menu.h"
#include "core/tray/tray_module.h"
#include "ui/tray/qt_tray_host.h"
#include "ui/tray/qt_tray_menu.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <vector>

using namespace lumora;

namespace {

TEST(TrayMenuWidget, ShowsTheTreeInOrder) {
    TrayMenu tree;
    QtTrayMenu menu(tree, [](MenuId, int) {});
    const QList<QAction*> actions = menu.menu()->actions();
    ASSERT_EQ(static_cast<std::size_t>(actions.size()), tree.items().size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const MenuItem& item = tree.items()[static_cast<std::size_t>(i)];
        QAction* a = actions[i];
        SCOPED_TRACE(item.caption);
        EXPECT_EQ(a->isSeparator(), item.separator());
        if (!item.separator()) {
            EXPECT_EQ(a->text().toStdString(), item.caption);
        }
        EXPECT_EQ(a->isCheckable(), item.checkable);
        EXPECT_EQ(a->isChecked(), item.checked);
        EXPECT_EQ(a->font().bold(), item.isDefault);
        EXPECT_EQ(menu.menu()->defaultAction() == a, item.isDefault);
        EXPECT_EQ(a->shortcut().toString().toStdString(), item.shortcut);
    }
    EXPECT_EQ(menu.action(MenuId::mnuday, 4)->text(), QStringLiteral("&Wednesday"));
    EXPECT_EQ(menu.menu()->defaultAction()->text(), QStringLiteral("&Lumora Settings"));
}

struct TriggerRow {
    const char* name;
    MenuId id;
    int index;
};

class TrayMenuTrigger : public ::testing::TestWithParam<TriggerRow> {};

TEST_P(TrayMenuTrigger, ReachesTheHandlerWithTheItem) {
    TrayMenu tree;
    std::vector<std::pair<MenuId, int>> calls;
    QtTrayMenu menu(tree, [&](MenuId id, int index) { calls.emplace_back(id, index); });
    menu.action(GetParam().id, GetParam().index)->trigger();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, GetParam().id);
    EXPECT_EQ(calls[0].second, GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Rows, TrayMenuTrigger,
                         ::testing::Values(TriggerRow{"Exit", MenuId::mnuexit, 0},
                                           TriggerRow{"Sunday", MenuId::mnuday, 1},
                                           TriggerRow{"Saturday", MenuId::mnuday, 7},
                                           TriggerRow{"Settings", MenuId::mnuabout, 0},
                                           TriggerRow{"About", MenuId::MnAbout, 0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TrayMenuWidget, CheckMarksFollowTheTreeNotTheClick) {
    TrayMenu tree;
    // A handler that leaves the tree as it is: Qt's own toggle must not stick.
    QtTrayMenu menu(tree, [](MenuId, int) {});
    menu.action(MenuId::mnuAlert)->trigger();
    EXPECT_TRUE(menu.action(MenuId::mnuAlert)->isChecked());
    tree.setChecked(MenuId::mnuAutoRun, true);
    menu.sync();
    EXPECT_TRUE(menu.action(MenuId::mnuAutoRun)->isChecked());
}

struct ReasonRow {
    const char* name;
    QSystemTrayIcon::ActivationReason reason;
    bool sni;
    int action;
};

class TrayActivation : public ::testing::TestWithParam<ReasonRow> {};

TEST_P(TrayActivation, DecodesLikeTheShellsCallback) {
    float x = static_cast<float>(QtTrayHost::messageFor(GetParam().reason, GetParam().sni));
    EXPECT_EQ(TrayMouseAction(x, MouseOwner{}), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrayActivation,
    ::testing::Values(ReasonRow{"XembedDouble", QSystemTrayIcon::DoubleClick, false,
                                kTrayOpenSettings},
                      ReasonRow{"XembedSingle", QSystemTrayIcon::Trigger, false, kTrayNothing},
                      ReasonRow{"XembedContext", QSystemTrayIcon::Context, false, kTrayPopupMenu},
                      ReasonRow{"XembedMiddle", QSystemTrayIcon::MiddleClick, false, kTrayNothing},
                      ReasonRow{"XembedUnknown", QSystemTrayIcon::Unknown, false, kTrayNothing},
                      ReasonRow{"SniSingle", QSystemTrayIcon::Trigger, true, kTrayOpenSettings},
                      ReasonRow{"SniContext", QSystemTrayIcon::Context, true, kTrayPopupMenu},
                      ReasonRow{"SniMiddle", QSystemTrayIcon::MiddleClick, true, kTrayNothing}),
    [](const auto& row) { return std::string(row.param.name); });

struct TextRow {
    const char* name;
    std::string text;
    QString shown;
};

class AlertText : public ::testing::TestWithParam<TextRow> {};

TEST_P(AlertText, ShowsEachLineBreakOnce) {
    EXPECT_EQ(QtTrayHost::displayText(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AlertText,
    ::testing::Values(TextRow{"OneLine", "Your wallpaper has been set for Monday",
                              "Your wallpaper has been set for Monday"},
                      TextRow{"TwoLines", "a.\n\rb", "a.\nb"},
                      TextRow{"ThreeLines", "a\n\rb\n\rc", "a\nb\nc"},
                      TextRow{"Twice", "a\n\r\n\rb", "a\n\nb"},
                      TextRow{"Utf8", "Zo\xC3\xAB\n\r\xE2\x82\xAC", QString::fromUtf8("Zoë\n€")}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(AlertText, IconNames) {
    EXPECT_EQ(QtTrayHost::iconName(1), QStringLiteral("dialog-information"));
    EXPECT_EQ(QtTrayHost::iconName(2), QStringLiteral("dialog-warning"));
    EXPECT_EQ(QtTrayHost::iconName(3), QStringLiteral("dialog-error"));
    EXPECT_EQ(QtTrayHost::iconName(0), QString());
}

} // namespace
