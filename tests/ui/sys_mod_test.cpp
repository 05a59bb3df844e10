// SetTopMost under the offscreen platform.
#include "ui/auxiliary/sys_mod.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Counts the hide and show events of a window.
class ShowHideCounter : public QObject {
public:
    int shows = 0;
    int hides = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shows;
        } else if (event->type() == QEvent::Hide) {
            ++hides;
        }
        return QObject::eventFilter(watched, event);
    }
};

struct TopMostRow {
    const char* name;
    bool visible;   // shown before the call
    bool onTopHint; // stay-on-top before the call
    int onTop;      // the argument
    bool expectOnTop;
};

class SetTopMostTest : public ::testing::TestWithParam<TopMostRow> {};

TEST_P(SetTopMostTest, KeepsPlaceAndSizeShowsAndSetsTheHint) {
    const TopMostRow& row = GetParam();
    QWidget window;
    if (row.onTopHint) {
        window.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    window.setGeometry(140, 160, 320, 200);
    if (row.visible) {
        window.show();
        QApplication::processEvents();
    }
    const QRect before = window.geometry();
    ShowHideCounter counter;
    window.installEventFilter(&counter);

    lumora::SetTopMost(&window, row.onTop);

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), row.expectOnTop);
    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_EQ(bool(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), row.expectOnTop);
    EXPECT_EQ(window.geometry(), before);
    if (row.visible) {
        EXPECT_EQ(counter.hides, 0) << "a shown window must not be hidden and shown again";
    }
    window.removeEventFilter(&counter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SetTopMostTest,
    ::testing::Values(TopMostRow{"HiddenWindowTrue", false, false, lumora::kTopMostTrue, true},
                      TopMostRow{"ShownWindowTrue", true, false, lumora::kTopMostTrue, true},
                      TopMostRow{"AlreadyOnTopTrue", true, true, lumora::kTopMostTrue, true},
                      TopMostRow{"ShownWindowFalse", true, true, lumora::kTopMostFalse, false},
                      TopMostRow{"HiddenWindowFalse", false, true, lumora::kTopMostFalse, false},
                      TopMostRow{"OtherValueKeepsOnTop", true, true, 1, true},
                      TopMostRow{"OtherValueKeepsOrdinary", true, false, 7, false},
                      TopMostRow{"OtherValueShowsHidden", false, false, -2, false}),
    [](const ::testing::TestParamInfo<TopMostRow>& row) { return std::string(row.param.name); });

TEST(SetTopMostFocus, KeyboardFocusStaysWhereItWas) {
    QWidget other;
    other.setGeometry(300, 300, 200, 100);
    QWidget editorWindow;
    auto* layout = new QVBoxLayout(&editorWindow);
    auto* editor = new QLineEdit(&editorWindow);
    layout->addWidget(editor);
    editorWindow.setGeometry(50, 50, 200, 100);

    other.show();
    editorWindow.show();
    editorWindow.activateWindow();
    editor->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &editorWindow);
    ASSERT_EQ(QApplication::focusWidget(), editor);

    lumora::SetTopMost(&other, lumora::kTopMostTrue);

    EXPECT_TRUE(other.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(QApplication::activeWindow(), &editorWindow);
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

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

TEST(SetTopMostEvents, WindowDeletedByAPendingEventIsLeftAlone) {
    QPointer<QWidget> window = new QWidget;
    window->show();
    QMetaObject::invokeMethod(
        qApp, [&window] { delete window.data(); }, Qt::QueuedConnection);
    lumora::SetTopMost(window.data(), lumora::kTopMostTrue);
    EXPECT_TRUE(window.isNull());
}

TEST(SetTopMostEvents, NullWindowIsIgnored) {
    lumora::SetTopMost(nullptr, lumora::kTopMostTrue);
    SUCCEED();
}

} // namespace
