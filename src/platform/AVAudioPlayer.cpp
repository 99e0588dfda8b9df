#include "AVAudioPlayer.h"

#include <algorithm>
#include <cstdio>

#include "AudioBackend.h"
#include "AudioFile.h"
#include "AudioTimeStretch.h"
#include "Log.h"

Ptr<AVAudioPlayer> AVAudioPlayer::audioPlayerWithContentsOfURL(const std::string& path) {
  auto player = makeObject<AVAudioPlayer>();
  return player->initWithContentsOfURL(path) ? player : nullptr;
}

AVAudioPlayer::AVAudioPlayer() : handle_(std::make_shared<Handle>(Handle{this})) {}

AVAudioPlayer::~AVAudioPlayer() {
  stop();
  handle_->player = nullptr;
}

bool AVAudioPlayer::initWithContentsOfURL(const std::string& path) {
  AudioFileInfo info = AudioFile::probe(path);
  if (!info.playable()) {
    logWarningOnce("audio-file:" + path, "sound " + path + " will not play: " + info.problem);
    return false;
  }
  url_ = path;
  estimatedDuration_ = info.duration;
  return true;
}

void AVAudioPlayer::setUseVirtualBackend(bool useVirtual) {
  AudioBackend::setUseVirtualBackend(useVirtual);
}

bool AVAudioPlayer::usesVirtualBackend() {
  return AudioBackend::usesVirtualBackend();
}

void AVAudioPlayer::prefetchContentsOfURL(const std::string& path, double tempo) {
  AudioBackend::shared().prefetch(path, tempo);
}

void AVAudioPlayer::setNumberOfLoops(int loops) {
  numberOfLoops_ = std::max(-1, loops);
}

void AVAudioPlayer::setRate(float rate) {
  rate_ = std::clamp(rate, float(AudioTimeStretch::kSlowest), float(AudioTimeStretch::kFastest));
}

void AVAudioPlayer::setPart(double from, double to, double fade) {
  part_ = Part{std::max(0.0, from), std::max(from, to), std::max(0.0, fade)};
}

void AVAudioPlayer::setVolume(float volume) {
  volume_ = std::clamp(volume, 0.0f, 1.0f);
  if (voice_) AudioBackend::shared().setVolume(voice_, volume_);
}

bool AVAudioPlayer::prepareToPlay() {
  if (url_.empty() || state_ == State::Failed) return false;
  if (state_ != State::Unprepared) return true;
  state_ = State::Decoding;
  std::weak_ptr<Handle> weak = handle_;
  AudioBackend::shared().load(url_, tempo(), [weak](std::shared_ptr<AudioClip> clip) {
    if (auto h = weak.lock(); h && h->player) h->player->decoded(std::move(clip));
  });
  return state_ != State::Failed;
}

void AVAudioPlayer::decoded(std::shared_ptr<AudioClip> clip) {
  if (!clip) {
    state_ = State::Failed;
    playWhenDecoded_ = false;
    return;
  }
  clip_ = std::move(clip);
  state_ = State::Ready;
  if (playWhenDecoded_) {
    playWhenDecoded_ = false;
    startVoice();
  }
}

bool AVAudioPlayer::play() {
  if (isPlaying()) return true;
  if (!prepareToPlay()) return false;
  if (state_ == State::Decoding) {
    playWhenDecoded_ = true;
    return true;
  }
  return startVoice();
}

bool AVAudioPlayer::startVoice() {
  std::weak_ptr<Handle> weak = handle_;
  AudioBackend& backend = AudioBackend::shared();
  // The clip is the file at its tempo: a part of the file is that much shorter in it.
  const std::shared_ptr<AudioClip> clip =
      part_ ? backend.part(clip_, part_->from / tempo(), part_->to / tempo(), part_->fade) : clip_;
  voice_ = backend.start(clip, numberOfLoops_, volume_, [weak] {
    if (auto h = weak.lock(); h && h->player) h->player->voiceEnded();
  });
  return voice_ != 0;
}

void AVAudioPlayer::voiceEnded() {
  voice_ = 0;
  Ptr<AVAudioPlayer> keep(this);  // the delegate may release us
  if (delegate_) delegate_->audioPlayerDidFinishPlaying(this, true);
}

void AVAudioPlayer::stop() {
  playWhenDecoded_ = false;
  if (voice_) AudioBackend::shared().stop(std::exchange(voice_, 0));
}

bool AVAudioPlayer::isPlaying() const {
  return playWhenDecoded_ || (voice_ && AudioBackend::shared().isPlaying(voice_));
}

bool AVAudioPlayer::isHeard() const {
  return voice_ && AudioBackend::shared().isAudible(voice_);
}

double AVAudioPlayer::duration() const {
  return clip_ ? AudioBackend::duration(*clip_) * tempo() : estimatedDuration_;
}

double AVAudioPlayer::currentTime() const {
  if (!voice_) return 0.0;
  return (part_ ? part_->from : 0.0) + AudioBackend::shared().position(voice_) * tempo();
}

std::string AVAudioPlayer::description() const {
  char fields[96];
  std::snprintf(fields, sizeof fields, " | Loops = %d | Volume = %.2f | Playing = %s>",
                numberOfLoops_, double(volume_), isPlaying() ? "YES" : "NO");
  return objectAddressPrefix(this) + " | URL = " + url_ + fields;
}
