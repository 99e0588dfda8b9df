#pragma once

// The C library keeps the pages of freed heap blocks for reuse: a texture let
// go in the middle of a heap, or a picture's decoded pixels, stay resident
// until those pages are handed back.
namespace FreedMemory {
// Called once at start-up, before any thread but the main one runs: every
// thread that allocates (the GL's rasterisers, the texture loader, the sound
// worker) would otherwise get a heap of its own, each keeping its own freed
// pages. Two heaps are enough for so few threads.
void limitHeaps();
// Hands the free pages of every heap back to the system. A walk of the heaps
// (well under a millisecond here): for after large releases, not every frame.
void returnToSystem();
}  // namespace FreedMemory
