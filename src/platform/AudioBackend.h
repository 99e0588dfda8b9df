#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A sound decoded and ready to start; opaque outside the back end.
class AudioClip;

// Sixteen-bit interleaved samples at the mixer's rate, for tools and tests.
struct AudioPcm {
  int sampleRate = 0;
  int channels = 0;
  std::vector<std::int16_t> samples;
  double duration() const {
    return sampleRate && channels ? double(samples.size()) / (sampleRate * channels) : 0.0;
  }
};

// The process-wide audio engine under AVAudioPlayer. The real back end mixes
// on the sound card, decoding on a worker thread so that starting a sound
// costs the main thread almost nothing. The virtual back end (headless runs,
// tests) decodes the same way but only measures the result: a sound lasts its
// decoded duration on the engine clock and ends through the main run loop.
// Every callback runs on the main thread.
class AudioBackend {
 public:
  static AudioBackend& shared();

  // Chosen before the first sound; switching later drops everything playing.
  static void setUseVirtualBackend(bool useVirtual);
  static bool usesVirtualBackend();

  using LoadDone = std::function<void(std::shared_ptr<AudioClip>)>;
  // Decodes `path` (already probed) and hands the clip, or null when it cannot
  // be decoded or no device is open, to `done` on the main thread. Virtual
  // back end and decoded-before files: before returning. Real: later.
  void load(const std::string& path, LoadDone done);
  // The same, played at `tempo` times the speed at its own pitch: stretched
  // as it is decoded, on the worker, and kept apart from other tempos.
  void load(const std::string& path, double tempo, LoadDone done);
  static double duration(const AudioClip& clip);
  // Decodes `path` on the worker ahead of its first `load`, which then finds
  // it ready. Quiet: a file that will not play is left for `load` to report.
  // Nothing when it is decoded or on its way already.
  void prefetch(const std::string& path, double tempo = 1);
  // Whether a `load` of `path` would find it decoded.
  bool isDecoded(const std::string& path, double tempo = 1);
  // Seconds [from, to) of a clip (within it) as a clip of their own, faded in
  // and out over `fade` seconds: a copy of that much sound, cheap for words
  // and sentences.
  std::shared_ptr<AudioClip> part(const std::shared_ptr<AudioClip>& clip, double from, double to,
                                  double fade);

  // Starts a clip; `loops` extra rounds, -1 for ever. `onEnd` runs on the main
  // thread when the sound ran out by itself, never after `stop`. Returns a
  // voice id, 0 when nothing could start.
  std::uint64_t start(const std::shared_ptr<AudioClip>& clip, int loops, float volume,
                      std::function<void()> onEnd);
  void stop(std::uint64_t voice);
  void setVolume(std::uint64_t voice, float volume);
  bool isPlaying(std::uint64_t voice) const;
  // How far into its clip a voice is, in seconds on the engine clock (the
  // virtual clock in headless runs); 0 for a voice that is not playing.
  double position(std::uint64_t voice) const;
  // The engine clock was set by `seconds`: sounds keep their positions, as
  // the run loop's timers keep what was left of their delays.
  void clockDidJump(double seconds);
  std::size_t voiceCount() const;

  // The sound card went away (unplugged, its server gone). Sounds play on
  // unheard, each ending when it would have, so that nothing waits for an end
  // the mixer will never report. False when there was no device to lose.
  bool deviceLost();
  // A sound card is there again: the mixer reopens on it, looping sounds are
  // heard again from their start and new sounds are heard; a sound cut off
  // mid-way ends unheard. False when no device was lost.
  bool deviceReturned();
  bool isDeviceLost() const;
  // Whether a voice reaches the speakers (the virtual back end's count).
  bool isAudible(std::uint64_t voice) const;

  // Synchronous full decode, for tools and tests.
  bool decodeFile(const std::string& path, AudioPcm& out);

  // Forgets decoded sounds kept for replays (low memory, measurements);
  // sounds playing keep theirs.
  void purgeCache();
  // Stops every voice, drops decoded clips and closes the device.
  void shutdown();

  struct Impl;

 private:
  AudioBackend();
  ~AudioBackend();
  std::unique_ptr<Impl> impl_;
};
