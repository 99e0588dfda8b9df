#include "MicrophoneCapture.h"

#include <SDL.h>

#include "Clock.h"

MicrophoneCapture::~MicrophoneCapture() {
  close();
}

bool MicrophoneCapture::open(std::string& error) {
  // Counted by SDL: the player's hold on the subsystem is left as it is.
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = std::string("no sound system: ") + SDL_GetError();
    return false;
  }
  holdsSubsystem_ = true;
  if (SDL_GetNumAudioDevices(1) <= 0) {
    error = "no microphone";
    close();
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = AudioCapture::kSampleRate;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 1024;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts whatever the device offers to this format.
  device_ = SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0);
  if (device_ == 0) {
    error = std::string("cannot open the microphone: ") + SDL_GetError();
    close();
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  lastHeard_ = Clock::current().seconds();
  return true;
}

bool MicrophoneCapture::take(std::vector<std::int16_t>& samples, std::string& error) {
  if (device_ == 0) return false;
  if (SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) {
    error = "the microphone was disconnected";
    close();
    return false;
  }
  const double now = Clock::current().seconds();
  const Uint32 queued = SDL_GetQueuedAudioSize(device_);
  if (queued >= sizeof(std::int16_t)) {
    const std::size_t at = samples.size();
    samples.resize(at + queued / sizeof(std::int16_t));
    const Uint32 got = SDL_DequeueAudio(device_, samples.data() + at, queued);
    samples.resize(at + got / sizeof(std::int16_t));
    if (got > 0) lastHeard_ = now;
  }
  if (now - lastHeard_ > kSilentDeviceSeconds) {
    error = "the microphone sends no sound";
    close();
    return false;
  }
  return true;
}

void MicrophoneCapture::close() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  device_ = 0;
  if (holdsSubsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  holdsSubsystem_ = false;
}
