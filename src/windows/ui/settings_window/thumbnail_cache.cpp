#include "windows/ui/settings_window/thumbnail_cache.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <vector>

namespace lumora {

namespace {

constexpr std::uint32_t kMagic = 0x4C544E31; // "LTN1"

// What tells one picture file from another: its path, where it lives, its length and its time.
struct Identity {
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t length = 0;
    std::uint64_t written = 0;
    bool operator==(const Identity&) const = default;
};

// The header of a kept thumbnail, followed by the path (UTF-16) and the pixels.
struct Header {
    std::uint32_t magic = kMagic;
    Identity identity;
    std::int32_t sourceWidth = 0;
    std::int32_t sourceHeight = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t pathLength = 0;
};

std::optional<Identity> identityOf(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool got = GetFileInformationByHandle(file, &info) != FALSE;
    CloseHandle(file);
    if (!got) {
        return std::nullopt;
    }
    Identity id;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    id.length = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    id.written = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                 info.ftLastWriteTime.dwLowDateTime;
    return id;
}

std::vector<std::uint8_t> readAll(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (64 << 20)) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
            got != bytes.size()) {
            bytes.clear();
        }
    }
    CloseHandle(file);
    return bytes;
}

// Written whole under another name, then put in place: a reader never sees half a thumbnail.
void writeAll(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    const std::wstring part = path + L".part";
    HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD put = 0;
    const bool written =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
        put == bytes.size();
    CloseHandle(file);
    if (!written || !MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(part.c_str());
    }
}

std::wstring defaultFolder() {
    PWSTR base = nullptr;
    std::wstring folder;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &base) == S_OK) {
        folder = std::wstring(base) + L"\\Lumora\\thumbnails";
    }
    CoTaskMemFree(base);
    return folder;
}

} // namespace

ThumbnailCache::ThumbnailCache(std::wstring folder)
    : m_folder(folder.empty() ? defaultFolder() : std::move(folder)) {}

std::optional<DecodedPicture> ThumbnailCache::load(int weekdayNumber, const std::string& path,
                                                   PixelSize size) const {
    const std::wstring widePath = wideFromUtf8(path);
    const std::optional<Identity> identity = identityOf(widePath);
    const std::wstring kept =
        m_folder.empty() ? std::wstring()
                         : m_folder + L"\\day" + std::to_wstring(weekdayNumber) + L".thumb";
    if (identity && !kept.empty()) {
        const std::vector<std::uint8_t> bytes = readAll(kept);
        Header header;
        if (bytes.size() >= sizeof header) {
            std::memcpy(&header, bytes.data(), sizeof header);
            const std::size_t pathBytes = std::size_t{header.pathLength} * sizeof(wchar_t);
            const std::size_t pixels =
                static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
            if (header.magic == kMagic && header.identity == *identity &&
                header.width == size.width && header.height == size.height &&
                header.pathLength == widePath.size() &&
                bytes.size() == sizeof header + pathBytes + pixels * 4 &&
                std::memcmp(bytes.data() + sizeof header, widePath.data(), pathBytes) == 0) {
                DecodedPicture picture;
                picture.source = {header.sourceWidth, header.sourceHeight};
                picture.width = size.width;
                picture.height = size.height;
                picture.pixels.resize(pixels);
                std::memcpy(picture.pixels.data(), bytes.data() + sizeof header + pathBytes,
                            pixels * 4);
                return picture;
            }
        }
    }
    std::optional<DecodedPicture> picture = decodePicture(path, size);
    if (picture && identity && !kept.empty()) {
        Header header;
        header.identity = *identity;
        header.sourceWidth = picture->source.width;
        header.sourceHeight = picture->source.height;
        header.width = picture->width;
        header.height = picture->height;
        header.pathLength = static_cast<std::uint32_t>(widePath.size());
        const std::size_t pathBytes = widePath.size() * sizeof(wchar_t);
        std::vector<std::uint8_t> bytes(sizeof header + pathBytes + picture->pixels.size() * 4);
        std::memcpy(bytes.data(), &header, sizeof header);
        std::memcpy(bytes.data() + sizeof header, widePath.data(), pathBytes);
        std::memcpy(bytes.data() + sizeof header + pathBytes, picture->pixels.data(),
                    picture->pixels.size() * 4);
        SHCreateDirectoryExW(nullptr, m_folder.c_str(), nullptr); // there already, or made now
        writeAll(kept, bytes);
    }
    return picture;
}

} // namespace lumora
