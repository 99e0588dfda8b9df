#pragma once
#include <cstddef>

// What a stretch of code cost in memory, for tests that must show a file was
// refused before anything large was allocated for it. Two figures:
// - the rise of resident memory: the kernel's high-water mark is reset when
//   the meter starts (/proc/self/clear_refs), so this is the peak while it
//   runs, even of memory freed again. It counts pages touched, and works
//   under AddressSanitizer, where a low address-space limit cannot be used;
// - the largest single block asked of the allocator, through the sanitizer's
//   allocation hooks: it sees a block reserved and never touched too. Builds
//   without the sanitizer cannot tell (allocationsSeen() is false).
// One meter at a time.
class MemoryMeter {
 public:
  MemoryMeter();
  ~MemoryMeter();
  MemoryMeter(const MemoryMeter&) = delete;
  MemoryMeter& operator=(const MemoryMeter&) = delete;

  std::size_t residentGrowth() const;
  std::size_t largestAllocation() const;
  static bool allocationsSeen();

 private:
  std::size_t residentAtStart_ = 0;
};
