// FrmMain under the offscreen platform: start-up, the icon, the close box, F1, mouse moves, Exit.
#include "about_fake_clock.h"
#include "core/settings/memory_registry.h"
#include "platform/desktop/backend_factory.h"
#include "platform/linux/autostart_entry.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/linux/qt_event_pump.h"
#include "platform/linux/qt_resources.h"
#include "platform/linux/xdg_program_info.h"
#include "ui/auxiliary/frm_about.h"
#include "ui/auxiliary/frm_help.h"
#include "ui/settings_window/frm_main.h"
#include "ui/settings_window/qt_dialogs.h"
#include "ui/tray/qt_tray_host.h"
#include "ui/tray/qt_tray_menu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace lumora;

namespace {

class FrmMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ::setenv("XDG_DATA_HOME", (dir.path() + "/data").toUtf8().constData(), 1);
        about = std::make_unique<FrmAbout>(clock, [this] {
            if (frm) {
                frm->aboutClosed();
            }
        });
        help = std::make_unique<FrmHelp>(clock);
        frm = std::make_unique<FrmMain>(FrmMainPlatform{store, store, *desktop, events, program,
                                                        resources, dialogs, instance, autostart,
                                                        clock},
                                        *about, *help);
        frm->resize(640, 480);
    }
    void TearDown() override {
        frm.reset();
        help.reset();
        about.reset();
    }
    void option(const char* key, const char* text) {
        store.writeOption(kAppName, kSection, key, text);
    }

    QTemporaryDir dir;
    MemoryRegistry store;
    std::unique_ptr<DesktopBackend> desktop = createDesktopBackend(BackendChoice{"none", "test"});
    QtEventPump events;
    XdgProgramInfo program;
    QtResources resources;
    QtDialogs dialogs;
    LockFileInstanceGuard instance{(dir.path() + "/lumora.lock").toStdString()};
    AutostartEntry autostart{(dir.path() + "/config").toStdString()};
    test::FakeClock clock{DateTime{2027, 2, 3, 9, 5, 7, 4}};
    std::unique_ptr<FrmAbout> about;
    std::unique_ptr<FrmHelp> help;
    std::unique_ptr<FrmMain> frm;
};

TEST_F(FrmMainWindow, StartUpAddsTheIconAndSendsTheFirstStartAlerts) {
    option("ShowSplsh", "False");
    QSignalSpy alerts(&frm->trayHost(), &QtTrayHost::alertSent);
    ASSERT_TRUE(frm->Form_Load());
    QSystemTrayIcon* icon = frm->trayHost().icon();
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), QStringLiteral("Lumora"));
    EXPECT_FALSE(icon->icon().isNull());
    ASSERT_EQ(alerts.count(), 2);
    EXPECT_EQ(alerts[0][1].toString(), QStringLiteral("Lumora"));
    EXPECT_EQ(alerts[0][2].toString(),
              QStringLiteral("There is no picture selected for Wednesday.\n"
                             "The default Lumora wallpaper has been used."));
    EXPECT_EQ(alerts[1][2].toString(),
              QStringLiteral("Your must define the wallpapers for each day.\n"
                             "You can use the context menu of this icon in system tray\n"
                             "or double-click on this icon to launch Lumora."));
    EXPECT_FALSE(frm->isVisible());
    EXPECT_TRUE(frm->trayMenu().action(MenuId::mnuAutoRun)->isChecked());
    EXPECT_FALSE(frm->trayMenu().action(MenuId::MainAbout)->isChecked());
    EXPECT_TRUE(autostart.isEnabled());
}

TEST_F(FrmMainWindow, LogoWindowAtStartUp) {
    ASSERT_TRUE(frm->Form_Load());
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(frm->isVisible());
}

TEST_F(FrmMainWindow, CloseBoxOnlyHides) {
    option("ShowSplsh", "False");
    ASSERT_TRUE(frm->Form_Load());
    frm->logic().mnuabout_Click();
    ASSERT_TRUE(frm->isVisible());
    EXPECT_FALSE(frm->close());
    EXPECT_FALSE(frm->isVisible());
    EXPECT_FALSE(frm->unloaded());
    ASSERT_NE(frm->trayHost().icon(), nullptr);
    EXPECT_TRUE(frm->trayHost().icon()->isVisible());
}

TEST_F(FrmMainWindow, DoubleClickOnTheIconOpensTheSettingsWindow) {
    option("ShowSplsh", "False");
    ASSERT_TRUE(frm->Form_Load());
    emit frm->trayHost().icon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(frm->isVisible());
    emit frm->trayHost().icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(frm->isVisible());
    EXPECT_TRUE(frm->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(FrmMainWindow, RightClickOnTheIconPopsUpTheMenu) {
    option("ShowSplsh", "False");
    ASSERT_TRUE(frm->Form_Load());
    emit frm->trayHost().icon()->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(frm->trayMenu().menu()->isVisible());
    frm->trayMenu().menu()->hide();
}

struct MoveRow {
    const char* name;
    int x;
};

class MouseOverTheWindow : public FrmMainWindow, public ::testing::WithParamInterface<MoveRow> {};

TEST_P(MouseOverTheWindow, IsNeverATrayClick) {
    option("ShowSplsh", "False");
    ASSERT_TRUE(frm->Form_Load());
    frm->logic().mnuabout_Click();
    QTest::mouseMove(frm.get(), QPoint(GetParam().x, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(GetParam().x, 20), QPointF(GetParam().x, 20),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(frm.get(), &move);
    EXPECT_FALSE(frm->trayMenu().menu()->isVisible());
    EXPECT_EQ(frm->label1Caption(15), QStringLiteral("Author"));
    frm->trayMenu().menu()->hide();
}

INSTANTIATE_TEST_SUITE_P(Rows, MouseOverTheWindow,
                         ::testing::Values(MoveRow{"DoubleClickCode", 515},
                                           MoveRow{"RightDownCode", 516}, MoveRow{"Other", 100}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(FrmMainWindow, F1OpensTheHelpWindow) {
    option("ShowSplsh", "False");
    ASSERT_TRUE(frm->Form_Load());
    frm->logic().mnuabout_Click();
    QTest::keyClick(frm.get(), Qt::Key_F1);
    EXPECT_TRUE(help->isVisible());
    help->close();
}

TEST_F(FrmMainWindow, MenuTogglesStoreTheirTexts) {
    option("ShowSplsh", "False");
    ASSERT_TRUE(frm->Form_Load());
    frm->trayMenu().action(MenuId::mnuAlert)->trigger();
    EXPECT_EQ(store.readOption(kAppName, kSection, "DispMess"), "False");
    EXPECT_FALSE(frm->trayMenu().action(MenuId::mnuAlert)->isChecked());
    EXPECT_EQ(frm->label1Caption(9), QStringLiteral("Display Messages Disabled"));
    frm->trayMenu().action(MenuId::MainAbout)->trigger();
    EXPECT_EQ(store.readOption(kAppName, kSection, "ShowSplsh"), "True");
    EXPECT_TRUE(frm->trayMenu().action(MenuId::MainAbout)->isChecked());
    frm->trayMenu().action(MenuId::mnuAutoRun)->trigger();
    EXPECT_EQ(store.readOption(kAppName, kSection, "AddToReg"), "0");
    EXPECT_FALSE(frm->trayMenu().action(MenuId::mnuAutoRun)->isChecked());
    EXPECT_FALSE(autostart.isEnabled());
}

TEST_F(FrmMainWindow, ExitRemovesTheIconAndEndsWithTheLastWindow) {
    option("ShowSplsh", "False");
    ASSERT_TRUE(frm->Form_Load());
    frm->logic().mnuabout_Click();
    // "About..." from the visible settings window, then Exit while the about window is open.
    frm->trayMenu().action(MenuId::MnAbout)->trigger();
    ASSERT_TRUE(about->isVisible());
    frm->trayMenu().action(MenuId::mnuexit)->trigger();
    EXPECT_TRUE(frm->unloaded());
    EXPECT_EQ(frm->trayHost().icon(), nullptr);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_TRUE(frm->otherWindowOpen());
    // Closing the about window must not bring the program back.
    QTest::mouseClick(about.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCoreApplication::processEvents();
    EXPECT_FALSE(about->isVisible());
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(frm->trayHost().icon(), nullptr);
    EXPECT_FALSE(frm->otherWindowOpen());
}

TEST_F(FrmMainWindow, AboutFromTheVisibleWindowBringsItBack) {
    option("ShowSplsh", "False");
    ASSERT_TRUE(frm->Form_Load());
    frm->logic().mnuabout_Click();
    frm->trayMenu().action(MenuId::MnAbout)->trigger();
    EXPECT_FALSE(frm->isVisible());
    QTest::mouseClick(about.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(frm->isVisible());
}

} // namespace
