#include "lmSpeechActivity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double kSilentDb = -120;

double toDb(double power) {
  return power > 0 ? 10 * std::log10(power) : kSilentDb;
}

double percentile(std::vector<double> values, double share) {
  if (values.empty()) return kSilentDb;
  const auto at = values.begin() + std::ptrdiff_t(share * double(values.size() - 1));
  std::nth_element(values.begin(), at, values.end());
  return *at;
}
}  // namespace

lmSpeechActivity::lmSpeechActivity(const std::vector<std::int16_t>& samples, int sampleRate) {
  const std::size_t frame = std::max<std::size_t>(1, std::size_t(sampleRate * kFrameSeconds));
  for (std::size_t at = 0; at + frame <= samples.size(); at += frame) {
    double sum = 0, peak = 0;
    for (std::size_t i = at; i < at + frame; ++i) {
      const double s = samples[i] / 32768.0;
      sum += s * s;
      peak = std::max(peak, std::abs(s));
    }
    framePower_.push_back(sum / double(frame));
    peakDb_ = std::max(peakDb_, toDb(peak * peak));
  }
  classify();
}

void lmSpeechActivity::classify() {
  std::vector<double> levels;
  levels.reserve(framePower_.size());
  for (double p : framePower_) levels.push_back(toDb(p));
  const double floor = percentile(levels, 0.1);
  const double loudest = percentile(levels, 0.99);
  thresholdDb_ = std::max({floor + kAboveFloorDb, loudest - kBelowLoudestDb, kQuietestDb});
  voiced_.clear();
  for (double level : levels) voiced_.push_back(level >= thresholdDb_);
  dropShortRuns(true, std::size_t(std::lround(kShortestVoiced / kFrameSeconds)));
  dropShortRuns(false, std::size_t(std::lround(kLongestClosure / kFrameSeconds)));
}

// Runs of `value` shorter than `shortest` frames take the other value; runs
// touching either end are kept (a recording cut mid-word still speaks there).
void lmSpeechActivity::dropShortRuns(bool value, std::size_t shortest) {
  std::size_t at = 0;
  while (at < voiced_.size()) {
    std::size_t end = at;
    while (end < voiced_.size() && voiced_[end] == voiced_[at]) ++end;
    const bool inside = at > 0 && end < voiced_.size();
    if (voiced_[at] == value && inside && end - at < shortest)
      std::fill(voiced_.begin() + std::ptrdiff_t(at), voiced_.begin() + std::ptrdiff_t(end),
                !value);
    at = end;
  }
}

double lmSpeechActivity::speechSeconds() const {
  return double(std::count(voiced_.begin(), voiced_.end(), true)) * kFrameSeconds;
}

std::optional<lmSpeechActivity::Stretch> lmSpeechActivity::speech() const {
  const auto first = std::find(voiced_.begin(), voiced_.end(), true);
  if (first == voiced_.end()) return std::nullopt;
  const auto last = std::find(voiced_.rbegin(), voiced_.rend(), true);
  return Stretch{double(first - voiced_.begin()) * kFrameSeconds,
                 double(voiced_.rend() - last) * kFrameSeconds};
}

std::vector<lmSpeechActivity::Stretch> lmSpeechActivity::stretches(double shortestPause) const {
  std::vector<Stretch> found;
  const std::size_t pauseFrames = std::size_t(std::lround(shortestPause / kFrameSeconds));
  std::size_t at = 0;
  while (at < voiced_.size()) {
    if (!voiced_[at]) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < voiced_.size() && voiced_[end]) ++end;
    const Stretch run{double(at) * kFrameSeconds, double(end) * kFrameSeconds};
    const bool joins =
        !found.empty() && std::lround((run.begin - found.back().end) / kFrameSeconds) <
                              std::lround(double(pauseFrames));
    if (joins)
      found.back().end = run.end;
    else
      found.push_back(run);
    at = end;
  }
  return found;
}

double lmSpeechActivity::activeLevelDb() const {
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < voiced_.size(); ++i)
    if (voiced_[i]) {
      sum += framePower_[i];
      ++count;
    }
  return count ? toDb(sum / double(count)) : -std::numeric_limits<double>::infinity();
}
