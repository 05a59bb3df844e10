// The about and logo window under the offscreen platform, with a settable clock.
#include "ui/auxiliary/frm_about.h"

#include "ui/about_fake_clock.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using lumora::DateTime;
using lumora::test::FakeClock;

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_about = std::make_unique<FrmAbout>(m_clock, [this] { ++m_settingsShown; });
    }
    void TearDown() override {
        m_about.reset();
        QApplication::processEvents();
    }
    QString label1() const { return m_about->label1()->text(); }

    FakeClock m_clock{lumora::test::feb3at090507()};
    int m_settingsShown = 0;
    std::unique_ptr<FrmAbout> m_about;
};

// ---- Label1 by TimShw, at a fixed date and time --------------------------------------------

struct Label1Row {
    const char* name;
    std::int16_t timShw;
    DateTime when;
    const char* expected;
};

class AboutLabel1Test : public AboutWindowTest, public ::testing::WithParamInterface<Label1Row> {};

TEST_P(AboutLabel1Test, LoadShowsDateAndTimeByTimShw) {
    const Label1Row& row = GetParam();
    m_clock.set(row.when);
    m_about->StrtPrg(row.timShw, false);
    EXPECT_TRUE(m_about->isLoaded());
    EXPECT_TRUE(m_about->isVisible());
    EXPECT_EQ(label1().toStdString(), row.expected);
    // Each tick of the clock writes the same text for the same moment.
    m_about->label1()->setText(QStringLiteral("stale"));
    m_about->Timer1_Timer();
    EXPECT_EQ(label1().toStdString(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AboutLabel1Test,
    ::testing::Values(Label1Row{"Seconds", 0, lumora::test::feb3at090507(),
                                "Wednesday 03 February 2027 - 09:05:07"},
                      Label1Row{"HoursMinutes", 1, lumora::test::feb3at090507(),
                                "Wednesday 03 February 2027 - 09:05"},
                      Label1Row{"Evening", 0, DateTime{2028, 12, 31, 23, 59, 59, 1},
                                "Sunday 31 December 2028 - 23:59:59"},
                      Label1Row{"Midnight", 1, DateTime{2027, 7, 1, 0, 0, 9, 5},
                                "Thursday 01 July 2027 - 00:00"},
                      Label1Row{"OtherValueTwo", 2, lumora::test::feb3at090507(), ""},
                      Label1Row{"OtherValueMinusOne", -1, lumora::test::feb3at090507(), ""}),
    [](const ::testing::TestParamInfo<Label1Row>& row) { return std::string(row.param.name); });

TEST_F(AboutWindowTest, VersionLabelAndHotSpot) {
    m_about->StrtPrg(0, false);
    EXPECT_EQ(m_about->label2()->text(), QStringLiteral("v2.2.4"));
    EXPECT_TRUE(m_about->label3()->text().isEmpty());
    EXPECT_EQ(m_about->label3()->toolTip(), QStringLiteral("E-mail: lumora@example.org"));
}

TEST_F(AboutWindowTest, TooltipOfTheHotSpotShowsOnHover) {
    m_about->StrtPrg(0, false);
    QLabel* hotSpot = m_about->label3();
    const QPoint inside(10, 10);
    QHelpEvent help(QEvent::ToolTip, inside, hotSpot->mapToGlobal(inside));
    QApplication::sendEvent(hotSpot, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("E-mail: lumora@example.org"));
    QToolTip::hideText();
    EXPECT_TRUE(m_about->isVisible()); // hovering does not close the window
}

// ---- Look: sizes, positions, colours, font --------------------------------------------------

struct ControlRow {
    const char* name;
    QRect geometry;
    Qt::Alignment horizontal;
};

class AboutControlTest : public AboutWindowTest,
                         public ::testing::WithParamInterface<ControlRow> {};

TEST_P(AboutControlTest, ControlSitsAtItsPixelPosition) {
    const ControlRow& row = GetParam();
    auto* control = m_about->clientArea()->findChild<QLabel*>(QString::fromLatin1(row.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget(), m_about->clientArea());
    EXPECT_EQ(control->geometry(), row.geometry);
    EXPECT_EQ(control->alignment() & Qt::AlignHorizontal_Mask, row.horizontal);
    if (QString::fromLatin1(row.name).startsWith(QLatin1String("Label"))) {
        EXPECT_EQ(control->palette().color(QPalette::WindowText), QColor(64, 64, 64));
        EXPECT_FALSE(control->autoFillBackground()); // drawn over the picture
    }
    EXPECT_DOUBLE_EQ(control->font().pointSizeF(), 8.25);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AboutControlTest,
    ::testing::Values(ControlRow{"Image1", QRect(0, 0, 410, 310), Qt::AlignLeft},
                      ControlRow{"Label1", QRect(87, 292, 316, 13), Qt::AlignRight},
                      ControlRow{"Label2", QRect(14, 292, 50, 13), Qt::AlignLeft},
                      ControlRow{"Label3", QRect(38, 264, 103, 21), Qt::AlignLeft}),
    [](const ::testing::TestParamInfo<ControlRow>& row) { return std::string(row.param.name); });

TEST_F(AboutWindowTest, ClientAreaInsideAOnePixelBorderWithoutTitleBar) {
    EXPECT_TRUE(m_about->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(m_about->isWindow());
    EXPECT_EQ(m_about->size(), QSize(412, 312));
    EXPECT_EQ(m_about->clientArea()->geometry(), QRect(1, 1, 410, 310));
    m_about->StrtPrg(0, false);
    const QImage shot = m_about->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(412, 312));
    for (const QPoint p : {QPoint(0, 0), QPoint(411, 0), QPoint(0, 311), QPoint(411, 311),
                           QPoint(200, 0), QPoint(0, 150), QPoint(411, 150), QPoint(200, 311)}) {
        EXPECT_EQ(shot.pixelColor(p), QColor(64, 64, 64)) << p.x() << "," << p.y();
    }
}

TEST_F(AboutWindowTest, ShowsTheLogoPicture) {
    QImage logo(QStringLiteral(":/lumora/logo.bmp"));
    if (logo.isNull()) {
        GTEST_SKIP() << "the logo resource is not built in yet";
    }
    ASSERT_EQ(logo.size(), QSize(410, 310));
    m_about->StrtPrg(0, false);
    EXPECT_EQ(m_about->image1()->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              logo.convertToFormat(QImage::Format_RGB32));
    // A pixel away from the labels shows the picture as it is.
    const QImage shot = m_about->grab().toImage();
    EXPECT_EQ(shot.pixelColor(1 + 200, 1 + 100), logo.pixelColor(200, 100));
}

// ---- Timers: the clock and the automatic close ----------------------------------------------

struct TimerRow {
    const char* name;
    std::int16_t timShw;
    bool autoClose;
};

class AboutTimerTest : public AboutWindowTest, public ::testing::WithParamInterface<TimerRow> {};

TEST_P(AboutTimerTest, ClockRunsAndAutomaticCloseFollowsTimShw) {
    const TimerRow& row = GetParam();
    m_about->StrtPrg(row.timShw, false);
    EXPECT_TRUE(m_about->timer1()->isActive());
    EXPECT_EQ(m_about->timer1()->interval(), 500);
    EXPECT_EQ(m_about->timer2()->isActive(), row.autoClose);
    EXPECT_EQ(m_about->timer2()->interval(), 5000);
    EXPECT_TRUE(m_about->timer2()->isSingleShot());
    EXPECT_TRUE(m_about->windowFlags() & Qt::WindowStaysOnTopHint);
}

INSTANTIATE_TEST_SUITE_P(Rows, AboutTimerTest,
                         ::testing::Values(TimerRow{"StaysUntilClicked", 0, false},
                                           TimerRow{"ClosesAfterFiveSeconds", 1, true},
                                           TimerRow{"OtherValueClosesToo", 3, true}),
                         [](const ::testing::TestParamInfo<TimerRow>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(AboutWindowTest, ClockTickFollowsTheTimeAcrossMidnight) {
    m_clock.set(DateTime{2027, 2, 2, 23, 59, 59, 3});
    m_about->StrtPrg(0, false);
    EXPECT_EQ(label1(), QStringLiteral("Tuesday 02 February 2027 - 23:59:59"));
    m_clock.set(DateTime{2027, 2, 3, 0, 0, 0, 4});
    m_about->Timer1_Timer();
    EXPECT_EQ(label1(), QStringLiteral("Wednesday 03 February 2027 - 00:00:00"));
}

TEST_F(AboutWindowTest, RealClockTimerUpdatesTheLabel) {
    m_about->StrtPrg(0, false);
    m_clock.set(DateTime{2027, 2, 3, 9, 5, 8, 4});
    QTRY_COMPARE_WITH_TIMEOUT(label1(), QStringLiteral("Wednesday 03 February 2027 - 09:05:08"),
                              3000);
}

TEST_F(AboutWindowTest, LogoClosesItselfAfterFiveSecondsWithoutBringingBackSettings) {
    QSignalSpy unloaded(m_about.get(), &FrmAbout::unloaded);
    m_about->StrtPrg(1, false);
    ASSERT_TRUE(m_about->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!m_about->isVisible(), 10000);
    EXPECT_FALSE(m_about->isLoaded());
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(m_settingsShown, 0);
    EXPECT_FALSE(m_about->timer1()->isActive());
    EXPECT_FALSE(m_about->timer2()->isActive());
}

TEST_F(AboutWindowTest, Timer2HandlerUnloads) {
    m_about->StrtPrg(1, false);
    m_about->Timer2_Timer();
    EXPECT_FALSE(m_about->isVisible());
    EXPECT_FALSE(m_about->isLoaded());
}

// ---- A second StrtPrg while shown -----------------------------------------------------------

TEST_F(AboutWindowTest, AboutDuringTheLogoCancelsTheCloseAndSwitchesToSeconds) {
    m_about->StrtPrg(1, false);
    ASSERT_EQ(label1(), QStringLiteral("Wednesday 03 February 2027 - 09:05"));
    const QPoint placed = m_about->pos();
    m_clock.set(DateTime{2027, 2, 3, 9, 5, 9, 4});
    m_about->StrtPrg(0, true);
    // Not loaded again: the label keeps its text until the next tick, the window its place.
    EXPECT_EQ(label1(), QStringLiteral("Wednesday 03 February 2027 - 09:05"));
    EXPECT_EQ(m_about->pos(), placed);
    EXPECT_FALSE(m_about->timer2()->isActive());
    EXPECT_TRUE(m_about->oldStatus());
    // The real clock timer switches the label within half a second.
    QTRY_COMPARE_WITH_TIMEOUT(label1(), QStringLiteral("Wednesday 03 February 2027 - 09:05:09"),
                              3000);
    // The five seconds pass without closing it.
    QTest::qWait(5600);
    EXPECT_TRUE(m_about->isVisible());
    EXPECT_TRUE(m_about->isLoaded());
}

TEST_F(AboutWindowTest, SecondStrtPrgWithOneSwitchesTheCloseOnAndTheClockToMinutes) {
    m_about->StrtPrg(0, false);
    ASSERT_FALSE(m_about->timer2()->isActive());
    m_about->StrtPrg(1, false);
    EXPECT_TRUE(m_about->timer2()->isActive());
    m_about->Timer1_Timer();
    EXPECT_EQ(label1(), QStringLiteral("Wednesday 03 February 2027 - 09:05"));
    EXPECT_FALSE(m_about->oldStatus());
}

// ---- Closing: a click anywhere, OldStatus ---------------------------------------------------

struct ClickRow {
    const char* name;
    const char* control; // nullptr: the window itself
    QPoint at;           // in the control's coordinates
};

class AboutClickTest : public AboutWindowTest, public ::testing::WithParamInterface<ClickRow> {};

TEST_P(AboutClickTest, ClickAnywhereCloses) {
    const ClickRow& row = GetParam();
    m_about->StrtPrg(0, false);
    QWidget* target = m_about.get();
    if (row.control != nullptr) {
        target = m_about->findChild<QWidget*>(QString::fromLatin1(row.control));
        ASSERT_NE(target, nullptr);
    }
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, row.at);
    EXPECT_FALSE(m_about->isVisible());
    EXPECT_FALSE(m_about->isLoaded());
    EXPECT_FALSE(m_about->timer1()->isActive());
}

INSTANTIATE_TEST_SUITE_P(Rows, AboutClickTest,
                         ::testing::Values(ClickRow{"Border", nullptr, QPoint(0, 0)},
                                           ClickRow{"Picture", "Image1", QPoint(200, 100)},
                                           ClickRow{"DateLabel", "Label1", QPoint(300, 6)},
                                           ClickRow{"VersionLabel", "Label2", QPoint(5, 5)},
                                           ClickRow{"HotSpot", "Label3", QPoint(50, 10)}),
                         [](const ::testing::TestParamInfo<ClickRow>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(AboutWindowTest, PressWithoutReleaseDoesNotClose) {
    m_about->StrtPrg(0, false);
    QTest::mousePress(m_about->image1(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(m_about->isVisible());
    QTest::mouseRelease(m_about->image1(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_FALSE(m_about->isVisible());
}

struct OldStatusRow {
    const char* name;
    std::int16_t timShw;
    bool oldStatus;
    bool byClick; // otherwise by the automatic close
    int settingsShown;
};

class AboutOldStatusTest : public AboutWindowTest,
                           public ::testing::WithParamInterface<OldStatusRow> {};

TEST_P(AboutOldStatusTest, SettingsComeBackOnlyWhenTheyWereVisible) {
    const OldStatusRow& row = GetParam();
    m_about->StrtPrg(row.timShw, row.oldStatus);
    EXPECT_EQ(m_settingsShown, 0);
    if (row.byClick) {
        QTest::mouseClick(m_about.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    } else {
        m_about->Timer2_Timer();
    }
    EXPECT_FALSE(m_about->isVisible());
    EXPECT_EQ(m_settingsShown, row.settingsShown);
    // A second unload (a late timer, a second click) does nothing more.
    m_about->unload();
    m_about->Timer2_Timer();
    EXPECT_EQ(m_settingsShown, row.settingsShown);
}

INSTANTIATE_TEST_SUITE_P(Rows, AboutOldStatusTest,
                         ::testing::Values(OldStatusRow{"AboutFromVisible", 0, true, true, 1},
                                           OldStatusRow{"AboutFromHidden", 0, false, true, 0},
                                           OldStatusRow{"LogoClicked", 1, false, true, 0},
                                           OldStatusRow{"LogoTimedOut", 1, false, false, 0},
                                           OldStatusRow{"TimedOutAfterAbout", 1, true, false, 1}),
                         [](const ::testing::TestParamInfo<OldStatusRow>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(AboutWindowTest, WindowManagerCloseIsAnUnloadToo) {
    m_about->StrtPrg(0, true);
    EXPECT_TRUE(m_about->close());
    EXPECT_FALSE(m_about->isLoaded());
    EXPECT_EQ(m_settingsShown, 1);
}

// ---- Load again after an unload, centring ---------------------------------------------------

TEST_F(AboutWindowTest, CentredOnTheScreenEachTimeItIsLoaded) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint centred((screen.width() - 412) / 2, (screen.height() - 312) / 2);
    m_about->StrtPrg(0, false);
    EXPECT_EQ(m_about->frameGeometry().topLeft(), centred);
    m_about->move(10, 20);
    QApplication::processEvents();
    ASSERT_EQ(m_about->pos(), QPoint(10, 20));
    m_about->unload();
    m_about->StrtPrg(1, false);
    EXPECT_EQ(m_about->frameGeometry().topLeft(), centred);
}

TEST_F(AboutWindowTest, LoadedAgainAfterAnUnloadWithFreshState) {
    m_about->StrtPrg(0, true);
    m_about->unload();
    EXPECT_EQ(m_about->timShw(), 0);
    EXPECT_FALSE(m_about->oldStatus());
    m_clock.set(DateTime{2027, 2, 4, 10, 0, 1, 5});
    m_about->StrtPrg(1, false);
    EXPECT_TRUE(m_about->isVisible());
    EXPECT_EQ(label1(), QStringLiteral("Thursday 04 February 2027 - 10:00"));
    m_about->unload();
    EXPECT_EQ(m_settingsShown, 1); // only the first unload had OldStatus True
}

} // namespace
