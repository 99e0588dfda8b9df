#include "AudioTimeStretch.h"

#include <SoundTouch.h>

#include <algorithm>
#include <cmath>

namespace {
// SoundTouch takes and gives floats; it is fed in blocks so the float copies stay small.
constexpr std::size_t kBlockFrames = 8192;

void toFloat(const std::int16_t* in, std::size_t count, std::vector<float>& out) {
  out.resize(count);
  for (std::size_t i = 0; i < count; ++i) out[i] = float(in[i]) / 32768.0f;
}

void appendSamples(const std::vector<float>& in, std::size_t count,
                   std::vector<std::int16_t>& out) {
  for (std::size_t i = 0; i < count; ++i)
    out.push_back(
        std::int16_t(std::lround(std::clamp(in[i], -1.0f, 32767.0f / 32768.0f) * 32768.0f)));
}

void drain(soundtouch::SoundTouch& touch, int channels, std::vector<float>& block,
           std::vector<std::int16_t>& out) {
  block.resize(kBlockFrames * std::size_t(channels));
  while (const unsigned got = touch.receiveSamples(block.data(), kBlockFrames))
    appendSamples(block, std::size_t(got) * std::size_t(channels), out);
}
}  // namespace

std::vector<std::int16_t> AudioTimeStretch::stretch(const std::int16_t* samples, std::size_t frames,
                                                    int channels, int sampleRate, double tempo) {
  tempo = std::clamp(tempo, kSlowest, kFastest);
  const std::size_t count = frames * std::size_t(std::max(channels, 0));
  if (tempo == 1.0 || count == 0 || sampleRate <= 0)
    return std::vector<std::int16_t>(samples, samples + count);

  soundtouch::SoundTouch touch;
  touch.setChannels(unsigned(channels));
  touch.setSampleRate(unsigned(sampleRate));
  touch.setTempo(tempo);
  // Speech: the shorter sequences of SoundTouch's speech setting keep syllables crisp.
  touch.setSetting(SETTING_SEQUENCE_MS, 40);
  touch.setSetting(SETTING_SEEKWINDOW_MS, 15);
  touch.setSetting(SETTING_OVERLAP_MS, 8);

  std::vector<std::int16_t> out;
  out.reserve(std::size_t(double(count) / tempo) + kBlockFrames * std::size_t(channels));
  std::vector<float> block;
  for (std::size_t at = 0; at < frames; at += kBlockFrames) {
    const std::size_t n = std::min(kBlockFrames, frames - at);
    toFloat(samples + at * std::size_t(channels), n * std::size_t(channels), block);
    touch.putSamples(block.data(), unsigned(n));
    drain(touch, channels, block, out);
  }
  touch.flush();
  drain(touch, channels, block, out);
  // The flush pads the tail with silence; keep the length the tempo says.
  const std::size_t wanted =
      std::size_t(std::llround(double(frames) / tempo)) * std::size_t(channels);
  if (out.size() > wanted) out.resize(wanted);
  return out;
}
