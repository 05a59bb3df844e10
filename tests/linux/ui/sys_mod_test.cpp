// SetTopMost under the offscreen platform.
#include "linux/ui/auxiliary/sys_mod.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// Counts the hide events of a window.
struct HideCounter : QObject {
    int hides = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        hides += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
};

// Shown if hidden, the stay-on-top hint set (True), cleared (False) or kept (any other value),
// in place and size, and a shown window never hidden and shown again.
TEST(SetTopMost, KeepsPlaceAndSizeShowsAndSetsTheHint) {
    const struct {
        bool visible;   // shown before the call
        bool onTopHint; // stay-on-top before the call
        int onTop;      // the argument
        bool expectOnTop;
    } rows[] = {
        {false, false, lumora::kTopMostTrue, true},
        {true, false, lumora::kTopMostTrue, true},
        {true, true, lumora::kTopMostTrue, true},
        {true, true, lumora::kTopMostFalse, false},
        {false, true, lumora::kTopMostFalse, false},
        {true, true, 1, true},
        {true, false, 7, false},
        {false, false, -2, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.visible << row.onTopHint << " " << row.onTop);
        QWidget window;
        window.setWindowFlag(Qt::WindowStaysOnTopHint, row.onTopHint);
        window.setGeometry(140, 160, 320, 200);
        if (row.visible) {
            window.show();
            QApplication::processEvents();
        }
        HideCounter counter;
        window.installEventFilter(&counter);
        lumora::SetTopMost(&window, row.onTop);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), row.expectOnTop);
        ASSERT_NE(window.windowHandle(), nullptr);
        EXPECT_EQ(bool(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), row.expectOnTop);
        EXPECT_EQ(window.geometry(), QRect(140, 160, 320, 200));
        EXPECT_EQ(counter.hides, 0);
    }
}

// That the keyboard focus stays where it was is read back from a real window manager in
// test_about_window.sh.
TEST(SetTopMostEvents, PendingEventsRunBeforeAndAfter) {
    QWidget window;
    int ran = 0;
    QTimer::singleShot(0, &window, [&ran] { ++ran; });
    QMetaObject::invokeMethod(
        &window, [&ran] { ++ran; }, Qt::QueuedConnection);
    lumora::SetTopMost(&window, lumora::kTopMostTrue);
    EXPECT_EQ(ran, 2);
    EXPECT_TRUE(window.isVisible());
}

TEST(SetTopMostEvents, WindowClosedByAPendingEventStaysClosed) {
    QWidget window;
    window.show();
    QApplication::processEvents();
    QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
    lumora::SetTopMost(&window, lumora::kTopMostTrue);
    EXPECT_FALSE(window.isVisible());
}

TEST(SetTopMostEvents, WindowDeletedByAPendingEventOrNullIsLeftAlone) {
    QPointer<QWidget> window = new QWidget;
    window->show();
    QMetaObject::invokeMethod(
        qApp, [&window] { delete window.data(); }, Qt::QueuedConnection);
    lumora::SetTopMost(window.data(), lumora::kTopMostTrue);
    EXPECT_TRUE(window.isNull());
    lumora::SetTopMost(nullptr, lumora::kTopMostTrue); // no crash
}

} // namespace
