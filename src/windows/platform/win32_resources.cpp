#include "windows/platform/win32_resources.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <cstring>

namespace lumora {

namespace {

// RtlDecompressBuffer's LZNT1 format, and the function itself, from ntdll (it is not in the
// import libraries' headers).
constexpr USHORT kFormatLznt1 = 0x0002;
using DecompressBuffer = LONG(WINAPI*)(USHORT format, PUCHAR out, ULONG outSize, PUCHAR in,
                                       ULONG inSize, PULONG outLength);

// A packed resource (tools/pack_resource.py): its unpacked size in four bytes, little-endian,
// then the LZNT1 stream. Nothing when it does not unpack to exactly that size.
std::vector<std::uint8_t> unpacked(const std::uint8_t* data, DWORD size) {
    if (size < 4) {
        return {};
    }
    const std::uint32_t length = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                                 std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
    static const auto decompress = reinterpret_cast<DecompressBuffer>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlDecompressBuffer")));
    if (decompress == nullptr) {
        return {};
    }
    std::vector<std::uint8_t> out(length);
    // The stream is read only; the function's signature is not const.
    std::vector<std::uint8_t> stream(data + 4, data + size);
    ULONG got = 0;
    if (decompress(kFormatLznt1, out.data(), length, stream.data(),
                   static_cast<ULONG>(stream.size()), &got) < 0 ||
        got != length) {
        return {};
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> Win32Resources::bytes(const std::string& name) const {
    for (const char* known : {"default_bmp", "nopicture_bmp", "logo_bmp", "icon_png"}) {
        if (name != known) {
            continue;
        }
        HRSRC found = FindResourceW(nullptr, wideFromUtf8(name).c_str(), MAKEINTRESOURCEW(10));
        HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
        const auto* data =
            loaded != nullptr ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
        if (data == nullptr) {
            return {};
        }
        return unpacked(data, SizeofResource(nullptr, found));
    }
    return {};
}

} // namespace lumora
