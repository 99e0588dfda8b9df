#include "AudioTimeStretch.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// A stereo tone, the right channel half as loud.
std::vector<std::int16_t> tone(double hertz, double seconds) {
  const std::size_t frames = std::size_t(seconds * kRate);
  std::vector<std::int16_t> samples(frames * 2);
  for (std::size_t i = 0; i < frames; ++i) {
    const double v = std::sin(2 * kPi * hertz * double(i) / kRate);
    samples[2 * i] = std::int16_t(v * 16000);
    samples[2 * i + 1] = std::int16_t(v * 8000);
  }
  return samples;
}

// Rising zero crossings a second in one channel, away from the ends.
double pitchOf(const std::vector<std::int16_t>& samples, int channel) {
  const std::size_t frames = samples.size() / 2, from = frames / 10, to = frames - frames / 10;
  int crossings = 0;
  for (std::size_t i = from + 1; i < to; ++i)
    if (samples[2 * (i - 1) + channel] < 0 && samples[2 * i + channel] >= 0) ++crossings;
  return crossings / (double(to - from) / kRate);
}
}  // namespace

TEST(AudioTimeStretch, SlowerAndFasterKeepThePitchAndChangeTheLength) {
  const std::vector<std::int16_t> input = tone(440, 2.0);
  const std::size_t frames = input.size() / 2;
  for (double tempo : {0.8, 1.2}) {
    SCOPED_TRACE(tempo);
    const std::vector<std::int16_t> out =
        AudioTimeStretch::stretch(input.data(), frames, 2, kRate, tempo);
    ASSERT_EQ(out.size() % 2, 0u);
    EXPECT_NEAR(double(out.size() / 2), frames / tempo, frames * 0.01);
    EXPECT_NEAR(pitchOf(out, 0), 440, 440 * 0.02);
    // The channels stay apart: the right one is still half as loud.
    double left = 0, right = 0;
    for (std::size_t i = out.size() / 4 & ~std::size_t(1); i < out.size() * 3 / 4; i += 2) {
      left += std::abs(out[i]);
      right += std::abs(out[i + 1]);
    }
    EXPECT_NEAR(right / left, 0.5, 0.05);
  }
}

TEST(AudioTimeStretch, TheNormalTempoCopiesAndLimitsHold) {
  const std::vector<std::int16_t> input = tone(300, 0.5);
  EXPECT_EQ(AudioTimeStretch::stretch(input.data(), input.size() / 2, 2, kRate, 1.0), input);
  // Beyond the limits the tempo stops at them.
  const auto tooSlow = AudioTimeStretch::stretch(input.data(), input.size() / 2, 2, kRate, 0.1);
  EXPECT_NEAR(double(tooSlow.size()), input.size() / AudioTimeStretch::kSlowest,
              input.size() * 0.02);
  EXPECT_TRUE(AudioTimeStretch::stretch(input.data(), 0, 2, kRate, 0.8).empty());
}
