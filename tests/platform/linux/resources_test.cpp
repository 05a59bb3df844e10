// The built-in pictures and icons as the program carries them (Qt resources under ":/lumora/"):
// byte for byte the committed files, with the headers and sizes the program relies on.
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRect>
#include <QString>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>

namespace {

struct ResourceFile {
    const char* rel;    // path under resources/ and under ":/lumora/"
    const char* format; // "bmp", "png" or "svg"
    int width;
    int height;
    qint64 size; // bytes, or -1 when it is free
};

std::ostream& operator<<(std::ostream& os, const ResourceFile& f) {
    return os << f.rel;
}

const ResourceFile kFiles[] = {
    {"default.bmp", "bmp", 410, 310, 381976},   {"nopicture.bmp", "bmp", 160, 120, 57654},
    {"logo.bmp", "bmp", 410, 310, 381974},      {"icons/lumora-16.png", "png", 16, 16, -1},
    {"icons/lumora-22.png", "png", 22, 22, -1}, {"icons/lumora-32.png", "png", 32, 32, -1},
    {"icons/lumora-48.png", "png", 48, 48, -1}, {"icons/lumora.svg", "svg", 48, 48, -1},
};

QString resourcePath(const char* rel) {
    return QStringLiteral(":/lumora/") + QString::fromUtf8(rel);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

QByteArray resourceBytes(const char* rel) {
    return readAll(resourcePath(rel));
}

QByteArray committedBytes(const char* rel) {
    return readAll(QStringLiteral(LUMORA_SOURCE_DIR "/resources/") + QString::fromUtf8(rel));
}

std::uint32_t u32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
std::int32_t i32(const QByteArray& b, int at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}
std::uint16_t u16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

QImage decode(const ResourceFile& f) {
    QImageReader reader(resourcePath(f.rel), f.format);
    if (QByteArray(f.format) == "svg") {
        reader.setScaledSize(QSize(f.width, f.height));
    }
    return reader.read();
}

bool isBlue(QRgb c) {
    return qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 20;
}

int luminance(QRgb c) {
    return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
}

// ---------------------------------------------------------------------------------------------
// Every file, one row each.

class ResourceFileTest : public ::testing::TestWithParam<ResourceFile> {};

TEST_P(ResourceFileTest, CompiledInByteForByteAsCommitted) {
    const ResourceFile& f = GetParam();
    const QByteArray compiled = resourceBytes(f.rel);
    const QByteArray committed = committedBytes(f.rel);
    ASSERT_FALSE(compiled.isEmpty()) << "no resource " << f.rel;
    ASSERT_FALSE(committed.isEmpty()) << "no committed file " << f.rel;
    EXPECT_EQ(compiled, committed);
    if (f.size >= 0) {
        EXPECT_EQ(compiled.size(), f.size);
    }
}

TEST_P(ResourceFileTest, DecodesAtItsSize) {
    const ResourceFile& f = GetParam();
    const QImage image = decode(f);
    ASSERT_FALSE(image.isNull()) << f.rel;
    EXPECT_EQ(image.width(), f.width);
    EXPECT_EQ(image.height(), f.height);
}

INSTANTIATE_TEST_SUITE_P(All, ResourceFileTest, ::testing::ValuesIn(kFiles));

// ---------------------------------------------------------------------------------------------
// The bitmaps: 24-bit uncompressed Windows bitmap files, bottom-up.

struct BitmapRow {
    const char* rel;
    int width;
    int height;
    std::uint32_t declaredSize; // bfSize
    int trailingZeros;          // bytes after the declared size
};

std::ostream& operator<<(std::ostream& os, const BitmapRow& r) {
    return os << r.rel;
}

class BitmapHeaderTest : public ::testing::TestWithParam<BitmapRow> {};

TEST_P(BitmapHeaderTest, HeaderFieldsAreConsistent) {
    const BitmapRow& r = GetParam();
    const QByteArray b = resourceBytes(r.rel);
    ASSERT_GE(b.size(), 54);
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(r.width) * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(r.height);

    EXPECT_EQ(b.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(b, 2), r.declaredSize);        // bfSize
    EXPECT_EQ(u16(b, 6), 0u);                    // bfReserved1
    EXPECT_EQ(u16(b, 8), 0u);                    // bfReserved2
    EXPECT_EQ(u32(b, 10), 54u);                  // bfOffBits
    EXPECT_EQ(u32(b, 14), 40u);                  // biSize: BITMAPINFOHEADER
    EXPECT_EQ(i32(b, 18), r.width);              // biWidth
    EXPECT_EQ(i32(b, 22), r.height);             // biHeight > 0: bottom-up rows
    EXPECT_EQ(u16(b, 26), 1u);                   // biPlanes
    EXPECT_EQ(u16(b, 28), 24u);                  // biBitCount
    EXPECT_EQ(u32(b, 30), 0u);                   // biCompression: BI_RGB
    EXPECT_EQ(u32(b, 34), imageBytes);           // biSizeImage
    EXPECT_EQ(u32(b, 46), 0u);                   // biClrUsed: no palette
    EXPECT_EQ(r.declaredSize, 54u + imageBytes); // the pixels fill the declared size
    EXPECT_EQ(b.size(), qint64(r.declaredSize) + r.trailingZeros);
    for (int i = 0; i < r.trailingZeros; ++i) {
        EXPECT_EQ(b.at(int(r.declaredSize) + i), '\0') << "trailing byte " << i;
    }
    // The padding at the end of every row is zero.
    for (std::uint32_t row = 0; row < static_cast<std::uint32_t>(r.height); ++row) {
        for (std::uint32_t i = static_cast<std::uint32_t>(r.width) * 3; i < rowBytes; ++i) {
            ASSERT_EQ(b.at(int(54 + row * rowBytes + i)), '\0') << "row " << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, BitmapHeaderTest,
                         ::testing::Values(BitmapRow{"default.bmp", 410, 310, 381974, 2},
                                           BitmapRow{"nopicture.bmp", 160, 120, 57654, 0},
                                           BitmapRow{"logo.bmp", 410, 310, 381974, 0}));

TEST(DefaultPicture, ExactLayoutTheProgramWritesOut) {
    const QByteArray b = resourceBytes("default.bmp");
    ASSERT_EQ(b.size(), 381976);
    EXPECT_EQ(u32(b, 2), 381974u);
    EXPECT_EQ(u32(b, 34), 381920u); // 1,232 bytes a row, 310 rows
    EXPECT_EQ(b.right(2), QByteArray(2, '\0'));
}

TEST(DefaultPicture, DarkNameOnALightGreyPanelOnWhite) {
    const QImage image(resourcePath("default.bmp"));
    ASSERT_FALSE(image.isNull());
    // White around the panel.
    for (const QPoint p : {QPoint(2, 2), QPoint(407, 2), QPoint(2, 307), QPoint(407, 307)}) {
        EXPECT_EQ(image.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
    }
    // A light grey panel across the middle, with dark letters on it.
    const QRect panel(60, 100, 290, 110);
    int grey = 0;
    int dark = 0;
    for (int y = panel.top(); y <= panel.bottom(); ++y) {
        for (int x = panel.left(); x <= panel.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int l = luminance(c);
            if (l >= 200 && l < 250 && std::abs(qRed(c) - qBlue(c)) < 16) {
                ++grey;
            } else if (l < 90) {
                ++dark;
            }
        }
    }
    const int area = panel.width() * panel.height();
    EXPECT_GT(grey, area / 2);
    EXPECT_GT(dark, area / 20);
    // The shadow: below the panel's lower edge the white turns grey.
    EXPECT_LT(luminance(image.pixel(205, 218)), 240);
}

// ---------------------------------------------------------------------------------------------
// The no-picture image: dark grey with "No Picture Selected" in blue, centred on two lines.

TEST(NoPictureImage, BlueWordsCentredOnTwoLinesOnDarkGrey) {
    const QImage image(resourcePath("nopicture.bmp"));
    ASSERT_EQ(image.size(), QSize(160, 120));
    const QRgb field = image.pixel(0, 0);
    EXPECT_EQ(qRed(field), qGreen(field));
    EXPECT_EQ(qGreen(field), qBlue(field));
    EXPECT_LT(luminance(field), 96);

    QRect ink;
    bool rowHasInk[120] = {};
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            const QRgb c = image.pixel(x, y);
            if (c == field) {
                continue;
            }
            EXPECT_GE(qBlue(c), qRed(c)) << "not blue at " << x << "," << y;
            if (isBlue(c)) {
                ink |= QRect(x, y, 1, 1);
                rowHasInk[y] = true;
            }
        }
    }
    ASSERT_FALSE(ink.isEmpty());
    // Centred both ways, within two pixels.
    EXPECT_LE(std::abs(ink.left() - (159 - ink.right())), 2);
    EXPECT_LE(std::abs(ink.top() - (119 - ink.bottom())), 2);
    // Two lines: exactly two bands of rows with ink.
    int bands = 0;
    for (int y = 0; y < 120; ++y) {
        if (rowHasInk[y] && (y == 0 || !rowHasInk[y - 1])) {
            ++bands;
        }
    }
    EXPECT_EQ(bands, 2);
}

// ---------------------------------------------------------------------------------------------
// The about/logo picture: the program writes the version and the date in dark grey (64,64,64)
// on the strip y = 292..305, and lays a hot spot over the contact address at 38..141 x 264..285.

TEST(LogoPicture, StripForVersionAndDateIsPlainAndLight) {
    const QImage image(resourcePath("logo.bmp"));
    ASSERT_EQ(image.size(), QSize(410, 310));
    for (const QRect& label : {QRect(14, 292, 50, 13), QRect(87, 292, 316, 13)}) {
        int lo = 255;
        int hi = 0;
        for (int y = label.top(); y <= label.bottom(); ++y) {
            for (int x = label.left(); x <= label.right(); ++x) {
                const int l = luminance(image.pixel(x, y));
                lo = std::min(lo, l);
                hi = std::max(hi, l);
            }
        }
        EXPECT_GE(lo, 200) << "dark grey text would not read at " << label.x();
        EXPECT_LE(hi - lo, 12) << "busy background at " << label.x();
    }
}

TEST(LogoPicture, ContactAddressLiesUnderTheHotSpot) {
    const QImage image(resourcePath("logo.bmp"));
    ASSERT_FALSE(image.isNull());
    const QRgb background = image.pixel(5, 275);
    const QRect hotSpot(38, 264, 104, 22);
    QRect ink;
    // Below the credit line (its descenders end above y = 262) and above the version strip.
    for (int y = 262; y < 292; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb c = image.pixel(x, y);
            if (luminance(background) - luminance(c) > 60) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(ink.isEmpty());
    // The address fills most of the hot spot's width and stays within a pixel of it.
    EXPECT_GE(ink.left(), hotSpot.left() - 1);
    EXPECT_LE(ink.right(), hotSpot.right() + 1);
    EXPECT_GE(ink.top(), hotSpot.top());
    EXPECT_LE(ink.bottom(), hotSpot.bottom());
    EXPECT_GT(ink.width(), hotSpot.width() * 3 / 4);
}

// ---------------------------------------------------------------------------------------------
// The icons: transparent outside the rounded body, and the scalable one draws the same picture.

class IconTest : public ::testing::TestWithParam<int> {};

TEST_P(IconTest, TransparentCornersAndOpaqueMiddle) {
    const int size = GetParam();
    const QString rel = QStringLiteral("icons/lumora-%1.png").arg(size);
    const QImage image =
        QImage(resourcePath(rel.toUtf8().constData())).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(size, size));
    EXPECT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(size - 1, size - 1)), 0);
    EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

TEST_P(IconTest, ScalableIconDrawsTheSamePicture) {
    const int size = GetParam();
    const QString rel = QStringLiteral("icons/lumora-%1.png").arg(size);
    const QImage png =
        QImage(resourcePath(rel.toUtf8().constData())).convertToFormat(QImage::Format_ARGB32);
    QImageReader reader(resourcePath("icons/lumora.svg"), "svg");
    reader.setScaledSize(QSize(size, size));
    const QImage svg = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(png.size(), svg.size());
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
