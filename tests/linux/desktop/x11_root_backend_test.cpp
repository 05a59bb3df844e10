// The X11 root-window backend on a private Xvfb: a large picture is decoded while the event loop
// keeps running, a change asked for meanwhile is not drawn inside the running one, and what cannot
// be drawn is reported; a picture drawn again comes from its prepared pixels only while the file
// and the kept entry are what they were.
#include "linux/desktop/x11_root_backend.h"
#include "linux/platform/picture_file.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <fstream>

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

// The root window's pixel at (x, y) as 0xRRGGBB.
std::uint32_t rootPixel(const std::string& display, int x, int y) {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, std::int16_t(x),
                                          std::int16_t(y), 1, 1, ~0u),
                            nullptr);
    std::uint32_t pixel = 0;
    if (reply != nullptr && xcb_get_image_data_length(reply) >= 4) {
        std::memcpy(&pixel, xcb_get_image_data(reply), 4);
    }
    std::free(reply);
    xcb_disconnect(c);
    return pixel & 0xffffffu;
}

// What happens between drawing a red picture and drawing the same path again, where it holds blue
// pixels; the kept file identity (size, modification time, inode) is put back where the row says.
enum class Change {
    None,
    Rewritten,
    MtimeKept,
    Resized,
    Renamed,
    Truncated,
    HeaderDamaged,
    PixelsDamaged
};
struct PreparedRow {
    const char* name;
    Change change;
    std::uint32_t expected; // the root's pixel after the second draw
};
class X11Prepared : public X11RootBackendTest, public ::testing::WithParamInterface<PreparedRow> {};
TEST_P(X11Prepared, OnlyAnUnchangedFileAndAGoodEntryAreDrawnFromThePreparedPixels) {
    const PreparedRow& row = GetParam();
    const std::string path = m_dir.filePath(QStringLiteral("day.bmp")).toStdString();
    const std::string folder = m_dir.filePath(QStringLiteral("prepared")).toStdString();
    auto save = [&](Qt::GlobalColor colour, int width, const std::string& to) {
        QImage image(width, 60, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(to), "BMP"));
    };
    save(Qt::red, 80, path);
    X11RootBackend backend(m_display, folder);
    ASSERT_TRUE(backend.setWallpaper(path, WPSTYLE_STRETCH).ok);
    ASSERT_EQ(rootPixel(m_display, 5, 5), 0xff0000u);
    std::vector<std::filesystem::path> entries;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        entries.push_back(e.path());
    }
    ASSERT_EQ(entries.size(), 1u);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const bool keepIdentity = row.change != Change::Rewritten && row.change != Change::Resized &&
                              row.change != Change::Renamed;
    if (row.change == Change::Renamed) {
        save(Qt::blue, 80, path + ".new");
        std::filesystem::rename(path + ".new", path);
    } else if (row.change != Change::None) {
        save(Qt::blue, row.change == Change::Resized ? 81 : 80, path); // in place: same inode
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    if (keepIdentity || row.change == Change::Resized || row.change == Change::Renamed) {
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    const auto size = std::filesystem::file_size(entries[0]);
    if (row.change == Change::Truncated) {
        std::filesystem::resize_file(entries[0], size - 1);
    } else if (row.change == Change::HeaderDamaged || row.change == Change::PixelsDamaged) {
        std::fstream entry(entries[0], std::ios::in | std::ios::out | std::ios::binary);
        // The header's last piece field (the target's height) sits 32 bytes before the pixels,
        // 320 x 240 of 4 bytes.
        const auto pixels = std::streamoff(size) - 320 * 240 * 4;
        entry.seekp(row.change == Change::HeaderDamaged ? pixels - 32 : pixels + 5);
        entry.put('\x5a');
    }
    ASSERT_TRUE(backend.setWallpaper(path, WPSTYLE_STRETCH).ok);
    // The high bit of each channel: what JPEG's rounding leaves of the colour.
    EXPECT_EQ(rootPixel(m_display, 5, 5) & 0x808080u, row.expected & 0x808080u);
}
INSTANTIATE_TEST_SUITE_P(
    X11, X11Prepared,
    ::testing::Values(PreparedRow{"Unchanged", Change::None, 0xff0000u},
                      // Same inode, size and time: taken for the same file, as the key says.
                      PreparedRow{"IdentityKept", Change::MtimeKept, 0xff0000u},
                      PreparedRow{"Rewritten", Change::Rewritten, 0x0000ffu},
                      PreparedRow{"OtherSizeSameTime", Change::Resized, 0x0000ffu},
                      PreparedRow{"OtherInodeSameTime", Change::Renamed, 0x0000ffu},
                      PreparedRow{"EntryTruncated", Change::Truncated, 0x0000ffu},
                      PreparedRow{"EntryHeaderDamaged", Change::HeaderDamaged, 0x0000ffu},
                      PreparedRow{"EntryPixelsDamaged", Change::PixelsDamaged, 0x0000ffu}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(X11RootBackendTest, APicturePreparedAheadIsNotDrawnUntilItIsSet) {
    const std::string path = m_dir.filePath(QStringLiteral("next.bmp")).toStdString();
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    X11RootBackend backend(m_display, m_dir.filePath(QStringLiteral("prepared")).toStdString());
    ASSERT_TRUE(backend.setBackgroundColor(0x000000).ok);
    backend.prepareWallpaper(path, WPSTYLE_STRETCH);
    backend.waitForPrepared();
    EXPECT_EQ(rootPixel(m_display, 5, 5), 0u) << "preparing drew on the root";
    // The file's pixels change behind its kept identity: what is set is what was prepared.
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ASSERT_TRUE(backend.setWallpaper(path, WPSTYLE_STRETCH).ok);
    EXPECT_EQ(rootPixel(m_display, 5, 5), 0x00ff00u);
}

// The drawing made ahead at start-up is shown only by a first change that asks for exactly it,
// while the file is unchanged. One drawing ahead per process: every row runs in its own.
struct AheadRow {
    const char* name;
    int aheadStyle;
    std::uint32_t aheadColour;
    bool fileTouched;       // the file gets a new modification time before the change
    std::uint32_t expected; // the root's pixel: red is the drawing ahead, blue the file now
};
class X11Ahead : public X11RootBackendTest, public ::testing::WithParamInterface<AheadRow> {};
TEST_P(X11Ahead, OnlyTheSamePictureOfTheSameFileIsTaken) {
    const AheadRow& row = GetParam();
    qputenv("DISPLAY", QByteArray::fromStdString(m_display));
    qputenv("XDG_CACHE_HOME", m_dir.filePath(QStringLiteral("cache")).toUtf8());
    // A JPEG (only those are drawn ahead): red, then blue of the same length (a reader stops at
    // the picture's end marker, so zeros after it change nothing).
    const std::string path = m_dir.filePath(QStringLiteral("today.jpg")).toStdString();
    std::array<QByteArray, 2> jpeg;
    for (std::size_t i = 0; i < jpeg.size(); ++i) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(i == 0 ? Qt::red : Qt::blue);
        QBuffer buffer(&jpeg[i]);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "JPEG", 100));
    }
    const qsizetype length = std::max(jpeg[0].size(), jpeg[1].size());
    for (QByteArray& bytes : jpeg) {
        bytes.append(QByteArray(length - bytes.size(), '\0'));
    }
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(jpeg[0]) == length);
    file.close();
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    X11RootBackend::drawAhead(path, row.aheadStyle, row.aheadColour);
    X11RootBackend::waitForAhead();
    // The file now holds blue, under its old identity unless the row touches it.
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.write(jpeg[1]) == length);
    file.close();
    if (!row.fileTouched) {
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    X11RootBackend backend;
    ASSERT_TRUE(backend.setWallpaper(path, WPSTYLE_STRETCH).ok);
    // The high bit of each channel: what JPEG's rounding leaves of the colour.
    EXPECT_EQ(rootPixel(m_display, 5, 5) & 0x808080u, row.expected & 0x808080u);
}
INSTANTIATE_TEST_SUITE_P(
    X11, X11Ahead,
    ::testing::Values(AheadRow{"Same", WPSTYLE_STRETCH, 0, false, 0xff0000u},
                      AheadRow{"FileChanged", WPSTYLE_STRETCH, 0, true, 0x0000ffu},
                      AheadRow{"OtherStyle", WPSTYLE_TILE, 0, false, 0x0000ffu},
                      AheadRow{"OtherColour", WPSTYLE_STRETCH, 0x00ff00, false, 0x0000ffu}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
