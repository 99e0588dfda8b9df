#include "KstSound.h"

#include "AudioFile.h"
#include "EventLog.h"
#include "Log.h"
#include "NSBundle.h"
#include "NSNotificationCenter.h"
#include "lumoBookNames.h"

namespace {
const std::string kNil = "nil";
}  // namespace

KstSound* KstSound::shared() {
  // Lives until the process ends, as the book expects of it.
  static KstSound* instance = new KstSound();
  return instance;
}

double KstSound::durationOfSoundWithName(const std::string& name, const std::string& type) {
  const std::string path = NSBundle::mainBundle().pathForResource(name, type);
  return path.empty() ? 0.0 : AudioFile::probe(path).duration;
}

void KstSound::stop(Channel channel) {
  if (channel.player && channel.player->isPlaying())
    EventLog::log("sound", std::string("stop ") + channel.label + " " + channel.name);
  if (channel.player) channel.player->stop();
}

void KstSound::start(Channel channel, const std::string& name, const std::string& type, int loops,
                     AVAudioPlayerDelegate* delegate, const Part* part) {
  const std::string path = NSBundle::mainBundle().pathForResource(name, type);
  if (path.empty()) {
    // The previous sound goes all the same.
    stop(channel);
    channel.player = nullptr;
    channel.name = name;
    logWarningOnce("sound-missing:" + name + "." + type,
                   "sound " + name + "." + type + " is not among the resources");
    return;
  }
  startFile(channel, name, path, loops, delegate, part);
}

void KstSound::startFile(Channel channel, const std::string& name, const std::string& path,
                         int loops, AVAudioPlayerDelegate* delegate, const Part* part) {
  // The previous sound goes first, even when the new one turns out not to play.
  stop(channel);
  channel.player = nullptr;
  channel.name = name;
  Ptr<AVAudioPlayer> player = AVAudioPlayer::audioPlayerWithContentsOfURL(path);
  if (!player) return;  // the player has said why
  player->setNumberOfLoops(loops);
  player->setVolume(channel.audibleVolume());
  player->setDelegate(delegate);
  // Voices keep the reader's pace; the music and the page's loop their own.
  if (&channel.player == &player_ && voiceTempo_ != 1) {
    player->setEnableRate(true);
    player->setRate(float(voiceTempo_));
  }
  if (part) player->setPart(part->from, part->to, part->fade);
  player->prepareToPlay();
  channel.player = player;
  if (player->play())
    EventLog::log(
        "sound",
        std::string("start ") + channel.label + " " + name +
            (part ? " part " + std::to_string(part->from) + " " + std::to_string(part->to) : ""));
}

void KstSound::playSoundWithName(const std::string& name, const std::string& type) {
  if (name == kNil) return;
  mainChannelCut();
  playsPart_ = false;
  ++mainSoundNumber_;
  start(mainChannel(), name, type, 0, this);
}

void KstSound::playPartOfFile(const std::string& name, const std::string& path, double from,
                              double to, double fade) {
  if (name == kNil) return;
  mainChannelCut();
  playsPart_ = true;
  ++mainSoundNumber_;
  const Part part{from, to, fade};
  startFile(mainChannel(), name, path, 0, this, &part);
}

void KstSound::playSoundFromFile(const std::string& name, const std::string& path) {
  mainChannelCut();
  playsPart_ = false;
  ++mainSoundNumber_;
  startFile(mainChannel(), name, path, 0, this);
}

void KstSound::playBgSoundWithName(const std::string& name, const std::string& type) {
  start(backgroundChannel(), name, type, -1, nullptr);
}

void KstSound::playSpecialSoundWithName(const std::string& name, const std::string& type) {
  start(specialChannel(), name, type, -1, nullptr);
}

void KstSound::cancelSound() {
  mainChannelCut();
  stop(mainChannel());
}

void KstSound::setDialogueCutListener(std::function<void()> listener) {
  dialogueCutListener_ = std::move(listener);
}

void KstSound::mainChannelCut() {
  if (!player_ || !player_->isPlaying() || lumoBookNames::isNarrationFile(playerName_)) return;
  if (dialogueCutListener_) dialogueCutListener_();
}

void KstSound::cancelSpecialSound() {
  stop(specialChannel());
}

void KstSound::applyVolume(Channel channel) {
  if (channel.player) channel.player->setVolume(channel.audibleVolume());
}

void KstSound::setMusicOn(bool on) {
  if (musicOn_ == on) return;
  musicOn_ = on;
  applyVolume(backgroundChannel());
  applyVolume(specialChannel());
  EventLog::log("sound", std::string("music ") + (on ? "on" : "off"));
}

void KstSound::setVoicesOn(bool on) {
  if (voicesOn_ == on) return;
  voicesOn_ = on;
  applyVolume(mainChannel());
  EventLog::log("sound", std::string("voices ") + (on ? "on" : "off"));
}

void KstSound::audioPlayerDidFinishPlaying(AVAudioPlayer* player, bool successfully) {
  if (!successfully) return;
  const std::string& url = player->url();
  const std::string file = url.substr(url.rfind('/') + 1);
  const bool isNarration = lumoBookNames::isNarrationFile(file);
  const bool isPart = player == player_.get() && playsPart_;
  if (player == player_.get()) EventLog::log("sound", "end main " + playerName_);
  NSDictionary info{{lumoBookNames::kIsNarrationKey, isNarration}};
  // Only a part says so: a whole recording's notification stays as it always was.
  if (isPart) info.setObject(true, lumoBookNames::kIsPartKey);
  NSNotificationCenter::defaultCenter().postNotificationName(
      lumoBookNames::kRecordingDidFinishNotification, this, info);
}

KstRecordingKind KstSound::endedRecordingKind(const NSNotification* notification) {
  const bool narration =
      notification && notification->userInfo().boolValue(lumoBookNames::kIsNarrationKey);
  return narration ? KstRecordingKind::kNarration : KstRecordingKind::kDialogue;
}

bool KstSound::endedPart(const NSNotification* notification) {
  return notification && notification->userInfo().boolValue(lumoBookNames::kIsPartKey);
}

std::string KstSound::playingSoundName() const {
  return player_ && player_->isPlaying() ? playerName_ : std::string();
}

std::string KstSound::playingBgSoundName() const {
  return backgroundPlayer_ && backgroundPlayer_->isPlaying() ? backgroundName_ : std::string();
}

std::string KstSound::playingSpecialSoundName() const {
  return specialPlayer_ && specialPlayer_->isPlaying() ? specialName_ : std::string();
}

void KstSound::releasePlayers() {
  for (Channel channel : {mainChannel(), backgroundChannel(), specialChannel()}) {
    stop(channel);
    channel.player = nullptr;
    channel.name.clear();
  }
}
