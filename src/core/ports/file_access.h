#pragma once
// Opening the files the engine copies and writes itself. What the system must guarantee at the
// open (never waiting on a pipe, checking what was opened rather than the name, never reusing a
// name that exists) is the platform's; the bytes then go through standard C streams. Paths arrive
// as std::filesystem::path made from the core's UTF-8 text (pathFromUtf8), so each platform opens
// them in its own spelling of names (bytes on Linux, UTF-16 on Windows).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace lumora {

class FileAccess {
public:
    virtual ~FileAccess() = default;
    // Opens `path` for reading in binary when it is a regular file (or a link to one), without
    // ever waiting on the open (a pipe or a device in the file's place never holds the caller);
    // what was opened is checked, not the name, so nothing can be swapped in between. nullptr
    // otherwise. `length` is the file's size at the open. The caller closes the stream.
    virtual std::FILE* openRegularFile(const std::filesystem::path& path,
                                       std::uintmax_t& length) = 0;
    // Creates `path` for writing in binary; nullptr when anything (a file, a folder, a link) is
    // already there under that name, or it cannot be created. The caller closes the stream.
    virtual std::FILE* createNewFile(const std::filesystem::path& path) = 0;
    // Puts the closed file `from` in the place of `to` in one step: `to` is the old file or the
    // new one, never neither nor half of one. The standard rename does that on POSIX systems.
    virtual bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
        std::error_code ec;
        std::filesystem::rename(from, to, ec);
        return !ec;
    }
};

} // namespace lumora
