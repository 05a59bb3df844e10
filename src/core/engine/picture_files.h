#pragma once
// File work of the engine: the day copy's block scheme and atomic writes. Standard C++ only.
#include "core/ports/event_pump.h"
#include "core/ports/file_access.h"
#include "core/ports/file_sync.h"

#include <cstddef>
#include <cstdint>
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

// Paths are UTF-8 text. Every file is opened through `files`: the sources only when they are
// regular files, the temporary files only when their names are new.

// Copies `source` to `destination` the way the day copy is made: whole blocks of 1,024 bytes while
// more than 1,024 bytes remain, then the rest one byte per step, with `events` run after every
// block and step. The bytes go to a temporary file beside the destination, which replaces the
// destination only when the copy is complete; on any failure the destination is left as it was.
// A source that changes size or vanishes during the copy counts as a failure.
bool copyInBlocks(const std::string& source, const std::string& destination, FileAccess& files,
                  EventPump& events, FileSync* sync);

// Replaces `destination` with `bytes` as a whole: a temporary file beside it, renamed into place.
bool writeFileAtomically(const std::string& destination, const std::vector<std::uint8_t>& bytes,
                         FileAccess& files, FileSync* sync);

// Whether `path` is a regular file holding exactly `bytes`.
bool fileHolds(const std::string& path, const std::vector<std::uint8_t>& bytes, FileAccess& files);

// Removes the temporary files a copy or an atomic write left in `folder` when the program was
// killed in the middle (".<name>.part-<number>"). Only one instance runs, so at start-up none of
// them belongs to a copy in progress. Failures are ignored.
void removeStaleParts(const std::string& folder);

} // namespace lumora
