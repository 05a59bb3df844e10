// JPEG pictures decoded with libjpeg at a reduced scale: every piece of a four-colour picture comes
// out at the size asked for with each colour where the full picture has it, in place when the
// caller hands over pixels of its own; files that are no JPEG are left to QImageReader.
#include "linux/desktop/jpeg_picture.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace lumora {
namespace {

// 640 x 480: red, green, blue and white quarters.
const QColor kQuarters[4] = {QColor(220, 30, 30), QColor(30, 200, 60), QColor(40, 50, 210),
                             QColor(250, 250, 250)};
constexpr int kWidth = 640;
constexpr int kHeight = 480;

QColor quarterAt(int x, int y) {
    return kQuarters[(x < kWidth / 2 ? 0 : 1) + (y < kHeight / 2 ? 0 : 2)];
}

class JpegPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QImage picture(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&picture);
        for (int q = 0; q < 4; ++q) {
            painter.fillRect((q % 2) * kWidth / 2, (q / 2) * kHeight / 2, kWidth / 2, kHeight / 2,
                             kQuarters[q]);
        }
        painter.end();
        m_jpeg = m_dir.filePath("quarters.jpg").toStdString();
        ASSERT_TRUE(picture.save(QString::fromStdString(m_jpeg), "JPEG", 95));
    }

    // The colour of every pixel 24 pixels (in the full picture) away from the quarters' borders
    // matches, within what JPEG loses.
    static void expectQuarters(const QImage& image, const WallpaperPiece& piece) {
        const double fx = double(kWidth) / piece.scaledSize.width;
        const double fy = double(kHeight) / piece.scaledSize.height;
        int checked = 0;
        for (int y = 0; y < image.height(); y += 7) {
            for (int x = 0; x < image.width(); x += 7) {
                const int sx = int((piece.sourceClip.x + x + 0.5) * fx);
                const int sy = int((piece.sourceClip.y + y + 0.5) * fy);
                if (std::abs(sx - kWidth / 2) < 24 || std::abs(sy - kHeight / 2) < 24 || sx < 24 ||
                    sy < 24 || sx >= kWidth - 24 || sy >= kHeight - 24) {
                    continue;
                }
                const QColor want = quarterAt(sx, sy);
                const QColor got = image.pixelColor(x, y);
                ASSERT_LE(std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
                              std::abs(got.blue() - want.blue()),
                          24)
                    << "at " << x << "," << y;
                ++checked;
            }
        }
        EXPECT_GT(checked, 0);
    }

    QTemporaryDir m_dir;
    std::string m_jpeg;
};

TEST_F(JpegPictureTest, ReadsTheSizeOfAJpegAndLeavesOtherFilesAlone) {
    auto jpeg = JpegPicture::open(m_jpeg);
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->size(), (PixelSize{kWidth, kHeight}));

    const std::string png = m_dir.filePath("quarters.png").toStdString();
    ASSERT_TRUE(QImage(QString::fromStdString(m_jpeg)).save(QString::fromStdString(png), "PNG"));
    EXPECT_EQ(JpegPicture::open(png), nullptr);
    EXPECT_EQ(JpegPicture::open(m_dir.filePath("missing.jpg").toStdString()), nullptr);

    // The JPEG signature and then nothing a JPEG reader can use.
    QFile damaged(m_dir.filePath("damaged.jpg"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("\xff\xd8\xff\xe0 not a picture", 19));
    damaged.close();
    EXPECT_EQ(JpegPicture::open(damaged.fileName().toStdString()), nullptr);
}

TEST(JpegScale, TheSmallestEighthsThatCoverTheTarget) {
    EXPECT_EQ(JpegPicture::scaleFor({3840, 2160}, {1920, 1080}), 4);
    EXPECT_EQ(JpegPicture::scaleFor({3840, 2160}, {1921, 1080}), 5);
    EXPECT_EQ(JpegPicture::scaleFor({3840, 2160}, {480, 270}), 1);
    EXPECT_EQ(JpegPicture::scaleFor({3840, 2160}, {3840, 2160}), 8);
    EXPECT_EQ(JpegPicture::scaleFor({800, 600}, {1920, 1080}), 8);
}

struct PieceRow {
    const char* name;
    WallpaperPiece piece;
};

class JpegPieces : public JpegPictureTest, public ::testing::WithParamInterface<PieceRow> {};

TEST_P(JpegPieces, EveryPieceHasItsSizeAndColours) {
    const WallpaperPiece& piece = GetParam().piece;
    auto jpeg = JpegPicture::open(m_jpeg);
    ASSERT_NE(jpeg, nullptr);
    QImage image;
    ASSERT_TRUE(jpeg->decodePiece(piece, image));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(piece.sourceClip.width, piece.sourceClip.height));
    expectQuarters(image, piece);

    // Pixels handed over are written in place; the picture decodes again from the same file.
    QImage target(piece.sourceClip.width, piece.sourceClip.height, QImage::Format_RGB32);
    target.fill(Qt::black);
    const uchar* bits = target.constBits();
    ASSERT_TRUE(jpeg->decodePiece(piece, target));
    EXPECT_EQ(target.constBits(), bits);
    EXPECT_EQ(target, image);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, JpegPieces,
    ::testing::Values(
        PieceRow{"HalfSizeWhole", {{320, 240}, {0, 0, 320, 240}, {0, 0, 320, 240}, false}},
        PieceRow{"ResampledWhole", {{500, 300}, {0, 0, 500, 300}, {0, 0, 500, 300}, false}},
        PieceRow{"FullSizeMiddle", {{640, 480}, {100, 50, 400, 300}, {0, 0, 400, 300}, false}},
        PieceRow{"HalfSizeCorner", {{320, 240}, {200, 150, 120, 90}, {0, 0, 120, 90}, false}},
        PieceRow{"EnlargedClip", {{1280, 960}, {600, 400, 200, 150}, {0, 0, 200, 150}, false}}),
    [](const ::testing::TestParamInfo<PieceRow>& row) { return std::string(row.param.name); });

TEST_F(JpegPictureTest, AClipOutsideThePictureIsNotDecoded) {
    auto jpeg = JpegPicture::open(m_jpeg);
    ASSERT_NE(jpeg, nullptr);
    QImage image;
    EXPECT_FALSE(jpeg->decodePiece({{320, 240}, {300, 0, 40, 10}, {0, 0, 40, 10}, false}, image));
}

} // namespace
} // namespace lumora
