#include "core/engine/picture_header.h"

#include <array>
#include <cstring>
#include <limits>

namespace lumora {

namespace {

std::uint32_t le16(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
}
std::uint32_t le32(const std::uint8_t* p) {
    return le16(p) | le16(p + 2) << 16;
}
std::uint32_t be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

HeaderFacts refused(std::string why) {
    return {HeaderCheck::Refused, {}, std::move(why)};
}

bool withinLimit(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxPicturePixels;
}

HeaderFacts sound(std::int64_t width, std::int64_t height) {
    if (!withinLimit(width, height)) {
        return refused("declares " + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels");
    }
    return {HeaderCheck::Sound, {static_cast<int>(width), static_cast<int>(height)}, {}};
}

HeaderFacts checkBmp(const std::uint8_t* h, std::size_t got, std::uintmax_t length) {
    if (got < 26) {
        return refused("a cut header");
    }
    const std::uint32_t offset = le32(h + 10);
    const std::uint32_t headerSize = le32(h + 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = le16(h + 18);
        height = le16(h + 20);
        planes = le16(h + 22);
        bits = le16(h + 24);
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 ||
               headerSize == 108 || headerSize == 124) {
        if (got < 14u + headerSize) {
            return refused("a cut header");
        }
        width = static_cast<std::int32_t>(le32(h + 18));
        const auto declared = static_cast<std::int32_t>(le32(h + 22));
        if (declared == std::numeric_limits<std::int32_t>::min()) {
            return refused("a height out of range");
        }
        height = declared < 0 ? -std::int64_t{declared} : declared; // negative: rows top down
        planes = le16(h + 26);
        bits = le16(h + 28);
        compression = le32(h + 30);
    } else {
        return refused("an unknown header size " + std::to_string(headerSize));
    }
    if (planes != 1) {
        return refused("not one plane");
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return refused(std::to_string(bits) + " bits a pixel");
    }
    // 0 plain, 1 and 2 run-length, 3 and 6 bit fields; pictures packed as JPEG or PNG are not
    // taken.
    if (compression != 0 && compression != 1 && compression != 2 && compression != 3 &&
        compression != 6) {
        return refused("compression " + std::to_string(compression));
    }
    HeaderFacts facts = sound(width, height);
    if (facts.check != HeaderCheck::Sound) {
        return facts;
    }
    if (offset < 14u + headerSize || offset >= length) {
        return refused("pixels outside the file");
    }
    if (compression == 0 || compression == 3 || compression == 6) {
        // Uncompressed rows, each padded to four bytes: every row must be in the file.
        const std::uintmax_t row = (static_cast<std::uintmax_t>(width) * bits + 31) / 32 * 4;
        if (row * static_cast<std::uintmax_t>(height) > length - offset) {
            return refused("fewer rows than declared");
        }
    }
    return facts;
}

HeaderFacts checkPng(const std::uint8_t* h, std::size_t got) {
    if (got < 33 || std::memcmp(h + 12, "IHDR", 4) != 0) {
        return refused("a cut header");
    }
    return sound(be32(h + 16), be32(h + 20));
}

// Reads past `count` bytes. Read, not sought: a seek empties the stream's buffer, and a GIF has a
// sub-block every 255 bytes.
bool skip(std::FILE* file, std::size_t count) {
    std::array<char, 256> scratch{};
    while (count > 0) {
        const std::size_t part = count < scratch.size() ? count : scratch.size();
        if (std::fread(scratch.data(), 1, part, file) != part) {
            return false;
        }
        count -= part;
    }
    return true;
}

// Skips data sub-blocks (a length byte, then that many bytes) up to the empty one.
bool skipSubBlocks(std::FILE* file) {
    for (;;) {
        const int size = std::fgetc(file);
        if (size == EOF) {
            return false;
        }
        if (size == 0) {
            return true;
        }
        if (!skip(file, static_cast<std::size_t>(size))) {
            return false;
        }
    }
}

HeaderFacts checkGif(std::FILE* file, const std::uint8_t* h, std::size_t got) {
    if (got < 13) {
        return refused("a cut header");
    }
    HeaderFacts facts = sound(le16(h + 6), le16(h + 8));
    if (facts.check != HeaderCheck::Sound) {
        return facts;
    }
    const std::uint8_t flags = h[10];
    long at = 13 + ((flags & 0x80) != 0 ? 3L << ((flags & 7) + 1) : 0L);
    if (std::fseek(file, at, SEEK_SET) != 0) {
        return refused("a cut colour table");
    }
    std::int64_t framePixels = 0;
    int frames = 0;
    for (;;) {
        const int introducer = std::fgetc(file);
        if (introducer == 0x3B || introducer == EOF) {
            // The trailer, or a file cut after its last whole block.
            break;
        }
        if (introducer == 0x21) {
            if (std::fgetc(file) == EOF || !skipSubBlocks(file)) {
                break;
            }
            continue;
        }
        if (introducer != 0x2C) {
            break; // damaged: what was read so far is what a decoder can show
        }
        std::array<std::uint8_t, 9> descriptor{};
        if (std::fread(descriptor.data(), 1, descriptor.size(), file) != descriptor.size()) {
            break;
        }
        framePixels += std::int64_t{le16(&descriptor[4])} * le16(&descriptor[6]);
        ++frames;
        if (framePixels > kMaxPicturePixels) {
            return refused(std::to_string(frames) + " frames declare more than " +
                           std::to_string(kMaxPicturePixels) + " pixels");
        }
        const std::uint8_t local = descriptor[8];
        if ((local & 0x80) != 0 && !skip(file, std::size_t{3} << ((local & 7) + 1))) {
            break;
        }
        if (std::fgetc(file) == EOF || !skipSubBlocks(file)) { // the LZW code size, the data
            break;
        }
    }
    if (frames == 0) {
        return refused("no frame");
    }
    return facts;
}

} // namespace

HeaderFacts checkPictureHeader(std::FILE* file, std::uintmax_t length) {
    std::array<std::uint8_t, 14 + 124> head{};
    const std::size_t got = std::fread(head.data(), 1, head.size(), file);
    if (got >= 2 && head[0] == 'B' && head[1] == 'M') {
        return checkBmp(head.data(), got, length);
    }
    if (got >= 8 && std::memcmp(head.data(), "\x89PNG\r\n\x1a\n", 8) == 0) {
        return checkPng(head.data(), got);
    }
    if (got >= 6 && (std::memcmp(head.data(), "GIF87a", 6) == 0 ||
                     std::memcmp(head.data(), "GIF89a", 6) == 0)) {
        return checkGif(file, head.data(), got);
    }
    return {};
}

} // namespace lumora
