// The preview window under the offscreen platform: caption, load errors, reuse, zoom and fit on
// the shown window, the busy cursor and the bound on Zoom In.
#include "linux/ui/preview/frm_prev.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using lumora::viewer::RectF;

struct Boxes : lumora::Dialogs {
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t>) override { return {}; }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return {};
    }
    void messageBox(const std::string& text, const std::string& title,
                    lumora::MessageIcon icon) override {
        shown.push_back(title + "|" + std::to_string(static_cast<int>(icon)) + "|" + text);
    }
    std::vector<std::string> shown;
};

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override {
        m_window.reset();
        QLocale::setDefault(QLocale::c());
        QApplication::processEvents();
    }
    // A 24-bit BMP of one colour: 54 header bytes and rows padded to four bytes.
    std::string bmp(const char* name, int w, int h, QColor colour = QColor(200, 30, 40)) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = m_dir.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(image.save(path, "BMP"));
        return path.toStdString();
    }
    std::string caption() const { return m_window->windowTitle().toStdString(); }

    QTemporaryDir m_dir;
    Boxes m_boxes;
    std::unique_ptr<FrmPrev> m_window = std::make_unique<FrmPrev>(&m_boxes);
};

TEST_F(PreviewWindowTest, CaptionGivesPixelsAndSize) {
    const std::string sea = bmp("Sea.bmp", 1024, 768); // 2,359,350 bytes
    m_window->StartProj(sea);
    EXPECT_EQ(caption(), "Lumora - " + sea + " [1024 x 768 pixels - 2,304 KB]");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string small = bmp("small.bmp", 20, 20); // 1,254 bytes; the same window again
    m_window->StartProj(small);
    EXPECT_EQ(caption(), "Lumora - " + small + " [20 x 20 pixels - 1.254 Bytes]");
    EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(PreviewWindowTest, BrokenPictureKeepsCaptionAndShowsWindow) {
    QFile text(m_dir.filePath(QStringLiteral("notes.jpg")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a picture") > 0);
    text.close();
    const std::pair<std::string, const char*> rows[] = {
        {m_dir.filePath(QStringLiteral("gone.jpg")).toStdString(), "error 53 : File not found"},
        {text.fileName().toStdString(), "error 481 : Invalid picture"},
        {m_dir.path().toStdString(), "error 75 : Path/File access error"},
    };
    const std::string good = bmp("good.bmp", 64, 48);
    m_window->StartProj(good);
    const std::string before = caption();
    for (const auto& [path, box] : rows) {
        m_boxes.shown.clear();
        m_window->StartProj(path);
        EXPECT_EQ(m_boxes.shown, std::vector<std::string>{std::string("Lumora|3|") + box});
        EXPECT_EQ(caption(), before);
        EXPECT_TRUE(m_window->isVisible() && m_window->canvasShown());
        EXPECT_EQ(m_window->source().size(), QSize(64, 48)); // the old picture stays
    }
    auto fresh = std::make_unique<FrmPrev>(&m_boxes);
    fresh->StartProj(rows[0].first);
    EXPECT_EQ(fresh->windowTitle().toStdString(), "Lumora");
    EXPECT_TRUE(fresh->isVisible());
}

// Loaded before the first layout pass: fitted to the design viewport, then centred in the laid-out
// one; Fit Screen fits the laid-out viewport. Zooming brings the bars, which stay, disabled. The
// option loads at the original size; shrinking the window keeps the canvas's size.
TEST_F(PreviewWindowTest, FitZoomAndBars) {
    m_window->StartProj(bmp("sea.bmp", 1024, 768));
    EXPECT_EQ(m_window->canvas(), (RectF{137, 101.625f, 221, 165.75f}));
    EXPECT_FALSE(m_window->hScroll1()->isVisible() || m_window->vScroll1()->isVisible());
    QTest::mouseClick(m_window->cEqual(), Qt::LeftButton);
    EXPECT_EQ(m_window->canvas(), (RectF{1.5f, 0, 492, 369}));
    QTest::mouseClick(m_window->cPlus(), Qt::LeftButton);
    EXPECT_EQ(m_window->canvas(), (RectF{-60, -46, 615, 461.25f}));
    EXPECT_EQ(m_window->hScroll1()->maximum(), 120);
    EXPECT_TRUE(m_window->hScroll1()->isEnabled() && m_window->vScroll1()->isVisible());
    m_window->hScroll1()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    m_window->vScroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_window->canvas(), (RectF{-110, -56, 615, 461.25f}));
    QTest::mouseClick(m_window->cMinus(), Qt::LeftButton);
    EXPECT_EQ(m_window->canvas(), (RectF{1.5f, 0, 492, 369}));
    EXPECT_TRUE(m_window->hScroll1()->isVisible() && !m_window->hScroll1()->isEnabled());
    QTest::mouseClick(m_window->cExact(), Qt::LeftButton);
    EXPECT_EQ(m_window->canvas(), (RectF{-264, -200, 1024, 768}));
    const QImage shown = m_window->picCont()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(250, 180), QColor(200, 30, 40));
    m_window->chkExact()->setChecked(true);
    m_window->StartProj(bmp("wide.bmp", 600, 100));
    EXPECT_EQ(m_window->canvas(), (RectF{-52, 134.5f, 600, 100}));
    m_window->resize(400, 300);
    EXPECT_EQ(m_window->canvas(), (RectF{-112, 69.5f, 600, 100}));
    EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(PreviewWindowTest, BusyCursorWhileRendering) {
    m_window->StartProj(bmp("sea.bmp", 300, 200));
    std::vector<Qt::CursorShape> seen;
    QTimer::singleShot(0, m_window.get(), [&] { seen.push_back(m_window->cursor().shape()); });
    m_window->cPlus_Click();
    EXPECT_EQ(seen, std::vector<Qt::CursorShape>{Qt::WaitCursor});
    EXPECT_EQ(m_window->cursor().shape(), Qt::ArrowCursor);
}

// Zoom In stops where the scroll range could overflow in a smaller window: one box per refused
// click, the canvas unchanged, and Fit Screen still works.
TEST_F(PreviewWindowTest, ZoomInStopsAtScrollRange) {
    m_window->StartProj(bmp("sea.bmp", 476, 300)); // 19 zooms: 33,029 wide, refused
    int clicks = 0;
    while (m_boxes.shown.empty() && ++clicks < 40) {
        m_window->cPlus_Click();
    }
    const RectF last = m_window->canvas();
    EXPECT_LE(last.width, 32767);
    EXPECT_GT(last.width * 1.25f, 32767);
    m_window->cPlus_Click();
    EXPECT_EQ(m_boxes.shown, std::vector<std::string>(2, "Lumora|0|You reached the limit"));
    EXPECT_EQ(m_window->canvas(), last);
    m_window->cEqual_Click();
    EXPECT_EQ(m_window->canvas(), (RectF{9.5f, 34.5f, 476, 300}));
}

TEST_F(PreviewWindowTest, ControlsCarryTipsAndNames) {
    const std::tuple<QWidget*, const char*, const char*> rows[] = {
        {m_window->cPlus(), "Zoom In", "Zoom In"},
        {m_window->cEqual(), "Fit", "Fit Screen"},
        {m_window->cMinus(), "Zoom Out", "Zoom Out"},
        {m_window->cExact(), "Original Size", "Original Size"},
        {static_cast<QWidget*>(m_window->chkExact()), "Always display picture at its original size",
         "Always display picture at its original size"},
    };
    for (const auto& [widget, tip, name] : rows) {
        EXPECT_EQ(widget->toolTip().toStdString(), tip);
        EXPECT_EQ(widget->accessibleName().toStdString(), name);
    }
}

} // namespace
