#include "Random.h"

#include <mutex>
#include <random>

namespace {
std::mutex gMutex;
std::minstd_rand& engine() {
  static std::minstd_rand e(1);
  return e;
}
}  // namespace

void Random::seed(std::uint32_t seed) {
  std::lock_guard lock(gMutex);
  engine().seed(seed);
}

long Random::next() {
  std::lock_guard lock(gMutex);
  // minstd_rand yields [1, 2^31 - 2]; shift to start at 0.
  return static_cast<long>(engine()()) - 1;
}
