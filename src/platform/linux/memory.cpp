#include "platform/linux/memory.h"

#include <malloc.h>

namespace lumora {

void releaseFreedMemory() {
    malloc_trim(0);
}

} // namespace lumora
