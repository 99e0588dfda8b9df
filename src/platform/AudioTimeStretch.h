#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Sixteen-bit interleaved sound played faster or slower at its own pitch, as
// a reader's pace wants a voice: the whole sound at once, as decoded.
namespace AudioTimeStretch {
// The slowest and fastest tempo that still sounds like the same voice.
constexpr double kSlowest = 0.5;
constexpr double kFastest = 2.0;

// `frames` frames of `channels` samples at `sampleRate`, played at `tempo`
// times the speed (0.8: slower, 1.2: faster; kept within the limits above).
// About frames / tempo frames come back; a tempo of 1 copies.
std::vector<std::int16_t> stretch(const std::int16_t* samples, std::size_t frames, int channels,
                                  int sampleRate, double tempo);
}  // namespace AudioTimeStretch
