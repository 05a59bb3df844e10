// Picture sizes read from real files of several formats; what is no picture has no size.
#include "platform/linux/qt_pictures.h"
#include "test_support.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <sys/stat.h>
#include <thread>

namespace lumora {
namespace {

using test::byName;

struct PictureRow {
    const char* fileName;
    const char* format; // written with QImage::save; nullptr: the raw bytes, "": no file
    std::string bytes;
};
class PictureSizes : public ::testing::TestWithParam<PictureRow> {};
TEST_P(PictureSizes, Read) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/" + GetParam().fileName;
    const char* format = GetParam().format;
    QImage image(31, 17, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(format ? !*format || image.save(QString::fromStdString(path), format)
                       : test::writeAll(path, GetParam().bytes));
    EXPECT_EQ(QtPictures().pixelSize(path),
              format && *format ? std::optional(PixelSize{31, 17}) : std::nullopt);
}
INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureSizes,
    ::testing::Values(PictureRow("a.png", "PNG", ""), PictureRow("a.bmp", "BMP", ""),
                      PictureRow("a.jpg", "JPG", ""), PictureRow("Monday.jpg", "PNG", ""),
                      PictureRow("Tuesday", "BMP", ""),
                      PictureRow("notes.png", nullptr, "hello, not a picture\n"),
                      PictureRow("empty.bmp", nullptr, ""),
                      PictureRow("cut.png", nullptr, "\x89PNG\r\n\x1a\n"),
                      PictureRow("missing.png", "", "")));

// What is not a regular file, or a link to one, is refused without waiting: a named pipe with no
// writer would otherwise keep the open waiting for ever.
struct SpecialRow {
    const char* name;
    std::function<bool(const std::string& path, const std::string& picture)> make;
    bool hasSize;
};
class PictureSpecialFiles : public ::testing::TestWithParam<SpecialRow> {};
TEST_P(PictureSpecialFiles, RefusedWithoutWaiting) {
    QTemporaryDir dir;
    const std::string picture = dir.path().toStdString() + "/picture.png";
    const std::string path = dir.path().toStdString() + "/Monday.png";
    QImage image(31, 17, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QString::fromStdString(picture), "PNG"));
    ASSERT_TRUE(GetParam().make(path, picture));
    // On a thread of its own, so that a read that waits shows as a failure, not a hung test.
    auto result = std::make_shared<std::promise<std::optional<PixelSize>>>();
    std::thread([result, path] { result->set_value(QtPictures().pixelSize(path)); }).detach();
    std::future<std::optional<PixelSize>> size = result->get_future();
    ASSERT_EQ(size.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "still waiting on " << path;
    EXPECT_EQ(size.get(), GetParam().hasSize ? std::optional(PixelSize{31, 17}) : std::nullopt);
}
INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureSpecialFiles,
    ::testing::Values(
        SpecialRow{"NamedPipe", [](auto& p, auto&) { return ::mkfifo(p.c_str(), 0600) == 0; },
                   false},
        SpecialRow{"LinkToNamedPipe",
                   [](auto& p, auto& picture) {
                       return ::unlink(picture.c_str()) == 0 &&
                              ::mkfifo(picture.c_str(), 0600) == 0 &&
                              ::symlink(picture.c_str(), p.c_str()) == 0;
                   },
                   false},
        SpecialRow{"Folder", [](auto& p, auto&) { return ::mkdir(p.c_str(), 0700) == 0; }, false},
        SpecialRow{
            "LinkToPicture",
            [](auto& p, auto& picture) { return ::symlink(picture.c_str(), p.c_str()) == 0; },
            true}),
    byName);

} // namespace
} // namespace lumora
