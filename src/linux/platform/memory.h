#pragma once

namespace lumora {

// Hands memory the program freed back to the system (the C library keeps freed blocks otherwise).
void releaseFreedMemory();

// Makes every large block (a decoded picture, a screen of pixels) a mapping of its own that goes
// back to the system when it is freed. Without it, the C library raises its threshold after the
// first such block is freed and keeps later ones in the heap: a program that draws a picture once
// a day would hold a screen's worth of freed memory all day.
void returnLargeBlocksWhenFreed();

// Hands back the resident pages of program and library code and read-only data that no other
// process maps (most of them were read once, at start-up or for a window since closed). They are
// read again from their files when next needed.
void handBackCodePages();

} // namespace lumora
