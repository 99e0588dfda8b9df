#pragma once
#include <cstdint>
#include <vector>

// A reader's recording made ready to keep: the quiet before the first word
// and after the last trimmed (a short margin kept, faded), and the speech
// brought to the level the book's own narrations are heard at, its peaks kept
// under full scale. Too little speech and the take is not worth keeping.
class lmVoiceTake {
 public:
  // Less speech than this (pauses not counted) is refused.
  static constexpr double kShortestSpeech = 0.5;
  static constexpr double kLeadIn = 0.15, kTail = 0.25, kFade = 0.01;
  // The book's narrations' speech level (the mean power of their voiced
  // frames, as lmSpeechActivity measures it, in dB below full scale), the
  // mean of all 33: the Russian ones speak at -22.4 dB, the English at -19.2.
  static constexpr double kNarrationLevelDb = -20.75;
  static constexpr double kPeakCeilingDb = -1;
  // A whisper is raised at most this much: past it, the room's noise would be.
  static constexpr double kMostGainDb = 30;

  struct Figures {
    double heardSeconds = 0;   // as captured
    double speechSeconds = 0;  // voiced, pauses excluded
    double keptFrom = 0;       // where the kept part starts in the capture
    double keptSeconds = 0;
    double levelBeforeDb = 0;
    double gainDb = 0;
    double levelDb = 0;  // of the kept recording
    double peakDb = 0;
  };

  lmVoiceTake(std::vector<std::int16_t> heard, int sampleRate);

  bool hasEnoughSpeech() const { return figures_.speechSeconds >= kShortestSpeech; }
  // The trimmed, levelled recording; empty without enough speech.
  const std::vector<std::int16_t>& samples() const { return samples_; }
  int sampleRate() const { return sampleRate_; }
  const Figures& figures() const { return figures_; }

 private:
  void level();
  std::vector<std::int16_t> samples_;
  int sampleRate_;
  Figures figures_;
};
