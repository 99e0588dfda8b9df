#include "FileCapture.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Clock.h"

namespace {
struct WavBuffer {
  Uint8* bytes = nullptr;
  Uint32 length = 0;
  ~WavBuffer() { SDL_FreeWAV(bytes); }
};

struct Converter {
  SDL_AudioStream* stream;
  ~Converter() { SDL_FreeAudioStream(stream); }
};
}  // namespace

bool FileCapture::load(std::string& error) {
  SDL_AudioSpec spec{};
  WavBuffer wav;
  if (!SDL_LoadWAV(path_.c_str(), &spec, &wav.bytes, &wav.length)) {
    error = "cannot read " + path_ + ": " + SDL_GetError();
    return false;
  }
  const double frameBytes = double(SDL_AUDIO_BITSIZE(spec.format) / 8) * spec.channels;
  if (frameBytes <= 0 || spec.freq <= 0 ||
      wav.length / frameBytes / spec.freq > kLongestFileSeconds) {
    error = path_ + " is too long to stand in for a microphone";
    return false;
  }
  Converter convert{SDL_NewAudioStream(spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 1,
                                       AudioCapture::kSampleRate)};
  if (!convert.stream || SDL_AudioStreamPut(convert.stream, wav.bytes, int(wav.length)) != 0 ||
      SDL_AudioStreamFlush(convert.stream) != 0) {
    error = "cannot convert " + path_ + ": " + SDL_GetError();
    return false;
  }
  sound_.resize(std::size_t(SDL_AudioStreamAvailable(convert.stream)) / sizeof(std::int16_t));
  const int got = SDL_AudioStreamGet(convert.stream, sound_.data(), int(sound_.size() * 2));
  sound_.resize(std::size_t(std::max(got, 0)) / sizeof(std::int16_t));
  return true;
}

bool FileCapture::open(std::string& error) {
  if (sound_.empty() && !load(error)) return false;
  delivered_ = 0;
  startedAt_ = Clock::current().seconds();
  return true;
}

bool FileCapture::take(std::vector<std::int16_t>& samples, std::string&) {
  const double rate = AudioCapture::kSampleRate;
  const double now = Clock::current().seconds();
  double owed = std::floor((now - startedAt_) * rate) - double(delivered_);
  if (owed < 0) {  // the clock was set back: carry on from here
    startedAt_ = now - double(delivered_) / rate;
    owed = 0;
  }
  const double longest = kLongestTake * rate;
  if (owed > longest) {  // set forward, or a long stall: hear only the last moments
    startedAt_ += (owed - longest) / rate;
    owed = longest;
  }
  const std::size_t count = std::size_t(owed);
  const std::size_t from = std::min(delivered_, sound_.size());
  const std::size_t heard = std::min(count, sound_.size() - from);
  samples.insert(samples.end(), sound_.begin() + std::ptrdiff_t(from),
                 sound_.begin() + std::ptrdiff_t(from + heard));
  samples.insert(samples.end(), count - heard, 0);
  delivered_ += count;
  return true;
}
