// The built-in pictures and icons as the program carries them (Qt resources under ":/lumora/"):
// byte for byte the committed files, with the headers and sizes the program relies on.
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

struct ResourceFile {
    const char* rel; // path under resources/ and under ":/lumora/"
    int width, height;
    qint64 size; // bytes, or -1 when it is free
};
std::ostream& operator<<(std::ostream& os, const ResourceFile& f) {
    return os << f.rel;
}
class ResourceFileTest : public ::testing::TestWithParam<ResourceFile> {};
TEST_P(ResourceFileTest, CompiledInAsCommittedAndDecodesAtItsSize) {
    const ResourceFile& f = GetParam();
    const QByteArray b = readAll(resourcePath(f.rel));
    ASSERT_FALSE(b.isEmpty()) << "no resource " << f.rel;
    EXPECT_EQ(b, readAll(QStringLiteral(LUMORA_SOURCE_DIR "/resources/") + f.rel));
    EXPECT_TRUE(f.size < 0 || b.size() == f.size) << b.size();
    EXPECT_EQ(image(f.rel, QString(f.rel).endsWith(".svg") ? f.width : 0).size(),
              QSize(f.width, f.height));
    if (!QString(f.rel).endsWith(".bmp")) {
        return;
    }
    // 24-bit uncompressed Windows bitmap files, bottom-up, without palette; the pixels fill the
    // declared size, and what follows it and ends every row is zero.
    const auto u32 = [&b](int at) { return qFromLittleEndian<quint32>(b.constData() + at); };
    const auto u16 = [&b](int at) { return qFromLittleEndian<quint16>(b.constData() + at); };
    const int rowBytes = (f.width * 3 + 3) / 4 * 4;
    const auto imageBytes = quint32(rowBytes * f.height);
    EXPECT_EQ(b.left(2), QByteArray("BM"));
    // bfSize, both reserved, bfOffBits, biSize, biWidth, biHeight, biPlanes, biBitCount,
    // biCompression, biSizeImage, biClrUsed.
    EXPECT_EQ(std::vector<quint32>({u32(2), u16(6), u16(8), u32(10), u32(14), u32(18), u32(22),
                                    u16(26), u16(28), u32(30), u32(34), u32(46)}),
              std::vector<quint32>({54 + imageBytes, 0, 0, 54, 40, quint32(f.width),
                                    quint32(f.height), 1, 24, 0, imageBytes, 0}));
    EXPECT_EQ(b.mid(54 + imageBytes), QByteArray(b.size() - 54 - imageBytes, '\0'));
    for (int row = 0; row < f.height; ++row) {
        ASSERT_EQ(b.mid(54 + row * rowBytes + f.width * 3, rowBytes - f.width * 3),
                  QByteArray(rowBytes - f.width * 3, '\0'))
            << "padding of row " << row;
    }
}
// The default picture has two zero bytes after its declared size, as the program writes it.
INSTANTIATE_TEST_SUITE_P(All, ResourceFileTest,
                         ::testing::Values(ResourceFile{"default.bmp", 410, 310, 381976},
                                           ResourceFile{"nopicture.bmp", 160, 120, 57654},
                                           ResourceFile{"logo.bmp", 410, 310, 381974},
                                           ResourceFile{"icons/lumora-16.png", 16, 16, -1},
                                           ResourceFile{"icons/lumora-22.png", 22, 22, -1},
                                           ResourceFile{"icons/lumora-32.png", 32, 32, -1},
                                           ResourceFile{"icons/lumora-48.png", 48, 48, -1},
                                           ResourceFile{"icons/lumora.svg", 48, 48, -1}));

TEST(DefaultPicture, DarkNameOnALightGreyPanelOnWhite) {
    const QImage picture = image("default.bmp");
    for (const QPoint p : {QPoint(2, 2), QPoint(407, 2), QPoint(2, 307), QPoint(407, 307)}) {
        EXPECT_EQ(picture.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
    }
    // A light grey panel across the middle, with dark letters on it.
    int grey = 0;
    int dark = 0;
    inkBox(picture, QRect(60, 100, 290, 110), [&](QRgb c) {
        const int l = luminance(c);
        grey += l >= 200 && l < 250 && std::abs(qRed(c) - qBlue(c)) < 16;
        dark += l < 90;
        return false;
    });
    EXPECT_GT(grey, 290 * 110 / 2);
    EXPECT_GT(dark, 290 * 110 / 20);
    // The shadow: below the panel's lower edge the white turns grey.
    EXPECT_LT(luminance(picture.pixel(205, 218)), 240);
}

// Dark grey with "No Picture Selected" in blue, centred on two lines.
TEST(NoPictureImage, BlueWordsCentredOnTwoLinesOnDarkGrey) {
    const QImage picture = image("nopicture.bmp");
    const QRgb field = picture.pixel(0, 0);
    EXPECT_TRUE(qRed(field) == qGreen(field) && qGreen(field) == qBlue(field));
    EXPECT_LT(luminance(field), 96);
    int bands = 0;
    QRect ink;
    bool lastRowInked = false;
    for (int y = 0; y < 120; ++y) {
        const QRect row = inkBox(picture, QRect(0, y, 160, 1), [&](QRgb c) {
            EXPECT_TRUE(c == field || qBlue(c) >= qRed(c)) << "not blue in row " << y;
            return qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 20;
        });
        bands += !row.isEmpty() && !lastRowInked;
        lastRowInked = !row.isEmpty();
        ink |= row;
    }
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(std::abs(ink.left() - (159 - ink.right())), 2);
    EXPECT_LE(std::abs(ink.top() - (119 - ink.bottom())), 2);
    EXPECT_EQ(bands, 2);
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
