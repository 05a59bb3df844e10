// The preview's caption and its size text, with the locale's thousands separator.
#include "core/viewer/preview_caption.h"

#include <gtest/gtest.h>

namespace lumora::viewer {
namespace {

TEST(PreviewCaption, SizeText) {
    const std::pair<std::uintmax_t, const char*> rows[] = {
        {0, "0 Bytes"},
        {1500, "1,500 Bytes"},
        {2047, "2,047 Bytes"},
        {2048, "2 KB"},
        {1048576, "1,024 KB"},
        {1024u * 999999u, "999,999 KB"},
        {1024u * 1000000u, "1,000,000 KB"},
    };
    for (const auto& [bytes, text] : rows) {
        EXPECT_EQ(previewSizeText(bytes, ","), text) << bytes;
    }
    EXPECT_EQ(previewSizeText(1048576, "."), "1.024 KB");
}

TEST(PreviewCaption, Caption) {
    EXPECT_EQ(previewCaption("/home/ann/Pics/Sea.bmp", 1024, 768, 2359350, ","),
              "Lumora - /home/ann/Pics/Sea.bmp [1024 x 768 pixels - 2,304 KB]");
}

} // namespace
} // namespace lumora::viewer
