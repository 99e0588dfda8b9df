#include "lmVoiceTake.h"

#include <algorithm>
#include <cmath>

#include "lmSpeechActivity.h"

lmVoiceTake::lmVoiceTake(std::vector<std::int16_t> heard, int sampleRate)
    : sampleRate_(sampleRate) {
  figures_.heardSeconds = sampleRate ? double(heard.size()) / sampleRate : 0;
  const lmSpeechActivity activity(heard, sampleRate);
  figures_.speechSeconds = activity.speechSeconds();
  figures_.levelBeforeDb = activity.activeLevelDb();
  const std::optional<lmSpeechActivity::Stretch> speech = activity.speech();
  if (!hasEnoughSpeech() || !speech) return;
  figures_.keptFrom = std::max(0.0, speech->begin - kLeadIn);
  const double keptTo = std::min(figures_.heardSeconds, speech->end + kTail);
  figures_.keptSeconds = keptTo - figures_.keptFrom;
  const auto from = std::size_t(figures_.keptFrom * sampleRate);
  const auto to = std::min(heard.size(), std::size_t(keptTo * sampleRate));
  samples_.assign(heard.begin() + std::ptrdiff_t(from), heard.begin() + std::ptrdiff_t(to));
  level();
}

void lmVoiceTake::level() {
  const lmSpeechActivity activity(samples_, sampleRate_);
  const double peakRoom = kPeakCeilingDb - activity.peakDb();
  figures_.gainDb = std::min({kNarrationLevelDb - activity.activeLevelDb(), peakRoom, kMostGainDb});
  const double gain = std::pow(10.0, figures_.gainDb / 20);
  const std::size_t fade = std::min(samples_.size() / 2, std::size_t(kFade * sampleRate_));
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    // Cut ends fade in and out over a few milliseconds, so they do not click.
    const std::size_t edge = std::min(i, samples_.size() - 1 - i);
    const double ramp = edge < fade ? double(edge) / double(fade) : 1.0;
    const double value = std::round(samples_[i] * gain * ramp);
    samples_[i] = std::int16_t(std::clamp(value, -32768.0, 32767.0));
  }
  const lmSpeechActivity kept(samples_, sampleRate_);
  figures_.levelDb = kept.activeLevelDb();
  figures_.peakDb = kept.peakDb();
}
