#pragma once

namespace lumora {

// Hands memory the program freed back to the system (the C library keeps freed blocks otherwise).
void releaseFreedMemory();

} // namespace lumora
