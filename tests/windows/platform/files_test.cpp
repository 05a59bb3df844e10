// The files the engine opens and makes, picture sizes, the built-in resources and the flush, on
// Wine's real file system.
#include "core/text/texts.h"
#include "core/text/utf8_path.h"
#include "windows/platform/wic_decode.h"
#include "windows/platform/wic_pictures.h"
#include "windows/platform/wide_text.h"
#include "windows/platform/win32_file_access.h"
#include "windows/platform/win32_file_sync.h"
#include "windows/platform/win32_resources.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace lumora {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        folder = fs::temp_directory_path() /
                 (L"LumoraFilesTest \u00E9\u6771 " + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::remove_all(folder);
        CoUninitialize();
    }
    fs::path write(const std::wstring& name, const std::string& bytes) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path folder;
    Win32FileAccess files;
};

TEST_F(Files, OnlyAFileOnDiskOpensForReading) {
    std::uintmax_t length = 0;
    std::FILE* source = files.openRegularFile(write(L"M\u00FCller.jpg", "12345"), length);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(length, 5u);
    char bytes[8] = {};
    EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, source), 5u);
    std::fclose(source);
    for (const fs::path& refused :
         {folder, folder / L"missing.jpg", fs::path(L"\\\\.\\NUL"), fs::path(L"CON")}) {
        EXPECT_EQ(files.openRegularFile(refused, length), nullptr) << refused.string();
    }
}

TEST_F(Files, ANewFileIsMadeOnlyWhereNothingIs) {
    const fs::path fresh = folder / L"Monday.jpg.\u00E9";
    std::FILE* made = files.createNewFile(fresh);
    ASSERT_NE(made, nullptr);
    EXPECT_GE(std::fputs("copy", made), 0);
    std::fclose(made);
    EXPECT_EQ(fs::file_size(fresh), 4u);
    EXPECT_EQ(files.createNewFile(fresh), nullptr) << "a file is there";
    EXPECT_EQ(files.createNewFile(folder), nullptr) << "a folder is there";
    EXPECT_TRUE(Win32FileSync().syncFile(utf8FromPath(fresh)));
    EXPECT_FALSE(Win32FileSync().syncFile(utf8FromPath(folder / L"missing")));
}

TEST_F(Files, AFinishedFileReplacesTheOldOneOrLeavesItAsItWas) {
    const fs::path day = folder / L"Tuesday \u00E9.jpg";
    const fs::path part = folder / L".Tuesday \u00E9.jpg.part-1";
    write(L".Tuesday \u00E9.jpg.part-1", "new");
    EXPECT_TRUE(files.replaceFile(part, day)) << "over nothing";
    write(L".Tuesday \u00E9.jpg.part-1", "newer");
    write(L"Tuesday \u00E9.jpg", "old");
    EXPECT_TRUE(files.replaceFile(part, day)) << "over the old file";
    EXPECT_EQ(fs::file_size(day), 5u);
    EXPECT_FALSE(fs::exists(part));

    EXPECT_FALSE(files.replaceFile(part, day)) << "nothing to move";
    EXPECT_EQ(fs::file_size(day), 5u);
    write(L".Tuesday \u00E9.jpg.part-1", "x");
    fs::create_directory(folder / L"a folder");
    EXPECT_FALSE(files.replaceFile(part, folder / L"a folder"));
    EXPECT_TRUE(fs::is_directory(folder / L"a folder"));
}

TEST_F(Files, PicturesSizedFromTheirHeadersAndDecodedAtTheSizeShown) {
    // A 3 x 2 BMP of 24-bit pixels, rows padded to 4 bytes.
    std::string bmp = "BM";
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bmp += static_cast<char>((v >> (8 * i)) & 0xff);
        }
    };
    auto put16 = [&](std::uint16_t v) {
        bmp += static_cast<char>(v & 0xff);
        bmp += static_cast<char>(v >> 8);
    };
    put32(54 + 24);
    put32(0);
    put32(54);
    put32(40);
    put32(3);
    put32(2);
    put16(1);
    put16(24);
    for (int i = 0; i < 6; ++i) {
        put32(0);
    }
    // Rows are stored bottom first: a blue bottom row, a white top row.
    for (const char* row : {"\xff\x00\x00", "\xff\xff\xff"}) {
        for (int pixel = 0; pixel < 3; ++pixel) {
            bmp.append(row, 3);
        }
        bmp.append(3, '\0');
    }
    const std::string picture = utf8FromPath(write(L"three by two \u00E9.bmp", bmp));
    const std::string junk = utf8FromPath(write(L"junk.jpg", "not a picture"));
    const std::string missing = utf8FromPath(folder / L"missing.png");
    const WicPictures pictures;
    EXPECT_EQ(pictures.pixelSize(picture), (PixelSize{3, 2}));
    EXPECT_EQ(pictures.pixelSize(junk), std::nullopt);
    EXPECT_EQ(pictures.pixelSize(missing), std::nullopt);

    // Decoded top row first, at its own size or at the size it is shown.
    constexpr std::uint32_t white = 0xffffffff;
    constexpr std::uint32_t blue = 0xff0000ff;
    for (const auto& [size, expected] :
         {std::pair{std::optional<PixelSize>{}, PixelSize{3, 2}},
          std::pair{std::optional{PixelSize{160, 120}}, PixelSize{160, 120}}}) {
        const auto decoded = decodePicture(picture, size);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->source, (PixelSize{3, 2}));
        ASSERT_EQ(decoded->width, expected.width);
        ASSERT_EQ(decoded->height, expected.height);
        ASSERT_EQ(decoded->pixels.size(), std::size_t(expected.width * expected.height));
        EXPECT_EQ(decoded->pixels.front(), white);
        EXPECT_EQ(decoded->pixels.back(), blue);
    }
    for (const auto& [path, size] :
         {std::pair{junk, std::optional<PixelSize>{}},
          std::pair{missing, std::optional<PixelSize>{}},
          std::pair{picture, std::optional{PixelSize{0, 120}}},
          std::pair{picture, std::optional{PixelSize{100000, 100000}}}}) {
        EXPECT_FALSE(decodePicture(path, size).has_value()) << path;
    }
}

// The built-in resources are the committed files, byte for byte; other names give nothing.
TEST(Resources, AreTheCommittedFiles) {
    const Win32Resources resources;
    for (auto [name, file] : {std::pair{"default_bmp", "resources/default.bmp"},
                              std::pair{"nopicture_bmp", "resources/nopicture.bmp"},
                              std::pair{"logo_bmp", "resources/logo.bmp"},
                              std::pair{"icon_png", "resources/icons/lumora-32.png"}}) {
        std::ifstream committed(fs::path(LUMORA_SOURCE_DIR) / file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(committed)), {});
        ASSERT_FALSE(bytes.empty()) << file;
        const std::vector<std::uint8_t> built = resources.bytes(name);
        EXPECT_EQ(std::string(built.begin(), built.end()), bytes) << name;
    }
    EXPECT_EQ(resources.bytes("default_bmp").size(), 381976u);
    EXPECT_TRUE(resources.bytes("DEFAULT_BMP").empty());
    EXPECT_TRUE(resources.bytes("").empty());
}

// The program carries its icon and the version the core shows in its captions.
TEST(Resources, TheProgramCarriesItsIconAndVersion) {
    EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), L"LUMORA_ICON"), nullptr);
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const DWORD size = GetFileVersionInfoSizeW(self, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(self, 0, size, info.data()));
    for (const wchar_t* field : {L"ProductVersion", L"FileVersion"}) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + field;
        ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(), &value, &length)) << field;
        EXPECT_EQ(utf8FromWide(static_cast<const wchar_t*>(value)), versionNumber());
    }
}

} // namespace
} // namespace lumora
