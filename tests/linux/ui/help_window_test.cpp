// The help window under the offscreen platform, with a settable clock.
#include "linux/ui/auxiliary/frm_help.h"

#include "linux/ui/ui_test_support.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

using lumora::test::at;

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_help.reset();
        QApplication::processEvents();
    }
    std::string caption() const { return m_help->windowTitle().toStdString(); }

    lumora::test::TestClock m_clock;
    std::unique_ptr<FrmHelp> m_help = std::make_unique<FrmHelp>(m_clock);
};

// The caption when shown, and from every tick of the clock, which runs while the window is shown
// whether it is active or not. Its size, decorations, placement, staying on top and being one
// window are read back from a real window manager in test_help_window.sh.
TEST_F(HelpWindowTest, CaptionCarriesVersionDateAndTimeAndTicksWhileShown) {
    EXPECT_FALSE(m_help->timer1()->isActive());
    m_help->showHelp();
    EXPECT_EQ(caption(), "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:07");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(lumora::test::waitUntil([&] { return QApplication::activeWindow() == &other; }));
    EXPECT_TRUE(m_help->timer1()->isActive());
    m_clock.when = at(2026, 12, 31, 23, 59, 59);
    lumora::test::fire(m_help->timer1());
    EXPECT_EQ(caption(), "Lumora Help - v2.2.4 - 31 December 2026 - 23:59:59");
    m_help->close();
    EXPECT_FALSE(m_help->timer1()->isActive());
}

// The guide fits in the client area, whatever it says.
TEST_F(HelpWindowTest, ClientAreaCarriesAGuideThatFits) {
    EXPECT_FALSE(m_help->helpText()->text().isEmpty());
    m_help->showHelp();
    QApplication::processEvents();
    EXPECT_TRUE(QRect(QPoint(0, 0), m_help->size()).contains(m_help->helpText()->geometry()));
    EXPECT_LE(m_help->helpText()->heightForWidth(m_help->helpText()->width()),
              m_help->helpText()->height());
}

} // namespace
