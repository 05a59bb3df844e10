#include "linux/platform/memory.h"

#include <cstdio>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace lumora {

void releaseFreedMemory() {
    malloc_trim(0);
}

void returnLargeBlocksWhenFreed() {
    // 128 KiB, the library's own starting threshold, now fixed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

void handBackCodePages() {
#ifdef MADV_PAGEOUT
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (maps == nullptr) {
        return;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, maps) != nullptr) {
        unsigned long start = 0;
        unsigned long end = 0;
        char perms[5] = {};
        int pathAt = 0;
        if (std::sscanf(line, "%lx-%lx %4s %*s %*s %*s %n", &start, &end, perms, &pathAt) < 3) {
            continue;
        }
        // Files only (a path), never what the program writes: its data and heap stay.
        if (perms[1] == 'w' || line[pathAt] != '/') {
            continue;
        }
        // The kernel leaves the pages that another process maps too. A kernel older than 5.4
        // knows no MADV_PAGEOUT and refuses: nothing is handed back then.
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_PAGEOUT);
    }
    std::fclose(maps);
#endif
}

} // namespace lumora
