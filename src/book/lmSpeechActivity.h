#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// Where a recording of a voice speaks and where it pauses, from the energy of
// 10 ms frames. A frame is voiced when it stands out of the recording's own
// quiet (its floor, the quietest tenth of its frames) and is not far below its
// loudest frames; voiced blips shorter than a syllable's start are noise, and
// gaps shorter than a stop consonant's closure are speech.
class lmSpeechActivity {
 public:
  static constexpr double kFrameSeconds = 0.01;
  // Above the floor by this much: a microphone's hiss is not speech.
  static constexpr double kAboveFloorDb = 12;
  // Within this much of the loudest frames: the tail of a room's echo is not.
  static constexpr double kBelowLoudestDb = 35;
  // Never quieter than this: digital silence has no floor to stand out of.
  static constexpr double kQuietestDb = -60;
  static constexpr double kShortestVoiced = 0.03;
  static constexpr double kLongestClosure = 0.06;

  struct Stretch {
    double begin = 0, end = 0;  // seconds
    double length() const { return end - begin; }
  };

  lmSpeechActivity(const std::vector<std::int16_t>& samples, int sampleRate);

  // Time voiced, pauses excluded.
  double speechSeconds() const;
  // From the first voiced frame to the end of the last; none without speech.
  std::optional<Stretch> speech() const;
  // The voiced stretches, split where a pause lasts `shortestPause` or more.
  std::vector<Stretch> stretches(double shortestPause) const;
  // The mean power of the voiced frames, in dB below full scale: how loud the
  // speech is, its pauses left out. -inf without speech.
  double activeLevelDb() const;
  double peakDb() const { return peakDb_; }
  double thresholdDb() const { return thresholdDb_; }

 private:
  std::vector<double> framePower_;  // mean square, full scale 1
  std::vector<bool> voiced_;
  double thresholdDb_ = 0;
  double peakDb_ = -1e9;
  void classify();
  void dropShortRuns(bool value, std::size_t shortest);
};
