// Picture sizes read from real files of several formats; what is no picture has no size.
#include "linux/platform/qt_pictures.h"
#include "test_support.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

} // namespace
} // namespace lumora
