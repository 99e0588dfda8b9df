#include "MemoryMeter.h"

#include <atomic>
#include <fstream>
#include <string>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*))
    __attribute__((weak));

namespace {
std::atomic<bool> gMetering{false};
std::atomic<std::size_t> gLargest{0};

void onMalloc(const volatile void*, std::size_t size) {
  if (!gMetering.load(std::memory_order_relaxed)) return;
  std::size_t seen = gLargest.load(std::memory_order_relaxed);
  while (size > seen && !gLargest.compare_exchange_weak(seen, size)) {
  }
}
void onFree(const volatile void*) {}

bool installHooks() {
  static const bool installed = __sanitizer_install_malloc_and_free_hooks &&
                                __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
  return installed;
}

// A "Vm...:  1234 kB" line of /proc/self/status, in bytes.
std::size_t statusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, field.size() + 1, field + ":") == 0)
      return std::stoull(line.substr(field.size() + 1)) * 1024;
  return 0;
}
}  // namespace

MemoryMeter::MemoryMeter() {
  installHooks();
  std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the present
  residentAtStart_ = statusBytes("VmRSS");
  gLargest = 0;
  gMetering = true;
}

MemoryMeter::~MemoryMeter() {
  gMetering = false;
}

std::size_t MemoryMeter::residentGrowth() const {
  std::size_t peak = statusBytes("VmHWM");
  return peak > residentAtStart_ ? peak - residentAtStart_ : 0;
}

std::size_t MemoryMeter::largestAllocation() const {
  return gLargest;
}

bool MemoryMeter::allocationsSeen() {
  return installHooks();
}
