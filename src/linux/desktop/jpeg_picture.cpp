#include "linux/desktop/jpeg_picture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace lumora {

// One pass over the file. libjpeg reports errors by calling error_exit, which must not return:
// it jumps back to the setjmp of the step under way, and that step returns false. The steps keep
// nothing with a destructor on their frames, so the jump skips no clean-up.
struct JpegPicture::Decoder {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};

    Decoder() {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = [](j_common_ptr common) {
            std::longjmp(*static_cast<std::jmp_buf*>(common->client_data), 1);
        };
        // Warnings about damaged data are not printed: what can be decoded is drawn, as
        // QImageReader does.
        errors.output_message = [](j_common_ptr) {};
        info.client_data = &jump;
    }
    ~Decoder() { jpeg_destroy_decompress(&info); } // a no-op before jpeg_create_decompress
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

namespace {

using Decoder = JpegPicture::Decoder;

// Reads the header from the top of `file`; with `scale` (1 to 8) also starts decompressing at
// scale/8 into 32-bit pixels laid out as QImage::Format_RGB32 on this machine.
bool begin(Decoder& d, std::FILE* file, int scale) {
    if (setjmp(d.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&d.info);
    std::rewind(file);
    jpeg_stdio_src(&d.info, file);
    jpeg_read_header(&d.info, TRUE);
    if (scale > 0) {
        d.info.scale_num = static_cast<unsigned>(scale);
        d.info.scale_denom = 8;
        d.info.out_color_space =
            std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
        jpeg_start_decompress(&d.info);
    }
    return true;
}

// Decodes output rows [first, first + count) into `out` (one row every `stride` bytes), keeping
// columns [x, x + width). Rows above `first` are skipped without decoding their colours, rows
// below the last are not read. `scratch` holds one whole output row when only some columns
// are kept.
bool readRows(Decoder& d, std::uint8_t* out, std::size_t stride, int first, int count, int x,
              int width, std::uint8_t* scratch) {
    if (setjmp(d.jump) != 0) {
        return false;
    }
    if (first > 0) {
        jpeg_skip_scanlines(&d.info, static_cast<JDIMENSION>(first));
    }
    const bool whole = x == 0 && width == static_cast<int>(d.info.output_width);
    for (int row = 0; row < count; ++row) {
        std::uint8_t* target = out + stride * static_cast<std::size_t>(row);
        JSAMPROW line = whole ? target : scratch;
        if (jpeg_read_scanlines(&d.info, &line, 1) != 1) {
            return false;
        }
        if (!whole) {
            std::memcpy(target, scratch + std::size_t(x) * 4, std::size_t(width) * 4);
        }
    }
    return true;
}

bool isRgb32Of(const QImage& image, int width, int height) {
    return image.format() == QImage::Format_RGB32 && image.width() == width &&
           image.height() == height;
}

} // namespace

JpegPicture::JpegPicture(std::FILE* file) : m_file(file) {}

JpegPicture::~JpegPicture() {
    std::fclose(m_file);
}

std::unique_ptr<JpegPicture> JpegPicture::open(const std::string& path) {
    // Non-blocking, and a regular file only, as every picture the program reads.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    unsigned char magic[3] = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::pread(fd, magic, sizeof magic, 0) != static_cast<ssize_t>(sizeof magic) ||
        magic[0] != 0xff || magic[1] != 0xd8 || magic[2] != 0xff) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<JpegPicture> picture(new JpegPicture(file));
    Decoder d;
    if (!begin(d, file, 0)) {
        return nullptr;
    }
    const J_COLOR_SPACE space = d.info.jpeg_color_space;
    if (space != JCS_GRAYSCALE && space != JCS_YCbCr && space != JCS_RGB) {
        return nullptr;
    }
    picture->m_size = {static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height)};
    return picture;
}

int JpegPicture::scaleFor(const PixelSize& file, const PixelSize& target) {
    for (int m = 1; m < 8; ++m) {
        const std::int64_t w = (std::int64_t{file.width} * m + 7) / 8;
        const std::int64_t h = (std::int64_t{file.height} * m + 7) / 8;
        if (w >= target.width && h >= target.height) {
            return m;
        }
    }
    return 8;
}

bool JpegPicture::decodePiece(const WallpaperPiece& piece, QImage& image) {
    const PixelSize target = piece.scaledSize;
    const PixelRect clip = piece.sourceClip;
    if (clip.empty() || target.width <= 0 || target.height <= 0 ||
        !(intersected(clip, {0, 0, target.width, target.height}) == clip)) {
        return false;
    }
    Decoder d;
    if (!begin(d, m_file, scaleFor(m_size, target))) {
        return false;
    }
    const int width = static_cast<int>(d.info.output_width);
    const int height = static_cast<int>(d.info.output_height);
    if (width == target.width && height == target.height) {
        // Decoded at the very size drawn: the visible rows go straight to the caller's pixels.
        if (!isRgb32Of(image, clip.width, clip.height)) {
            image = QImage(clip.width, clip.height, QImage::Format_RGB32);
        }
        if (image.isNull()) {
            return false;
        }
        std::vector<std::uint8_t> scratch;
        if (clip.x != 0 || clip.width != width) {
            scratch.resize(std::size_t(width) * 4);
        }
        return readRows(d, image.bits(), static_cast<std::size_t>(image.bytesPerLine()), clip.y,
                        clip.height, clip.x, clip.width, scratch.data());
    }
    // Decoded at the next scale up, then one smooth resample to the size drawn.
    QImage decoded(width, height, QImage::Format_RGB32);
    if (decoded.isNull() ||
        !readRows(d, decoded.bits(), static_cast<std::size_t>(decoded.bytesPerLine()), 0, height, 0,
                  width, nullptr)) {
        return false;
    }
    QImage scaled = decoded.scaled(target.width, target.height, Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation);
    decoded = QImage();
    if (clip.width != target.width || clip.height != target.height) {
        scaled = scaled.copy(clip.x, clip.y, clip.width, clip.height);
    }
    if (scaled.format() != QImage::Format_RGB32) {
        scaled.convertTo(QImage::Format_RGB32);
    }
    if (scaled.isNull()) {
        return false;
    }
    if (isRgb32Of(image, clip.width, clip.height)) {
        const std::size_t rowBytes = std::size_t(clip.width) * 4;
        for (int row = 0; row < clip.height; ++row) {
            std::memcpy(image.scanLine(row), scaled.constScanLine(row), rowBytes);
        }
    } else {
        image = std::move(scaled);
    }
    return true;
}

} // namespace lumora
