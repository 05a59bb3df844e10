// The help window under the offscreen platform, with a settable clock.
#include "ui/auxiliary/frm_help.h"

#include "ui/about_fake_clock.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using lumora::DateTime;
using lumora::test::FakeClock;

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override { m_help = std::make_unique<FrmHelp>(m_clock); }
    void TearDown() override {
        m_help.reset();
        QApplication::processEvents();
    }
    QPoint centredTopLeft() const {
        const QRect screen = m_help->screen()->geometry();
        const QSize frame = m_help->frameGeometry().size();
        return {screen.x() + (screen.width() - frame.width()) / 2,
                screen.y() + (screen.height() - frame.height()) / 2};
    }

    FakeClock m_clock{lumora::test::feb3at090507()};
    std::unique_ptr<FrmHelp> m_help;
};

struct CaptionRow {
    const char* name;
    DateTime when;
    const char* expected;
};

class HelpCaptionTest : public HelpWindowTest, public ::testing::WithParamInterface<CaptionRow> {};

TEST_P(HelpCaptionTest, CaptionCarriesVersionDateAndTime) {
    const CaptionRow& row = GetParam();
    m_clock.set(row.when);
    m_help->showHelp();
    EXPECT_EQ(m_help->windowTitle().toStdString(), row.expected);
    m_help->setWindowTitle(QStringLiteral("stale"));
    m_help->Timer1_Timer();
    EXPECT_EQ(m_help->windowTitle().toStdString(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HelpCaptionTest,
    ::testing::Values(CaptionRow{"Morning", lumora::test::feb3at090507(),
                                 "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:07"},
                      CaptionRow{"Midnight", DateTime{2027, 3, 1, 0, 0, 0, 2},
                                 "Lumora Help - v2.2.4 - 01 March 2027 - 00:00:00"},
                      CaptionRow{"EndOfYear", DateTime{2026, 12, 31, 23, 59, 59, 5},
                                 "Lumora Help - v2.2.4 - 31 December 2026 - 23:59:59"}),
    [](const ::testing::TestParamInfo<CaptionRow>& row) { return std::string(row.param.name); });

TEST_F(HelpWindowTest, DesignCaptionUntilShown) {
    EXPECT_EQ(m_help->windowTitle(), QStringLiteral("Lumora"));
    EXPECT_FALSE(m_help->isVisible());
    EXPECT_FALSE(m_help->timer1()->isActive());
}

TEST_F(HelpWindowTest, FixedClientAreaAndOnlyACloseBox) {
    EXPECT_EQ(m_help->size(), QSize(948, 616));
    EXPECT_EQ(m_help->minimumSize(), QSize(948, 616));
    EXPECT_EQ(m_help->maximumSize(), QSize(948, 616));
    const Qt::WindowFlags flags = m_help->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::FramelessWindowHint);
    EXPECT_DOUBLE_EQ(m_help->font().pointSizeF(), 8.25);
}

TEST_F(HelpWindowTest, ShownCentredAndOnTop) {
    m_help->showHelp();
    QApplication::processEvents();
    EXPECT_TRUE(m_help->isVisible());
    EXPECT_TRUE(m_help->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(m_help->frameGeometry().topLeft(), centredTopLeft());
    EXPECT_EQ(m_help->size(), QSize(948, 616));
}

TEST_F(HelpWindowTest, ClockTicksEverySecondWhetherOrNotActive) {
    QWidget other;
    m_help->showHelp();
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &other);
    EXPECT_TRUE(m_help->timer1()->isActive());
    EXPECT_EQ(m_help->timer1()->interval(), 1000);
    m_clock.set(DateTime{2027, 2, 3, 9, 5, 8, 4});
    QTRY_COMPARE_WITH_TIMEOUT(m_help->windowTitle(),
                              QStringLiteral("Lumora Help - v2.2.4 - 03 February 2027 - 09:05:08"),
                              3000);
}

TEST_F(HelpWindowTest, ComingBackFromAnotherProgramWindowCentresAndRefreshes) {
    QWidget settings;
    settings.setGeometry(20, 20, 300, 200);
    m_help->showHelp();
    QApplication::processEvents();
    m_help->move(5, 7); // dragged away
    settings.show();
    settings.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &settings);
    ASSERT_EQ(m_help->pos(), QPoint(5, 7));
    m_help->timer1()->stop(); // only the activation may change the caption here
    m_clock.set(DateTime{2027, 2, 3, 10, 0, 0, 4});

    m_help->activateWindow();
    QApplication::processEvents();

    ASSERT_EQ(QApplication::activeWindow(), m_help.get());
    EXPECT_EQ(m_help->frameGeometry().topLeft(), centredTopLeft());
    EXPECT_EQ(m_help->windowTitle(),
              QStringLiteral("Lumora Help - v2.2.4 - 03 February 2027 - 10:00:00"));
}

TEST_F(HelpWindowTest, ComingBackFromAnotherApplicationDoesNotCount) {
    m_help->showHelp();
    QApplication::processEvents();
    m_help->move(5, 7);
    m_help->timer1()->stop();
    const QString caption = m_help->windowTitle();
    m_clock.set(DateTime{2027, 2, 3, 10, 0, 0, 4});
    // The program loses the focus to another application, then gets it back on this window.
    emit qGuiApp->focusWindowChanged(nullptr);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(m_help.get(), &activate);
    QApplication::processEvents();
    EXPECT_EQ(m_help->pos(), QPoint(5, 7));
    EXPECT_EQ(m_help->windowTitle(), caption);
    // The same activation coming from one of the program's windows counts.
    QWidget settings;
    settings.show();
    emit qGuiApp->focusWindowChanged(settings.windowHandle());
    QApplication::sendEvent(m_help.get(), &activate);
    QApplication::processEvents();
    EXPECT_EQ(m_help->frameGeometry().topLeft(), centredTopLeft());
    EXPECT_EQ(m_help->windowTitle(),
              QStringLiteral("Lumora Help - v2.2.4 - 03 February 2027 - 10:00:00"));
}

TEST_F(HelpWindowTest, OneWindowForTheProcess) {
    auto visibleHelpWindows = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<FrmHelp*>(w) != nullptr && w->isVisible()) {
                ++n;
            }
        }
        return n;
    };
    m_help->showHelp();
    m_help->move(5, 7);
    m_help->showHelp(); // a second "&Help" or F1: the same window, centred again
    QApplication::processEvents();
    EXPECT_EQ(visibleHelpWindows(), 1);
    EXPECT_EQ(m_help->frameGeometry().topLeft(), centredTopLeft());

    EXPECT_TRUE(m_help->close());
    EXPECT_FALSE(m_help->isVisible());
    EXPECT_FALSE(m_help->isLoaded());
    EXPECT_FALSE(m_help->timer1()->isActive());

    m_clock.set(DateTime{2027, 2, 5, 18, 30, 0, 6});
    m_help->showHelp(); // loaded again
    EXPECT_EQ(visibleHelpWindows(), 1);
    EXPECT_TRUE(m_help->isLoaded());
    EXPECT_TRUE(m_help->timer1()->isActive());
    EXPECT_EQ(m_help->windowTitle(),
              QStringLiteral("Lumora Help - v2.2.4 - 05 February 2027 - 18:30:00"));
}

TEST_F(HelpWindowTest, ClientAreaCarriesAShortGuide) {
    const QString text = m_help->helpText()->text();
    for (const char* needle :
         {"~/.config/lumora/lumora.conf", "~/.local/share/lumora/", "Selected Wallpaper",
          "Default Wallpaper", "No Wallpaper", "Refresh Wallpaper", "Apply"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(needle))) << needle;
    }
    m_help->showHelp();
    QApplication::processEvents();
    const QRect inside(QPoint(0, 0), m_help->size());
    EXPECT_TRUE(inside.contains(m_help->helpText()->geometry()));
    // The guide fits: its wrapped height stays within the client area.
    const int needed = m_help->helpText()->heightForWidth(m_help->helpText()->width());
    EXPECT_LE(needed, m_help->helpText()->height());
}

} // namespace
