#include "platform/linux/memory.h"

#include <malloc.h>

namespace lumora {

void releaseFreedMemory() {
    malloc_trim(0);
}

void returnLargeBlocksWhenFreed() {
    // 128 KiB, the library's own starting threshold, now fixed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

} // namespace lumora
