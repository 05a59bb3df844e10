// The X11 root-window backend on a private Xvfb: a large picture is decoded while the event loop
// keeps running, a change asked for meanwhile is not drawn inside the running one, and what cannot
// be drawn is reported.
#include "platform/desktop/x11_root_backend.h"
#include "platform/linux/picture_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

namespace lumora {
namespace {

class X11RootBackendTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_platform_desktop";
            static char* argv[] = {name, nullptr};
            s_app = new QCoreApplication(argc, argv);
        }
    }

    void SetUp() override {
        // Xvfb takes the first free display itself and writes its number to stdout, so tests
        // running side by side never share (or stop) one another's server.
        m_server.setProcessChannelMode(QProcess::SeparateChannels);
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-noreset"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("320x240x24")});
        if (!m_server.waitForStarted(10000)) {
            GTEST_SKIP() << "Xvfb cannot be started";
        }
        while (!m_server.canReadLine() && m_server.waitForReadyRead(20000)) {
        }
        const QByteArray number = m_server.readLine().trimmed();
        ASSERT_FALSE(number.isEmpty()) << "Xvfb did not say which display it took";
        m_display = ":" + number.toStdString();
        ASSERT_TRUE(serverAnswers()) << "Xvfb on " << m_display << " does not answer";
    }
    void TearDown() override {
        m_server.terminate(); // lets it remove its lock file
        m_server.waitForFinished(5000);
    }

    bool serverAnswers() const {
        xcb_connection_t* c = xcb_connect(m_display.c_str(), nullptr);
        const bool ok = xcb_connection_has_error(c) == 0;
        xcb_disconnect(c);
        return ok;
    }
    // A plain PNG of that size: small on disk, but every row must be read to draw it.
    std::string picture(const char* name, int width, int height,
                        QImage::Format format = QImage::Format_Mono) {
        QImage image(width, height, format);
        image.fill(0);
        const QString path = m_dir.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(image.save(path, "PNG"));
        return path.toStdString();
    }

    static inline QCoreApplication* s_app = nullptr;
    std::string m_display;
    QProcess m_server;
    QTemporaryDir m_dir;
};

TEST_F(X11RootBackendTest, EventsRunWhileALargePictureIsDrawn) {
    // 81 megapixels, within the limit; in colour, so the reader decodes it scaled, row by row.
    const std::string path = picture("large.png", 9000, 9000, QImage::Format_RGB888);
    X11RootBackend backend(m_display);
    int ticks = 0;
    bool drawing = false;
    DesktopResult nested = DesktopResult::failure("not called");
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        if (drawing && ticks == 1) {
            // A change asked for while one is drawn: answered at once, drawn after it.
            nested = backend.setBackgroundColor(0x0000ff);
        }
    });
    timer.start(1);
    drawing = true;
    const DesktopResult result = backend.setWallpaper(path, WPSTYLE_STRETCH);
    drawing = false;
    EXPECT_TRUE(result.ok) << result.reason;
    EXPECT_GE(ticks, 1) << "no event ran while the picture was drawn";
    EXPECT_TRUE(nested.ok) << nested.reason;
    EXPECT_EQ(backend.currentColor(), 0x0000ffu);
}

struct RefusedRow {
    const char* name;
    int width;
    int height;
    const char* reason;
};
class X11Refused : public X11RootBackendTest, public ::testing::WithParamInterface<RefusedRow> {};
TEST_P(X11Refused, PicturesThatCannotBeDrawnFail) {
    const RefusedRow& row = GetParam();
    std::string path;
    if (row.width > 0) {
        path = picture("picture.png", row.width, row.height);
    } else {
        path = m_dir.filePath(QStringLiteral("not-a-picture.png")).toStdString();
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture\n");
    }
    X11RootBackend backend(m_display);
    ::testing::internal::CaptureStderr();
    const DesktopResult result = backend.setWallpaper(path, WPSTYLE_STRETCH);
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find(row.reason), std::string::npos) << result.reason;
}
INSTANTIATE_TEST_SUITE_P(
    X11, X11Refused,
    ::testing::Values(RefusedRow{"OverThePixelLimit", 20000, 20000, "more than"},
                      RefusedRow{"JustOverThePixelLimit", 15000, 10001, "more than"},
                      RefusedRow{"NoPicture", 0, 0, "no picture"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
