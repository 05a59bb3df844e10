// What a BMP, PNG or GIF declares, read before a decoder sees it: sound headers pass with their
// size, lying, cut and oversized ones are refused, other formats are left to the decoder.
#include "core/engine/picture_header.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

namespace lumora {
namespace {

std::string le(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xff);
    }
    return out;
}
std::string be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 0xff),
            static_cast<char>((v >> 8) & 0xff), static_cast<char>(v & 0xff)};
}

// A 24-bit BMP of width x height with its rows; the fields a test lies about are arguments.
std::string bmp(std::int32_t width, std::int32_t height, std::uint32_t bits = 24,
                std::uint32_t headerSize = 40, std::size_t rows = 0) {
    const auto absHeight = static_cast<std::size_t>(height < 0 ? -std::int64_t{height} : height);
    const std::size_t rowBytes =
        (static_cast<std::size_t>(width > 0 ? width : 1) * 24 + 31) / 32 * 4;
    std::string out = "BM" + le(0, 4) + le(0, 4) + le(54, 4) + le(headerSize, 4) +
                      le(static_cast<std::uint32_t>(width), 4) +
                      le(static_cast<std::uint32_t>(height), 4) + le(1, 2) + le(bits, 2) +
                      std::string(24, '\0');
    return out + std::string(rowBytes * (rows != 0 ? rows : absHeight), '\x7f');
}

std::string png(std::uint32_t width, std::uint32_t height) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + be32(13) + "IHDR" + be32(width) + be32(height) +
           std::string("\x08\x02\x00\x00\x00", 5) + be32(0);
}

// A GIF of `frames` frames of width x height, each with one empty data block.
std::string gif(int frames, std::uint32_t width, std::uint32_t height) {
    std::string out = "GIF89a" + le(width, 2) + le(height, 2) + std::string("\x80\x00\x00", 3) +
                      std::string(6, '\0'); // a two-colour global table
    for (int i = 0; i < frames; ++i) {
        out += std::string("\x21\xf9\x04\x00\x00\x00\x00\x00", 8); // a graphic control block
        out += "\x2c" + le(0, 2) + le(0, 2) + le(width, 2) + le(height, 2) + std::string(1, '\0');
        out += std::string("\x02\x02\x44\x01\x00", 5); // LZW size, one data block, the end
    }
    return out + "\x3b";
}

struct Row {
    const char* name;
    std::string bytes;
    HeaderCheck check;
    PixelSize size;
};

class PictureHeader : public ::testing::TestWithParam<Row> {};

TEST_P(PictureHeader, IsJudgedBeforeAnyDecoding) {
    const Row& row = GetParam();
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(row.bytes.data(), 1, row.bytes.size(), file), row.bytes.size());
    std::rewind(file);
    const HeaderFacts facts = checkPictureHeader(file, row.bytes.size());
    std::fclose(file);
    EXPECT_EQ(facts.check, row.check) << facts.reason;
    if (row.check == HeaderCheck::Sound) {
        EXPECT_EQ(facts.size, row.size);
    } else if (row.check == HeaderCheck::Refused) {
        EXPECT_FALSE(facts.reason.empty());
    }
}

constexpr auto kMin = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Rows, PictureHeader,
    ::testing::Values(
        Row{"bmp", bmp(3, 2), HeaderCheck::Sound, {3, 2}},
        Row{"bmp_top_down", bmp(3, -2), HeaderCheck::Sound, {3, 2}},
        Row{"bmp_cut_header", bmp(3, 2).substr(0, 20), HeaderCheck::Refused, {}},
        Row{"bmp_cut_rows", bmp(3, 2, 24, 40, 1), HeaderCheck::Refused, {}},
        Row{"bmp_bits_7", bmp(3, 2, 7), HeaderCheck::Refused, {}},
        Row{"bmp_header_size", bmp(3, 2, 24, 0xFFFFFFF0), HeaderCheck::Refused, {}},
        Row{"bmp_height_min", bmp(3, kMin, 24, 40, 2), HeaderCheck::Refused, {}},
        Row{"bmp_negative_width", bmp(-3, 2), HeaderCheck::Refused, {}},
        Row{"bmp_30000_square", bmp(30000, 30000, 24, 40, 1), HeaderCheck::Refused, {}},
        Row{"png", png(100, 50), HeaderCheck::Sound, {100, 50}},
        Row{"png_bomb", png(20000, 20000), HeaderCheck::Refused, {}},
        Row{"png_cut", png(100, 50).substr(0, 20), HeaderCheck::Refused, {}},
        Row{"gif", gif(1, 4, 4), HeaderCheck::Sound, {4, 4}},
        Row{"gif_cut_after_a_frame", gif(2, 4, 4).substr(0, 40), HeaderCheck::Sound, {4, 4}},
        Row{"gif_200_frames", gif(200, 4000, 4000), HeaderCheck::Refused, {}},
        Row{"gif_no_frame", gif(0, 4, 4), HeaderCheck::Refused, {}},
        Row{"gif_screen_65535", gif(1, 65535, 65535), HeaderCheck::Refused, {}},
        Row{"jpeg", std::string("\xff\xd8\xff\xe0\x00\x10JFIF", 10), HeaderCheck::Unknown, {}},
        Row{"empty", std::string(), HeaderCheck::Unknown, {}}),
    [](const ::testing::TestParamInfo<Row>& row) { return std::string(row.param.name); });

} // namespace
} // namespace lumora
