// Picture sizes read from real files of several formats; what is no picture has no size.
#include "platform/linux/qt_pictures.h"
#include "test_support.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct PictureRow {
    const char* name;
    const char* fileName;
    const char* format; // written with QImage::save; nullptr: raw bytes below
    std::string bytes;
    std::optional<PixelSize> expected;
};
class PictureSizes : public ::testing::TestWithParam<PictureRow> {};
TEST_P(PictureSizes, Read) {
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/" + GetParam().fileName;
    if (GetParam().format) {
        QImage image(31, 17, QImage::Format_RGB32);
        image.fill(Qt::blue);
        ASSERT_TRUE(image.save(QString::fromStdString(path), GetParam().format));
    } else if (GetParam().fileName[0] != '-') {
        ASSERT_TRUE(test::writeAll(path, GetParam().bytes));
    }
    EXPECT_EQ(QtPictures().pixelSize(path), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureSizes,
    ::testing::Values(
        PictureRow{"Png", "a.png", "PNG", "", PixelSize{31, 17}},
        PictureRow{"Bmp", "a.bmp", "BMP", "", PixelSize{31, 17}},
        PictureRow{"Jpeg", "a.jpg", "JPG", "", PixelSize{31, 17}},
        PictureRow{"PngNamedJpg", "Monday.jpg", "PNG", "", PixelSize{31, 17}},
        PictureRow{"NoExtension", "Tuesday", "BMP", "", PixelSize{31, 17}},
        PictureRow{"TextFile", "notes.png", nullptr, "hello, not a picture\n", std::nullopt},
        PictureRow{"EmptyFile", "empty.bmp", nullptr, "", std::nullopt},
        PictureRow{"TruncatedPng", "cut.png", nullptr, "\x89PNG\r\n\x1a\n", std::nullopt},
        PictureRow{"Missing", "-missing.png", nullptr, "", std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
