#pragma once
#include <cstdint>

// The book's random numbers (`srandom`/`random`): one seeded generator, so
// that scripted runs can be repeated.
namespace Random {
void seed(std::uint32_t seed);
// A number in [0, 2^31 - 1].
long next();
}  // namespace Random
