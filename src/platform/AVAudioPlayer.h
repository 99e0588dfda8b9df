#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "NSObject.h"

class AVAudioPlayer;
class AudioClip;

// Told on the main thread when a player's sound is over. `successfully` is
// true only when the sound ran to its end by itself; `stop` reports nothing.
class AVAudioPlayerDelegate {
 public:
  virtual ~AVAudioPlayerDelegate() = default;
  virtual void audioPlayerDidFinishPlaying(AVAudioPlayer* player, bool successfully) = 0;
};

// Plays one compressed sound file (mp3). Creation checks the file (missing,
// not audio, truncated: no player); decoding happens at `prepareToPlay`, on a
// worker thread for the sound card, so `play` returns at once and the sound
// starts when it is decoded. Releasing a player stops it.
class AVAudioPlayer : public NSObject {
 public:
  static Ptr<AVAudioPlayer> audioPlayerWithContentsOfURL(const std::string& path);
  AVAudioPlayer();
  ~AVAudioPlayer() override;
  bool initWithContentsOfURL(const std::string& path);

  // The process-wide back end: the sound card, or virtual time for headless runs.
  static void setUseVirtualBackend(bool useVirtual);
  static bool usesVirtualBackend();
  // Decodes a sound ahead, off the main thread, so that a player made for it
  // later (at that tempo) starts at once. Says nothing about a file that will not play.
  static void prefetchContentsOfURL(const std::string& path, double tempo = 1);

  const std::string& url() const { return url_; }
  // Extra rounds after the first; -1 loops until stopped.
  int numberOfLoops() const { return numberOfLoops_; }
  void setNumberOfLoops(int loops);
  float volume() const { return volume_; }
  void setVolume(float volume);
  AVAudioPlayerDelegate* delegate() const { return delegate_; }
  void setDelegate(AVAudioPlayerDelegate* delegate) { delegate_ = delegate; }
  // Playing faster or slower at the sound's own pitch: `rate` (0.5 to 2, 1 by
  // default) counts only with `enableRate`, and both are taken when the sound
  // is prepared, where it is stretched.
  bool enableRate() const { return enableRate_; }
  void setEnableRate(bool enable) { enableRate_ = enable; }
  float rate() const { return rate_; }
  void setRate(float rate);
  // The speed the sound is prepared at: the rate when enabled, else 1.
  double tempo() const { return enableRate_ ? rate_ : 1.0; }
  // Plays only seconds [from, to) of the file (its own time, whatever the
  // rate), faded in and out over `fade` seconds of what is heard. Taken at `play`.
  void setPart(double from, double to, double fade);

  bool prepareToPlay();
  // False when the sound cannot play (undecodable file, no audio device).
  bool play();
  void stop();
  // True from `play` until the sound ends or is stopped, decoding included.
  bool isPlaying() const;
  // Playing and reaching the speakers: false for a sound the lost device cut off.
  bool isHeard() const;
  // Decoded length of one round; the file's own estimate until decoded.
  double duration() const;
  // Seconds into the file being heard (the file's own time, whatever the
  // rate; a part from its start in the file); 0 while it decodes and once it
  // has ended or been stopped.
  double currentTime() const;

  std::string description() const override;

 private:
  enum class State { Unprepared, Decoding, Ready, Failed };
  struct Handle {
    AVAudioPlayer* player;
  };

  std::string url_;
  int numberOfLoops_ = 0;
  float volume_ = 1.0f;
  AVAudioPlayerDelegate* delegate_ = nullptr;
  bool enableRate_ = false;
  float rate_ = 1.0f;
  struct Part {
    double from = 0, to = 0, fade = 0;
  };
  std::optional<Part> part_;
  State state_ = State::Unprepared;
  bool playWhenDecoded_ = false;
  double estimatedDuration_ = 0;
  std::shared_ptr<AudioClip> clip_;
  std::uint64_t voice_ = 0;
  std::shared_ptr<Handle> handle_;  // lets late callbacks find out the player is gone

  void decoded(std::shared_ptr<AudioClip> clip);
  bool startVoice();
  void voiceEnded();
};
