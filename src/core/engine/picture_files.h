#pragma once
// File work of the engine: the day copy's block scheme and atomic writes. Standard C++ only.
#include "core/ports/event_pump.h"
#include "core/ports/file_sync.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lumora {

inline constexpr std::size_t kCopyBlockSize = 1024;
// The read and write buffers under the blocks of a copy.
inline constexpr std::size_t kCopyIoBuffer = 256 * 1024;

// The last `count` characters of a UTF-8 text (a multi-byte character counts as one); the whole
// text when it is shorter.
std::string lastCharacters(const std::string& text, std::size_t count);

// `part` made safe to append to a file name: every path separator and NUL becomes '_', so the
// result can never leave the folder the name is made in.
std::string plainNamePart(const std::string& part);

// Opens `path` for reading when it is a regular file (or a link to one), without ever waiting on
// the open; nullptr otherwise. `length` is the file's size at the open. Every file the engine
// reads a picture from is opened here.
std::FILE* openRegularFile(const std::string& path, std::uintmax_t& length);

// Copies `source` to `destination` the way the day copy is made: whole blocks of 1,024 bytes while
// more than 1,024 bytes remain, then the rest one byte per step, with `events` run after every
// block and step. The bytes go to a temporary file beside the destination, which replaces the
// destination only when the copy is complete; on any failure the destination is left as it was.
// A source that changes size or vanishes during the copy counts as a failure.
bool copyInBlocks(const std::string& source, const std::string& destination, EventPump& events,
                  FileSync* sync);

// Replaces `destination` with `bytes` as a whole: a temporary file beside it, renamed into place.
bool writeFileAtomically(const std::string& destination, const std::vector<std::uint8_t>& bytes,
                         FileSync* sync);

// Whether `path` is a regular file holding exactly `bytes`.
bool fileHolds(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Removes the temporary files a copy or an atomic write left in `folder` when the program was
// killed in the middle (".<name>.part-<number>"). Only one instance runs, so at start-up none of
// them belongs to a copy in progress. Failures are ignored.
void removeStaleParts(const std::string& folder);

} // namespace lumora
