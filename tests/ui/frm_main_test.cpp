// FrmMain under the offscreen platform: start-up, the icon, the close box, F1, mouse moves, Exit.
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
#include "ui/ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
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
    // Form_Load without the logo; `show`: then the settings window, as its menu item shows it.
    void start(bool show = true) {
        store.writeOption(kAppName, kSection, "ShowSplsh", "False");
        ASSERT_TRUE(frm->Form_Load());
        if (show) {
            frm->logic().mnuabout_Click();
        }
    }
    std::optional<std::string> option(const char* key) {
        return store.readOption(kAppName, kSection, key);
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
    test::TestClock clock;
    std::unique_ptr<FrmAbout> about;
    std::unique_ptr<FrmHelp> help;
    std::unique_ptr<FrmMain> frm;
};

// The logo, the alerts and the icon's embedding at start-up are read back from a real session in
// test_startup_first_run.sh.
TEST_F(FrmMainWindow, StartUpAddsTheIconAndChecksTheMenuFromTheSettings) {
    start(false);
    QSystemTrayIcon* icon = frm->trayHost().icon();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), QStringLiteral("Lumora"));
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_FALSE(frm->isVisible());
    EXPECT_TRUE(frm->trayMenu().action(MenuId::mnuAutoRun)->isChecked());
    EXPECT_FALSE(frm->trayMenu().action(MenuId::MainAbout)->isChecked());
    EXPECT_TRUE(autostart.isEnabled());
}

TEST_F(FrmMainWindow, DoubleClickOnTheIconOpensTheSettingsWindowAndItsCloseBoxOnlyHides) {
    start(false);
    emit frm->trayHost().icon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(frm->isVisible());
    emit frm->trayHost().icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(frm->isVisible());
    EXPECT_TRUE(frm->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(frm->close());
    EXPECT_FALSE(frm->isVisible() || frm->unloaded());
    ASSERT_NE(frm->trayHost().icon(), nullptr);
    EXPECT_TRUE(frm->trayHost().icon()->isVisible());
}

// Moves over the settings window whose x equals a tray message (double click 515, right button
// down 516) are no tray clicks.
TEST_F(FrmMainWindow, MouseOverTheWindowIsNeverATrayClick) {
    start();
    for (const int x : {515, 516, 100}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 20), QPointF(x, 20), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(frm.get(), &move);
        EXPECT_FALSE(frm->trayMenu().menu()->isVisible()) << x;
        EXPECT_EQ(frm->label1Caption(15), QStringLiteral("Author")) << x;
        frm->trayMenu().menu()->hide();
    }
}

TEST_F(FrmMainWindow, F1OpensTheHelpWindow) {
    start();
    QTest::keyClick(frm.get(), Qt::Key_F1);
    EXPECT_TRUE(help->isVisible());
    help->close();
}

TEST_F(FrmMainWindow, MenuTogglesStoreTheirTexts) {
    start(false);
    frm->trayMenu().action(MenuId::mnuAlert)->trigger();
    EXPECT_EQ(option("DispMess"), "False");
    EXPECT_FALSE(frm->trayMenu().action(MenuId::mnuAlert)->isChecked());
    EXPECT_EQ(frm->label1Caption(9), QStringLiteral("Display Messages Disabled"));
    frm->trayMenu().action(MenuId::MainAbout)->trigger();
    EXPECT_EQ(option("ShowSplsh"), "True");
    EXPECT_TRUE(frm->trayMenu().action(MenuId::MainAbout)->isChecked());
    frm->trayMenu().action(MenuId::mnuAutoRun)->trigger();
    EXPECT_EQ(option("AddToReg"), "0");
    EXPECT_FALSE(frm->trayMenu().action(MenuId::mnuAutoRun)->isChecked());
    EXPECT_FALSE(autostart.isEnabled());
}

TEST_F(FrmMainWindow, ExitRemovesTheIconAndEndsWithTheLastWindow) {
    start();
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
    EXPECT_FALSE(about->isVisible() || frm->isVisible() || frm->otherWindowOpen());
    EXPECT_EQ(frm->trayHost().icon(), nullptr);
}

TEST_F(FrmMainWindow, AboutFromTheVisibleWindowBringsItBack) {
    start();
    frm->trayMenu().action(MenuId::MnAbout)->trigger();
    EXPECT_FALSE(frm->isVisible());
    QTest::mouseClick(about.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(frm->isVisible());
}

} // namespace
