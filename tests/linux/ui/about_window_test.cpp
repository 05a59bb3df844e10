// The about and logo window under the offscreen platform, with a settable clock.
#include "linux/ui/auxiliary/frm_about.h"

#include "linux/ui/ui_test_support.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

namespace {

using lumora::test::at;
using lumora::test::byName;

class AboutWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_about.reset();
        QApplication::processEvents();
    }
    std::string label1() const { return m_about->label1()->text().toStdString(); }

    lumora::test::TestClock m_clock;
    int m_settingsShown = 0;
    std::unique_ptr<FrmAbout> m_about = [this] {
        auto about = std::make_unique<FrmAbout>(m_clock);
        QObject::connect(about.get(), &FrmAbout::settingsWindowWanted,
                         [this] { ++m_settingsShown; });
        return about;
    }();
};

// Label1 by TimShw when loaded (the date and time texts themselves: tests/core/text), and the
// same text from a tick of the clock at the same moment; the automatic close with any TimShw but 0.
TEST_F(AboutWindowTest, Label1ShowsDateAndTimeByTimShw) {
    const struct {
        std::int16_t timShw;
        const char* expected;
        bool autoClose;
    } rows[] = {
        {0, "Wednesday 03 February 2027 - 09:05:07", false},
        {1, "Wednesday 03 February 2027 - 09:05", true},
        {2, "", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.timShw);
        m_about->StrtPrg(row.timShw, false);
        EXPECT_TRUE(m_about->isLoaded() && m_about->isVisible() && m_about->timer1()->isActive());
        EXPECT_EQ(m_about->timer2()->isActive(), row.autoClose);
        EXPECT_EQ(label1(), row.expected);
        m_about->label1()->setText(QStringLiteral("stale"));
        lumora::test::fire(m_about->timer1());
        EXPECT_EQ(label1(), row.expected);
        m_about->unload();
    }
}

TEST_F(AboutWindowTest, VersionAndTheHotSpotsTooltipOnHover) {
    m_about->StrtPrg(0, false);
    EXPECT_EQ(m_about->label2()->text(), QStringLiteral("v2.2.4"));
    QLabel* hotSpot = m_about->label3();
    EXPECT_TRUE(hotSpot->text().isEmpty());
    QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), hotSpot->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(hotSpot, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("E-mail: lumora@example.org"));
    QToolTip::hideText();
    EXPECT_TRUE(m_about->isVisible()); // hovering does not close the window
}

// A second StrtPrg while shown: TimShw 1 switches the close on and the clock to minutes; then
// "About..." during the logo cancels the close, and the clock's next tick shows seconds.
TEST_F(AboutWindowTest, SecondStrtPrgWhileShownTakesTheNewTimShwAndOldStatus) {
    m_about->StrtPrg(0, false);
    m_about->StrtPrg(1, false);
    EXPECT_TRUE(m_about->timer2()->isActive());
    lumora::test::fire(m_about->timer1());
    EXPECT_EQ(label1(), "Wednesday 03 February 2027 - 09:05");
    EXPECT_FALSE(m_about->oldStatus());
    const QPoint placed = m_about->pos();
    m_clock.when = at(2027, 2, 3, 9, 5, 9);
    m_about->StrtPrg(0, true);
    // Not loaded again: the label keeps its text until the next tick, the window its place.
    EXPECT_EQ(label1(), "Wednesday 03 February 2027 - 09:05");
    EXPECT_EQ(m_about->pos(), placed);
    EXPECT_FALSE(m_about->timer2()->isActive()) << "the automatic close is off";
    EXPECT_TRUE(m_about->oldStatus() && m_about->timer1()->isActive());
    lumora::test::fire(m_about->timer1());
    EXPECT_EQ(label1(), "Wednesday 03 February 2027 - 09:05:09");
    EXPECT_TRUE(m_about->isVisible() && m_about->isLoaded());
}

enum class CloseBy { Click, Timer, WindowManager };

struct CloseRow {
    const char* name;
    std::int16_t timShw;
    bool oldStatus;
    CloseBy by;
    const char* control; // clicked at `at`, in its coordinates; nullptr: the window itself
    QPoint at;
    int settingsShown;
};

class AboutClose : public AboutWindowTest, public ::testing::WithParamInterface<CloseRow> {};

// Closed by a click anywhere (on the release), the automatic close or the window manager: unloaded,
// and the settings window comes back only when it was visible (OldStatus True), and only once.
TEST_P(AboutClose, UnloadsAndBringsTheSettingsBackOnlyWhenTheyWereVisible) {
    const CloseRow& row = GetParam();
    m_about->StrtPrg(row.timShw, row.oldStatus);
    EXPECT_EQ(m_settingsShown, 0);
    QWidget* target = m_about.get();
    if (row.control != nullptr) {
        target = m_about->findChild<QWidget*>(QString::fromLatin1(row.control));
        ASSERT_NE(target, nullptr);
    }
    if (row.by == CloseBy::Click) {
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, row.at);
        EXPECT_TRUE(m_about->isVisible());
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, row.at);
    } else if (row.by == CloseBy::Timer) {
        ASSERT_TRUE(m_about->timer2()->isActive());
        lumora::test::fire(m_about->timer2()); // the automatic close, without its five seconds
    } else {
        EXPECT_TRUE(m_about->close());
    }
    EXPECT_FALSE(m_about->isVisible() || m_about->isLoaded() || m_about->timer1()->isActive());
    EXPECT_EQ(m_settingsShown, row.settingsShown);
    m_about->unload(); // a second unload (a late timer, a second click) does nothing more
    m_about->Timer2_Timer();
    EXPECT_EQ(m_settingsShown, row.settingsShown);
}

const CloseRow kCloseRows[] = {
    {"AboutFromVisibleClickedOnTheHotSpot", 0, true, CloseBy::Click, "Label3", {50, 10}, 1},
    {"AboutFromVisibleClickedOnTheBorder", 0, true, CloseBy::Click, nullptr, {0, 0}, 1},
    {"AboutFromHiddenClickedOnTheDate", 0, false, CloseBy::Click, "Label1", {300, 6}, 0},
    {"LogoClickedOnThePicture", 1, false, CloseBy::Click, "Image1", {200, 100}, 0},
    {"LogoClickedOnTheVersion", 1, false, CloseBy::Click, "Label2", {5, 5}, 0},
    {"LogoTimedOut", 1, false, CloseBy::Timer, nullptr, {}, 0},
    {"TimedOutAfterAbout", 1, true, CloseBy::Timer, nullptr, {}, 1},
    {"WindowManagerClose", 0, true, CloseBy::WindowManager, nullptr, {}, 1},
};
INSTANTIATE_TEST_SUITE_P(Rows, AboutClose, ::testing::ValuesIn(kCloseRows), byName);

} // namespace
