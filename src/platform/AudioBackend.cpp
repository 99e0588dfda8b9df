#include "AudioBackend.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "AudioFile.h"
#include "AudioTimeStretch.h"
#include "Clock.h"
#include "EventLog.h"
#include "Log.h"
#include "NSRunLoop.h"
#include "NSTimer.h"
#include "OggVorbis.h"

class AudioClip {
 public:
  AudioClip(Mix_Chunk* chunk, double duration, std::size_t bytes)
      : chunk_(chunk), duration_(duration), bytes_(bytes) {}
  // Samples made here (stretched, cut) rather than by the mixer's decoder.
  AudioClip(std::vector<std::int16_t> samples, double duration)
      : duration_(duration), bytes_(samples.size() * 2), samples_(std::move(samples)) {
    chunk_ = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(samples_.data()), Uint32(bytes_));
  }
  AudioClip(const AudioClip&) = delete;
  AudioClip& operator=(const AudioClip&) = delete;
  ~AudioClip() {
    if (chunk_) Mix_FreeChunk(chunk_);
  }
  Mix_Chunk* chunk() const { return chunk_; }
  double duration() const { return duration_; }
  std::size_t bytes() const { return bytes_; }

 private:
  Mix_Chunk* chunk_;  // null in the virtual back end, which keeps only the length
  double duration_;
  std::size_t bytes_;
  std::vector<std::int16_t> samples_;  // what chunk_ plays, when it is ours
};

namespace {

constexpr int kChannels = 16;
constexpr int kRate = 44100;
// Decoded PCM kept for replays and for the recordings decoded ahead: the
// narrations one turn away, the page's loop and the music fit with room for
// the figures' lines (the largest such set is about 21 MB).
constexpr std::size_t kCacheBudget = 32u << 20;

std::atomic<bool> gUseVirtual{false};
AudioBackend::Impl* gImpl = nullptr;
// Voice on each mixer channel, read by the mixer's thread when a channel ends.
std::array<std::atomic<std::uint64_t>, kChannels> gChannelVoice{};

void channelFinished(int channel);

// Ends a virtual voice when its timer fires.
class AudioVoiceTimer : public NSObject {
 public:
  explicit AudioVoiceTimer(std::uint64_t voice) : voice_(voice) {}
  void fire(NSTimer* timer);

 private:
  std::uint64_t voice_;
};

struct FileStamp {
  std::int64_t size = -1;
  std::int64_t mtime = 0;
  bool operator==(const FileStamp&) const = default;
};

// A recording as decoded at one tempo: each tempo is a clip of its own. The
// tempo is kept to a thousandth, so that a float rate and a double find one clip.
struct SoundKey {
  SoundKey(std::string file, double speed)
      : path(std::move(file)), tempo(std::round(speed * 1000) / 1000) {}
  SoundKey() = default;
  std::string path;
  double tempo = 1;
  auto operator<=>(const SoundKey&) const = default;
};

FileStamp stampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {std::int64_t(st.st_size),
          std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace

struct AudioBackend::Impl {
  enum class Device { Closed, Open, Failed };

  struct Voice {
    std::shared_ptr<AudioClip> clip;
    std::function<void()> onEnd;
    int channel = -1;
    Ptr<NSTimer> timer;
    double startedAt = 0;  // engine clock
    int loops = 0;
    float volume = 1;
    bool audible = true;  // false once cut off by a lost device
  };
  struct CacheEntry {
    std::shared_ptr<AudioClip> clip;
    FileStamp stamp;
    std::uint64_t lastUse = 0;
  };

  Device device = Device::Closed;
  bool lost = false;       // the device went away; sounds run on timers
  bool mixerOpen = false;  // false only when a returned device would not open
  bool ownsSubsystem = false;
  int rate = kRate;
  int channels = 2;
  std::uint64_t generation = 0;  // bumped by shutdown, so late decodes are dropped

  std::map<std::uint64_t, Voice> voices;
  std::uint64_t nextVoice = 0;
  std::map<SoundKey, CacheEntry> cache;
  std::uint64_t useCounter = 0;
  std::map<SoundKey, std::vector<LoadDone>> waiting;
  std::set<SoundKey> inFlight;  // queued or decoding on the worker

  std::thread worker;
  std::mutex queueMutex;
  std::condition_variable queueReady;
  struct Job {
    SoundKey key;
    bool quiet = false;  // a prefetch: probe first, report nothing
  };
  std::deque<Job> queue;
  bool quitting = false;

  bool openDevice();
  bool openMixer(int wantedRate, int wantedChannels, int allowedChanges);
  void closeDevice();
  void endOnTimer(std::uint64_t id, Voice& voice);
  bool playOnChannel(std::uint64_t id, Voice& voice);
  void muteVoices();
  void reopenMixer();
  void restartLoops();
  void answerWaiting();
  std::shared_ptr<AudioClip> silentClip(const SoundKey& key);
  void stopWorker();
  std::shared_ptr<AudioClip> decode(const SoundKey& key, bool keepSamples, std::string& error);
  std::shared_ptr<AudioClip> stretched(Mix_Chunk* chunk, double tempo, bool keepSamples);
  std::shared_ptr<AudioClip> cached(const SoundKey& key);
  void remember(const SoundKey& key, const std::shared_ptr<AudioClip>& clip);
  void enqueue(const SoundKey& key, bool quiet);
  std::shared_ptr<AudioClip> decodeJob(const Job& job);
  void workerLoop();
  void finishLoad(const SoundKey& key, std::shared_ptr<AudioClip> clip, std::uint64_t gen);
  int freeChannel() const;
  void voiceFinished(std::uint64_t id);
};

namespace {

void channelFinished(int channel) {
  // Runs on the mixer's thread with the audio lock held: only hand it on.
  if (channel < 0 || channel >= kChannels) return;
  std::uint64_t voice = gChannelVoice[channel].load();
  if (voice == 0) return;
  NSRunLoop::mainRunLoop().postToMainThread([voice] {
    if (gImpl) gImpl->voiceFinished(voice);
  });
}

void AudioVoiceTimer::fire(NSTimer*) {
  if (gImpl) gImpl->voiceFinished(voice_);
}

}  // namespace

bool AudioBackend::Impl::openDevice() {
  if (device == Device::Open) return true;
  if (device == Device::Failed) return false;
  const bool useVirtual = gUseVirtual;
  if (useVirtual)
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  else
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  if (!SDL_WasInit(SDL_INIT_AUDIO)) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      device = Device::Failed;
      logWarningOnce("audio-device", std::string("no audio: ") + SDL_GetError());
      return false;
    }
    ownsSubsystem = true;
  }
  Mix_Init(MIX_INIT_MP3);  // the only compressed recordings played
  if (!openMixer(kRate, 2, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE)) {
    device = Device::Failed;
    logWarningOnce("audio-device",
                   std::string("no audio device, the book runs silent: ") + Mix_GetError());
    return false;
  }
  device = Device::Open;
  // The mixer's thread must be gone before static teardown destroys the run
  // loop it posts to; the run loop is created first so that it is destroyed after.
  static const bool atExit = [] {
    NSRunLoop::mainRunLoop();
    std::atexit([] {
      if (!gImpl) return;
      gImpl->stopWorker();
      for (auto& c : gChannelVoice) c = 0;
      gImpl->closeDevice();
    });
    return true;
  }();
  (void)atExit;
  return true;
}

bool AudioBackend::Impl::openMixer(int wantedRate, int wantedChannels, int allowedChanges) {
  if (Mix_OpenAudioDevice(wantedRate, AUDIO_S16SYS, wantedChannels, 1024, nullptr,
                          allowedChanges) != 0)
    return false;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  Mix_AllocateChannels(kChannels);
  Mix_ChannelFinished(gUseVirtual ? nullptr : channelFinished);
  mixerOpen = true;
  return true;
}

void AudioBackend::Impl::closeDevice() {
  if (device == Device::Open) {
    Mix_ChannelFinished(nullptr);
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    Mix_Quit();
  }
  if (ownsSubsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  ownsSubsystem = false;
  device = Device::Closed;
  lost = false;
  mixerOpen = false;
}

namespace {
// Decoded within the limit by our own decoder, then handed to the mixer as a
// WAV in memory, which it converts to its own rate and channels.
Mix_Chunk* loadOggVorbis(const std::string& path, std::string& error) {
  OggVorbis::Decoded pcm;
  if (!OggVorbis::decode(path, kAudioFileMaxSeconds, pcm, error)) return nullptr;
  const std::uint32_t bytes = std::uint32_t(pcm.samples.size() * sizeof(std::int16_t));
  std::vector<Uint8> wav(44 + bytes);
  auto put = [&wav](std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) wav[at + std::size_t(i)] = Uint8(value >> (8 * i));
  };
  std::memcpy(&wav[0], "RIFF", 4);
  put(4, 36 + bytes, 4);
  std::memcpy(&wav[8], "WAVEfmt ", 8);
  put(16, 16, 4);
  put(20, 1, 2);  // integer samples
  put(22, 1, 2);  // mono
  put(24, std::uint32_t(pcm.sampleRate), 4);
  put(28, std::uint32_t(pcm.sampleRate) * 2, 4);
  put(32, 2, 2);
  put(34, 16, 2);
  std::memcpy(&wav[36], "data", 4);
  put(40, bytes, 4);
  std::memcpy(&wav[44], pcm.samples.data(), bytes);
  return Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), int(wav.size())), 1);
}
}  // namespace

std::shared_ptr<AudioClip> AudioBackend::Impl::decode(const SoundKey& key, bool keepSamples,
                                                      std::string& error) {
  const std::string& path = key.path;
  // The mixer decodes a file whole, however long: only what the check lets
  // through (a known length within the limits) reaches it.
  const AudioFileInfo info = AudioFile::probe(path);
  if (!info.playable()) {
    error = info.problem;
    return nullptr;
  }
  Mix_Chunk* chunk = info.kind == AudioFileInfo::Kind::OggVorbis ? loadOggVorbis(path, error)
                                                                 : Mix_LoadWAV(path.c_str());
  if (!chunk) {
    if (error.empty()) error = Mix_GetError();
    return nullptr;
  }
  const double frameBytes = double(channels) * 2;
  const double duration = chunk->alen / frameBytes / rate;
  if (chunk->alen == 0) {
    Mix_FreeChunk(chunk);
    error = "no samples";
    return nullptr;
  }
  if (key.tempo != 1) return stretched(chunk, key.tempo, keepSamples);
  if (!keepSamples) {
    Mix_FreeChunk(chunk);
    return std::make_shared<AudioClip>(nullptr, duration, 0);
  }
  return std::make_shared<AudioClip>(chunk, duration, chunk->alen);
}

// Stretched at decode time, where the worker does it, so a player finds the
// sound ready at its pace; the virtual back end keeps only the new length.
std::shared_ptr<AudioClip> AudioBackend::Impl::stretched(Mix_Chunk* chunk, double tempo,
                                                         bool keepSamples) {
  const std::size_t frames = chunk->alen / std::size_t(channels * 2);
  std::vector<std::int16_t> samples = AudioTimeStretch::stretch(
      reinterpret_cast<const std::int16_t*>(chunk->abuf), frames, channels, rate, tempo);
  Mix_FreeChunk(chunk);
  const double duration = double(samples.size()) / channels / rate;
  if (!keepSamples) return std::make_shared<AudioClip>(nullptr, duration, 0);
  return std::make_shared<AudioClip>(std::move(samples), duration);
}

std::shared_ptr<AudioClip> AudioBackend::Impl::cached(const SoundKey& key) {
  auto it = cache.find(key);
  if (it == cache.end()) return nullptr;
  if (!(it->second.stamp == stampOf(key.path))) {  // the file was replaced
    cache.erase(it);
    return nullptr;
  }
  it->second.lastUse = ++useCounter;
  return it->second.clip;
}

void AudioBackend::Impl::remember(const SoundKey& key, const std::shared_ptr<AudioClip>& clip) {
  cache[key] = {clip, stampOf(key.path), ++useCounter};
  std::size_t total = 0;
  for (const auto& [_, e] : cache) total += e.clip->bytes();
  while (total > kCacheBudget && cache.size() > 1) {
    auto oldest = cache.begin();
    for (auto it = cache.begin(); it != cache.end(); ++it)
      if (it->second.lastUse < oldest->second.lastUse) oldest = it;
    total -= oldest->second.clip->bytes();
    cache.erase(oldest);  // a voice still playing it keeps its own reference
  }
}

void AudioBackend::Impl::enqueue(const SoundKey& key, bool quiet) {
  if (!inFlight.insert(key).second) return;
  {
    std::lock_guard lock(queueMutex);
    queue.push_back({key, quiet});
  }
  if (!worker.joinable()) {
    quitting = false;
    worker = std::thread([this] { workerLoop(); });
  }
  queueReady.notify_one();
}

std::shared_ptr<AudioClip> AudioBackend::Impl::decodeJob(const Job& job) {
  const std::string& path = job.key.path;
  std::string error;
  // The virtual back end keeps only the length, as its own loads do.
  std::shared_ptr<AudioClip> clip = decode(job.key, !gUseVirtual, error);
  if (!clip && !job.quiet)
    logWarningOnce("audio-decode:" + path, "cannot decode " + path + ": " + error);
  return clip;
}

void AudioBackend::Impl::workerLoop() {
  for (;;) {
    Job job;
    std::uint64_t gen;
    {
      std::unique_lock lock(queueMutex);
      queueReady.wait(lock, [this] { return quitting || !queue.empty(); });
      if (quitting) return;
      job = std::move(queue.front());
      queue.pop_front();
      gen = generation;
    }
    std::shared_ptr<AudioClip> clip = decodeJob(job);
    NSRunLoop::mainRunLoop().postToMainThread([key = std::move(job.key), clip, gen]() mutable {
      if (gImpl) gImpl->finishLoad(key, std::move(clip), gen);
    });
  }
}

void AudioBackend::Impl::finishLoad(const SoundKey& key, std::shared_ptr<AudioClip> clip,
                                    std::uint64_t gen) {
  if (gen != generation) return;
  inFlight.erase(key);
  if (clip) remember(key, clip);
  auto it = waiting.find(key);
  if (it == waiting.end()) return;
  // A quiet prefetch that failed: the players waiting for it decode again and say why.
  if (!clip && !it->second.empty()) {
    enqueue(key, false);
    return;
  }
  std::vector<LoadDone> done = std::move(it->second);
  waiting.erase(it);
  for (auto& d : done) d(clip);
}

int AudioBackend::Impl::freeChannel() const {
  std::array<bool, kChannels> busy{};
  for (const auto& [_, v] : voices)
    if (v.channel >= 0) busy[v.channel] = true;
  for (int c = 0; c < kChannels; ++c)
    if (!busy[c]) return c;
  return -1;
}

void AudioBackend::Impl::voiceFinished(std::uint64_t id) {
  auto it = voices.find(id);
  if (it == voices.end()) return;  // stopped meanwhile
  std::function<void()> onEnd = std::move(it->second.onEnd);
  if (it->second.channel >= 0) gChannelVoice[it->second.channel] = 0;
  // The mixer may have reported the end just as the device went and a timer took over.
  if (it->second.timer) it->second.timer->invalidate();
  voices.erase(it);
  if (onEnd) onEnd();
}

AudioBackend& AudioBackend::shared() {
  // Never destroyed: the mixer thread and posted work may outlive static teardown.
  static AudioBackend* backend = new AudioBackend();
  return *backend;
}

AudioBackend::AudioBackend() : impl_(std::make_unique<Impl>()) {
  gImpl = impl_.get();
}

AudioBackend::~AudioBackend() {
  shutdown();
  gImpl = nullptr;
}

void AudioBackend::setUseVirtualBackend(bool useVirtual) {
  if (gUseVirtual.exchange(useVirtual) != useVirtual && gImpl) shared().shutdown();
}

bool AudioBackend::usesVirtualBackend() {
  return gUseVirtual;
}

void AudioBackend::load(const std::string& path, LoadDone done) {
  load(path, 1, std::move(done));
}

void AudioBackend::load(const std::string& path, double tempo, LoadDone done) {
  Impl& d = *impl_;
  if (!d.openDevice()) {
    done(nullptr);
    return;
  }
  const SoundKey key{path, tempo};
  if (auto clip = d.cached(key)) {
    done(clip);
    return;
  }
  if (!d.mixerOpen) {
    done(d.silentClip(key));
    return;
  }
  if (gUseVirtual) {
    std::string error;
    std::shared_ptr<AudioClip> clip = d.decode(key, false, error);
    if (clip)
      d.remember(key, clip);
    else
      logWarningOnce("audio-decode:" + path, "cannot decode " + path + ": " + error);
    done(clip);
    return;
  }
  d.waiting[key].push_back(std::move(done));
  d.enqueue(key, false);
}

void AudioBackend::prefetch(const std::string& path, double tempo) {
  Impl& d = *impl_;
  if (path.empty() || !d.openDevice() || !d.mixerOpen || d.cached({path, tempo})) return;
  d.enqueue({path, tempo}, true);
}

bool AudioBackend::isDecoded(const std::string& path, double tempo) {
  return impl_->cached({path, tempo}) != nullptr;
}

std::shared_ptr<AudioClip> AudioBackend::part(const std::shared_ptr<AudioClip>& clip, double from,
                                              double to, double fade) {
  if (!clip) return nullptr;
  from = std::clamp(from, 0.0, clip->duration());
  to = std::clamp(to, from, clip->duration());
  if (!(to > from)) return nullptr;
  if (!clip->chunk()) return std::make_shared<AudioClip>(nullptr, to - from, 0);
  const Impl& d = *impl_;
  const auto frameAt = [&](double seconds) { return std::size_t(std::llround(seconds * d.rate)); };
  const std::size_t first = frameAt(from), last = frameAt(to);
  const std::size_t width = std::size_t(d.channels);
  const auto* samples = reinterpret_cast<const std::int16_t*>(clip->chunk()->abuf);
  if (last <= first) return nullptr;
  std::vector<std::int16_t> cut(samples + first * width, samples + last * width);
  // Linear fades, so a cut through a sound does not click.
  const std::size_t frames = last - first;
  const std::size_t ramp = std::min(frameAt(fade), frames / 2);
  for (std::size_t i = 0; i < ramp; ++i) {
    const float gain = float(i) / float(ramp);
    for (std::size_t c = 0; c < width; ++c) {
      cut[i * width + c] = std::int16_t(float(cut[i * width + c]) * gain);
      cut[(frames - 1 - i) * width + c] =
          std::int16_t(float(cut[(frames - 1 - i) * width + c]) * gain);
    }
  }
  return std::make_shared<AudioClip>(std::move(cut), double(frames) / d.rate);
}

double AudioBackend::duration(const AudioClip& clip) {
  return clip.duration();
}

std::uint64_t AudioBackend::start(const std::shared_ptr<AudioClip>& clip, int loops, float volume,
                                  std::function<void()> onEnd) {
  Impl& d = *impl_;
  if (!clip || d.device != Impl::Device::Open) return 0;
  const std::uint64_t id = ++d.nextVoice;
  Impl::Voice voice{clip,  std::move(onEnd), -1,     nullptr, Clock::current().seconds(),
                    loops, volume,           !d.lost};
  if (gUseVirtual || d.lost)
    d.endOnTimer(id, voice);
  else if (!d.playOnChannel(id, voice))
    return 0;
  d.voices.emplace(id, std::move(voice));
  return id;
}

// A voice the mixer does not play ends when its rounds would have.
void AudioBackend::Impl::endOnTimer(std::uint64_t id, Voice& voice) {
  if (voice.loops < 0) return;
  const double length = voice.clip->duration() * (voice.loops + 1);
  const double left = std::max(0.0, length - (Clock::current().seconds() - voice.startedAt));
  voice.timer = NSTimer::scheduledTimerWithTimeInterval(left, makeObject<AudioVoiceTimer>(id),
                                                        SELECTOR(AudioVoiceTimer::fire), false);
}

bool AudioBackend::Impl::playOnChannel(std::uint64_t id, Voice& voice) {
  const int channel = freeChannel();
  if (channel < 0) {
    logWarningOnce("audio-channels", "too many sounds at once; one is dropped");
    return false;
  }
  gChannelVoice[channel] = id;
  Mix_Volume(channel, int(voice.volume * MIX_MAX_VOLUME + 0.5f));
  if (!voice.clip->chunk() || Mix_PlayChannel(channel, voice.clip->chunk(), voice.loops) < 0) {
    gChannelVoice[channel] = 0;
    logWarningOnce("audio-play", std::string("cannot start a sound: ") + Mix_GetError());
    return false;
  }
  voice.channel = channel;
  return true;
}

bool AudioBackend::deviceLost() {
  Impl& d = *impl_;
  if (d.device != Impl::Device::Open || d.lost) return false;
  d.lost = true;
  d.muteVoices();
  EventLog::log("sound", "device lost");
  return true;
}

// Every voice leaves the mixer for a timer; the mixer's own end reports are
// cut first, as the halt would otherwise report each voice as ended now.
void AudioBackend::Impl::muteVoices() {
  for (auto& [id, voice] : voices) {
    voice.audible = false;
    if (voice.channel < 0) continue;
    gChannelVoice[voice.channel] = 0;
    Mix_HaltChannel(voice.channel);
    voice.channel = -1;
    endOnTimer(id, voice);
  }
}

bool AudioBackend::deviceReturned() {
  Impl& d = *impl_;
  if (!d.lost) return false;
  if (!gUseVirtual) d.reopenMixer();
  if (!d.mixerOpen) return false;
  d.lost = false;
  d.restartLoops();
  EventLog::log("sound", "device back");
  return true;
}

// A device that went away stays dead to SDL: the mixer closes and opens on
// whatever device is there now, at the rate and layout the decoded sounds
// already have (SDL converts), so that they stay playable. The worker decodes
// for the mixer, so it stops first; what players were waiting for is decoded again.
void AudioBackend::Impl::reopenMixer() {
  stopWorker();
  inFlight.clear();
  if (mixerOpen) {
    Mix_ChannelFinished(nullptr);
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    mixerOpen = false;
  }
  if (!openMixer(rate, channels, 0)) {
    logMessage(LogLevel::Warning,
               std::string("the sound device did not open again: ") + Mix_GetError());
    answerWaiting();
    return;
  }
  for (const auto& [key, _] : waiting) enqueue(key, false);
}

// With no mixer to decode for, players waiting for a sound are given its
// length alone, so that it still ends in time.
void AudioBackend::Impl::answerWaiting() {
  auto pending = std::move(waiting);
  waiting.clear();
  for (auto& [key, callbacks] : pending) {
    std::shared_ptr<AudioClip> clip = silentClip(key);
    for (auto& done : callbacks) done(clip);
  }
}

std::shared_ptr<AudioClip> AudioBackend::Impl::silentClip(const SoundKey& key) {
  const AudioFileInfo info = AudioFile::probe(key.path);
  if (!info.playable() || !(info.duration > 0)) return nullptr;
  return std::make_shared<AudioClip>(nullptr, info.duration / key.tempo, 0);
}

// Music and the page's loop never end, so they are heard again; sounds with
// an end run out unheard rather than restart from their beginning.
void AudioBackend::Impl::restartLoops() {
  const double now = Clock::current().seconds();
  for (auto& [id, voice] : voices) {
    if (voice.loops >= 0) continue;
    voice.startedAt = now;
    voice.audible = gUseVirtual || playOnChannel(id, voice);
  }
}

bool AudioBackend::isDeviceLost() const {
  return impl_->lost;
}

bool AudioBackend::isAudible(std::uint64_t id) const {
  auto it = impl_->voices.find(id);
  return it != impl_->voices.end() && it->second.audible;
}

void AudioBackend::stop(std::uint64_t id) {
  Impl& d = *impl_;
  auto it = d.voices.find(id);
  if (it == d.voices.end()) return;
  Impl::Voice voice = std::move(it->second);
  d.voices.erase(it);
  if (voice.timer) voice.timer->invalidate();
  if (voice.channel >= 0) {
    gChannelVoice[voice.channel] = 0;  // so the halt below reports nothing
    Mix_HaltChannel(voice.channel);
  }
}

void AudioBackend::setVolume(std::uint64_t id, float volume) {
  auto it = impl_->voices.find(id);
  if (it == impl_->voices.end()) return;
  it->second.volume = volume;
  if (it->second.channel >= 0) Mix_Volume(it->second.channel, int(volume * MIX_MAX_VOLUME + 0.5f));
}

bool AudioBackend::isPlaying(std::uint64_t id) const {
  return impl_->voices.count(id) != 0;
}

double AudioBackend::position(std::uint64_t id) const {
  auto it = impl_->voices.find(id);
  if (it == impl_->voices.end()) return 0;
  const Impl::Voice& voice = it->second;
  const double length = voice.clip->duration();
  if (!(length > 0)) return 0;
  const double elapsed = std::max(0.0, Clock::current().seconds() - voice.startedAt);
  // A sound past its last round stays at its end until its end is reported.
  if (voice.loops >= 0 && elapsed >= length * (voice.loops + 1)) return length;
  return std::fmod(elapsed, length);
}

void AudioBackend::clockDidJump(double seconds) {
  for (auto& [_, voice] : impl_->voices) voice.startedAt += seconds;
}

std::size_t AudioBackend::voiceCount() const {
  return impl_->voices.size();
}

bool AudioBackend::decodeFile(const std::string& path, AudioPcm& out) {
  Impl& d = *impl_;
  if (!d.openDevice()) return false;
  std::string error;
  std::shared_ptr<AudioClip> clip = d.decode({path, 1}, true, error);
  if (!clip) return false;
  out.sampleRate = d.rate;
  out.channels = d.channels;
  out.samples.resize(clip->chunk()->alen / 2);
  std::memcpy(out.samples.data(), clip->chunk()->abuf, out.samples.size() * 2);
  return true;
}

void AudioBackend::purgeCache() {
  impl_->cache.clear();
}

void AudioBackend::Impl::stopWorker() {
  {
    std::lock_guard lock(queueMutex);
    quitting = true;
    queue.clear();
    ++generation;
  }
  queueReady.notify_all();
  if (worker.joinable()) worker.join();
}

void AudioBackend::shutdown() {
  Impl& d = *impl_;
  d.stopWorker();
  for (auto& c : gChannelVoice) c = 0;  // halting below must report nothing
  for (auto& [_, v] : d.voices)
    if (v.timer) v.timer->invalidate();
  d.voices.clear();
  d.cache.clear();
  d.inFlight.clear();
  d.closeDevice();
  // Players still waiting for a decode hear that it failed rather than wait for ever.
  auto waiting = std::move(d.waiting);
  d.waiting.clear();
  for (auto& [_, callbacks] : waiting)
    for (auto& done : callbacks) done(nullptr);
}
