// The built-in pictures and icons as the program carries them (Qt resources under ":/lumora/"):
// byte for byte the committed files, with the headers the program relies on; the logo's hot spot
// over its address; the icons drawn alike at every size.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

QString resourcePath(const QString& rel) {
    return ":/lumora/" + rel;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage image(const QString& rel, int size = 0) {
    QImageReader reader(resourcePath(rel));
    if (size > 0) {
        reader.setScaledSize(QSize(size, size));
    }
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

int luminance(QRgb c) {
    return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
}

// The bounding box of the pixels of `area` that `ink` accepts.
QRect inkBox(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& ink) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (ink(image.pixel(x, y))) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// Every committed picture and icon is compiled in as it is and decodes; the bitmaps are 24-bit
// uncompressed Windows bitmap files, bottom-up, without palette, whose pixels fill the declared
// size, with zeros after it and at the end of every row (the default picture is written out as it
// is, for other programs to read).
TEST(Resources, CompiledInAsCommittedAndWellFormed) {
    const QDir committed(QStringLiteral(LUMORA_SOURCE_DIR "/resources"));
    QDirIterator it(committed.path(), {"*.bmp", "*.png", "*.svg"}, QDir::Files,
                    QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString rel = committed.relativeFilePath(it.next());
        SCOPED_TRACE(rel.toStdString());
        ++files;
        const QByteArray b = readAll(resourcePath(rel));
        EXPECT_EQ(b, readAll(it.filePath()));
        const QImage decoded = image(rel, rel.endsWith(".svg") ? 48 : 0);
        EXPECT_FALSE(decoded.isNull());
        if (!rel.endsWith(".bmp") || b.size() < 54) {
            continue;
        }
        const auto u32 = [&b](int at) { return qFromLittleEndian<quint32>(b.constData() + at); };
        const auto u16 = [&b](int at) { return qFromLittleEndian<quint16>(b.constData() + at); };
        const int width = decoded.width();
        const int height = decoded.height();
        const int rowBytes = (width * 3 + 3) / 4 * 4;
        const auto imageBytes = quint32(rowBytes * height);
        EXPECT_EQ(b.left(2), QByteArray("BM"));
        // bfSize, both reserved, bfOffBits, biSize, biWidth, biHeight, biPlanes, biBitCount,
        // biCompression, biSizeImage, biClrUsed.
        EXPECT_EQ(std::vector<quint32>({u32(2), u16(6), u16(8), u32(10), u32(14), u32(18), u32(22),
                                        u16(26), u16(28), u32(30), u32(34), u32(46)}),
                  std::vector<quint32>({54 + imageBytes, 0, 0, 54, 40, quint32(width),
                                        quint32(height), 1, 24, 0, imageBytes, 0}));
        ASSERT_GE(b.size(), 54 + qsizetype(imageBytes));
        EXPECT_EQ(b.mid(54 + imageBytes), QByteArray(b.size() - 54 - imageBytes, '\0'));
        for (int row = 0; row < height; ++row) {
            ASSERT_EQ(b.mid(54 + row * rowBytes + width * 3, rowBytes - width * 3),
                      QByteArray(rowBytes - width * 3, '\0'))
                << "padding of row " << row;
        }
    }
    EXPECT_GT(files, 0);
}

// The program writes the version and the date in dark grey (64,64,64) on the strip
// y = 292..305, and lays a hot spot over the contact address at 38..141 x 264..285.
TEST(LogoPicture, PlainLightStripAndTheAddressUnderTheHotSpot) {
    const QImage picture = image("logo.bmp");
    for (const QRect& label : {QRect(14, 292, 50, 13), QRect(87, 292, 316, 13)}) {
        int lo = 255;
        int hi = 0;
        inkBox(picture, label, [&](QRgb c) {
            lo = std::min(lo, luminance(c));
            hi = std::max(hi, luminance(c));
            return false;
        });
        EXPECT_GE(lo, 200) << "dark grey text would not read at " << label.x();
        EXPECT_LE(hi - lo, 12) << "busy background at " << label.x();
    }
    // Below the credit line (its descenders end above y = 262) and above the version strip.
    const int background = luminance(picture.pixel(5, 275));
    const QRect ink = inkBox(picture, QRect(0, 262, 200, 30),
                             [&](QRgb c) { return background - luminance(c) > 60; });
    const QRect hotSpot(38, 264, 104, 22);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(hotSpot.adjusted(-1, 0, 1, 0).contains(ink)) << ink.x() << "," << ink.width();
    EXPECT_GT(ink.width(), hotSpot.width() * 3 / 4);
}

// Transparent outside the rounded body, and the scalable icon draws the same picture.
class IconTest : public ::testing::TestWithParam<int> {};
TEST_P(IconTest, TransparentCornersAndTheSamePictureAsTheScalableIcon) {
    const int size = GetParam();
    const QImage png = image(QStringLiteral("icons/lumora-%1.png").arg(size));
    const QImage svg = image("icons/lumora.svg", size);
    ASSERT_EQ(png.size(), QSize(size, size));
    ASSERT_EQ(svg.size(), png.size());
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(png.pixel(size - 1, size - 1)), 0);
    EXPECT_EQ(qAlpha(png.pixel(size / 2, size / 2)), 255);
    // Unpremultiplied colours weighted by coverage, so edge pixels count little.
    double difference = 0.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb a = png.pixel(x, y);
            const QRgb b = svg.pixel(x, y);
            const double wa = qAlpha(a) / 255.0;
            const double wb = qAlpha(b) / 255.0;
            difference += std::abs(qRed(a) * wa - qRed(b) * wb) +
                          std::abs(qGreen(a) * wa - qGreen(b) * wb) +
                          std::abs(qBlue(a) * wa - qBlue(b) * wb) + std::abs(qAlpha(a) - qAlpha(b));
        }
    }
    EXPECT_LT(difference / (size * size * 4), 4.0);
}
INSTANTIATE_TEST_SUITE_P(Sizes, IconTest, ::testing::Values(16, 22, 32, 48));

} // namespace
