// The program under the offscreen platform: the settings window's controls read from the live
// widgets, its clicks, the icon, the close box, F1, the menu's toggles and Exit.
#include "core/settings/memory_registry.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "core/settings_window/settings_spot_rows.h"
#include "linux/ui/program/linux_services.h"
#include "linux/ui/program/program.h"
#include "linux/ui/ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace lumora;

namespace {

class ProgramWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ::setenv("XDG_DATA_HOME", (dir.path() + "/data").toUtf8().constData(), 1);
        ::setenv("XDG_CACHE_HOME", (dir.path() + "/cache").toUtf8().constData(), 1);
        services = std::make_unique<LinuxServices>(
            LinuxServiceChoices{&store, &store, &clock, BackendChoice{"none", "test"},
                                (dir.path() + "/lumora.lock").toStdString(),
                                (dir.path() + "/config").toStdString(), false});
        prog = std::make_unique<Program>(services->platform());
    }
    void TearDown() override {
        prog.reset();
        services.reset();
    }
    // Start-up without the logo; `show`: then the settings window, as its menu item shows it.
    void start(bool show = true) {
        store.writeOption(kAppName, kSection, "ShowSplsh", "False");
        ASSERT_TRUE(prog->start());
        if (show) {
            action(MenuId::mnuabout)->trigger();
        }
    }
    QAction* action(MenuId id, int index = 0) { return prog->trayMenu().action(id, index); }
    FrmMain& frm() { return prog->window(); }
    std::optional<std::string> option(const char* key) {
        return store.readOption(kAppName, kSection, key);
    }
    // Day `name`'s picture: a plain picture of one colour in the scratch folder.
    QString setPicture(const char* name, QColor colour, QSize size = {640, 480}) {
        const QString path = dir.path() + "/" + name + ".png";
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path));
        Registry registry(store);
        registry.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
        registry.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, name, path.toStdString(),
                             REG_SZ);
        return path;
    }

    QTemporaryDir dir;
    MemoryRegistry store;
    test::TestClock clock;
    std::unique_ptr<LinuxServices> services;
    std::unique_ptr<Program> prog;
};

QColor qtColour(Colorref c) {
    return QColor(c.red(), c.green(), c.blue());
}

QRect qtRect(const LayoutRect& r) {
    return {r.left, r.top, r.width, r.height};
}

// Every control of the layout table sits where the table puts it, aligned as it says, and shows
// the view; the rows written out by hand are checked against the window itself.
TEST_F(ProgramWindows, EveryControlSitsWhereItBelongsAndSaysWhatItShould) {
    start();
    EXPECT_EQ(frm().size(), QSize(669, 301));
    EXPECT_EQ(frm().palette().color(QPalette::Window), QColor(64, 64, 64));
    EXPECT_EQ(frm().windowTitle(), QStringLiteral("Lumora - v2.2.4 - 03 February 2027 - 09:05:07"));
    const SettingsView view = prog->logic().editor.view();
    for (const LayoutControl& c : settingsControls()) {
        const std::string name = controlName(c.array, c.index);
        auto* w = frm().findChild<QLabel*>(QString::fromStdString(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->geometry(), qtRect(c.rect)) << name;
        EXPECT_EQ(w->alignment().testFlag(Qt::AlignHCenter), c.align == CaptionAlign::Centre)
            << name;
        const auto i = static_cast<std::size_t>(c.index);
        if (c.array == ControlArray::Image1) {
            EXPECT_EQ(w->toolTip().toStdString(), view.image1.at(i).toolTip) << name;
            continue;
        }
        const LabelView& label = c.array == ControlArray::Label1   ? view.label1.at(i)
                                 : c.array == ControlArray::Label2 ? view.label2.at(i)
                                                                   : view.label3.at(i);
        EXPECT_EQ(w->text().toStdString(), label.caption) << name;
        EXPECT_EQ(w->toolTip().toStdString(), label.toolTip) << name;
        EXPECT_EQ(w->palette().color(QPalette::WindowText), qtColour(label.colour)) << name;
        EXPECT_EQ(w->font().bold(), label.bold) << name;
    }
    for (const test::SpotRow& row : test::kSpotRows) {
        auto* w = frm().findChild<QLabel*>(QString::fromLatin1(row.name));
        ASSERT_NE(w, nullptr) << row.name;
        EXPECT_EQ(w->geometry(), qtRect(row.rect)) << row.name;
        EXPECT_EQ(w->toolTip().toStdString(), row.toolTip) << row.name;
        EXPECT_EQ(w->accessibleDescription().toStdString(), row.toolTip) << row.name;
        EXPECT_EQ(w->isVisible(), row.visible) << row.name;
        if (row.array == ControlArray::Image1) {
            EXPECT_FALSE(w->pixmap().isNull()) << row.name; // the no-picture image
            continue;
        }
        EXPECT_EQ(w->text().toStdString(), row.caption) << row.name;
        EXPECT_EQ(w->accessibleName().toStdString(), row.caption) << row.name;
        EXPECT_EQ(w->palette().color(QPalette::WindowText), qtColour(row.colour)) << row.name;
    }
    EXPECT_TRUE(frm().label1(4)->font().bold());
    EXPECT_FALSE(frm().label1(3)->font().bold());
}

TEST_F(ProgramWindows, ClicksEditAndApplyThroughTheWindow) {
    start();
    QTest::mouseClick(frm().label3(2), Qt::LeftButton);
    QTest::mouseClick(frm().label1(8), Qt::LeftButton);
    EXPECT_EQ(frm().label3(2)->text(), QStringLiteral("C"));
    EXPECT_EQ(frm().label1(8)->text(), QStringLiteral("Default Wallpaper"));
    EXPECT_TRUE(frm().label1(16)->isVisible() && frm().label1(17)->isVisible());
    QTest::mouseClick(frm().label1(16), Qt::LeftButton);
    EXPECT_EQ(option("Styl2"), "2");
    EXPECT_EQ(option("DirectWall"), "2");
    EXPECT_TRUE(frm().isVisible());
    EXPECT_FALSE(frm().label1(16)->isVisible());
    // The messages switch moves the menu's check mark too (the menu items themselves reach their
    // handlers: tray_menu_test.cpp).
    QTest::mouseClick(frm().label1(9), Qt::LeftButton);
    EXPECT_EQ(option("DispMess"), "False");
    EXPECT_FALSE(action(MenuId::mnuAlert)->isChecked());
}

TEST_F(ProgramWindows, AThumbnailShowsTheDayPictureAndItsSizeOnHover) {
    const QString picture = setPicture("Monday", Qt::yellow);
    start();
    ControlLabel* thumb = frm().image1(2);
    EXPECT_EQ(thumb->pixmap().toImage().pixelColor(80, 60), QColor(Qt::yellow));
    EXPECT_EQ(thumb->toolTip(), picture + " - Click here to view the picture");
    QTest::mouseMove(thumb, QPoint(10, 10));
    EXPECT_EQ(frm().label1(10)->text(), QStringLiteral("Dimensions: 640 x 480"));
    // Closing with the close box drops the pictures.
    EXPECT_FALSE(frm().close());
    EXPECT_TRUE(thumb->pixmap().isNull());
}

// The colour dialog opens on the stored colour and stores the one chosen.
TEST_F(ProgramWindows, ColourDialogShowsAndStoresTheColour) {
    store.writeOption(kAppName, kSection, "BackColor", "16711680");
    start(false);
    QColor seen;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = dialog->currentColor();
        dialog->setCurrentColor(QColor(255, 0, 0));
        dialog->accept();
    });
    action(MenuId::DeskCol)->trigger();
    EXPECT_EQ(seen, QColor(0, 0, 255));
    EXPECT_EQ(option("BackColor"), "255");
}

// Moves over the settings window whose x equals a tray message are no tray clicks.
TEST_F(ProgramWindows, MouseOverTheWindowIsNeverATrayClick) {
    start();
    for (const int x : {515, 516, 100}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 5), QPointF(x, 5), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&frm(), &move);
        EXPECT_FALSE(prog->trayMenu().menu()->isVisible()) << x;
        EXPECT_EQ(frm().label1(15)->text(), QStringLiteral("Author")) << x;
    }
}

// The caption clock and the blink run only while the window is shown; shown again, the caption
// and today's name are right at once.
TEST_F(ProgramWindows, ClockAndBlinkRunOnlyWhileShown) {
    start();
    auto* ticks = frm().findChild<QTimer*>(QStringLiteral("Timer1"));
    auto* blink = frm().findChild<QTimer*>(QStringLiteral("Timer2"));
    ASSERT_TRUE(ticks && blink && ticks->isActive() && blink->isActive());
    clock.when = clock.when.addSecs(1);
    test::fire(ticks);
    test::fire(blink);
    EXPECT_TRUE(frm().windowTitle().endsWith(QStringLiteral(" - 09:05:08")));
    EXPECT_EQ(frm().label1(4)->text(), QString());
    EXPECT_FALSE(frm().close());
    EXPECT_FALSE(ticks->isActive() || blink->isActive());
    clock.when = clock.when.addSecs(60);
    action(MenuId::mnuabout)->trigger();
    EXPECT_TRUE(ticks->isActive() && blink->isActive());
    EXPECT_TRUE(frm().windowTitle().endsWith(QStringLiteral(" - 09:06:08")));
    EXPECT_EQ(frm().label1(4)->text(), QStringLiteral("Wednesday"));
}

TEST_F(ProgramWindows, F1OpensTheHelpWindow) {
    start();
    QTest::keyClick(&frm(), Qt::Key_F1);
    EXPECT_TRUE(prog->help().isVisible());
    prog->help().close();
}

} // namespace

namespace {

// Coming back from another window of the program activates the settings window again; coming back
// from outside the program (no focus window before) does not.
TEST(FrmMainFocus, OnlyAReturnFromAnotherProgramWindowCounts) {
    FrmMain window;
    QWidget other;
    int activations = 0;
    QObject::connect(&window, &FrmMain::activatedFromProgramWindow, [&] { ++activations; });
    const auto focus = [](QWidget& w) {
        w.show();
        w.activateWindow();
        QCoreApplication::processEvents();
    };
    focus(window);
    focus(other);
    focus(window);
    EXPECT_EQ(activations, 1);
    other.hide();
    window.hide();
    QCoreApplication::processEvents(); // the focus leaves the program
    focus(window);
    EXPECT_EQ(activations, 1);
}

} // namespace
