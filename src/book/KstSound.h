#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "AVAudioPlayer.h"
#include "NSObject.h"

class NSNotification;

// What ended on the main channel: the page's narration or a figure's line.
enum class KstRecordingKind { kNarration, kDialogue };

// The book's sounds on three independent channels: narration and dialogue on
// the main channel (once, full volume, its end reported), the music on the
// background channel and a page's effect on the special channel (both looping,
// quieter, never reported). Starting a sound on a channel stops that channel's
// previous one. When a main-channel sound ends by itself, posts
// lumoBookNames::kRecordingDidFinishNotification, saying whether it was a narration.
class KstSound : public NSObject, public AVAudioPlayerDelegate {
 public:
  static KstSound* shared();
  // A recording's length in seconds as its file tells it, before anyone
  // decodes it; 0 when there is none.
  static double durationOfSoundWithName(const std::string& name, const std::string& type);

  std::string className() const override { return "KstSound"; }

  // "nil" is ignored and leaves the current main sound playing.
  void playSoundWithName(const std::string& name, const std::string& type);
  // The main channel's sound `name` played from a file of the reader's own
  // (an own recording standing in for the book's); its end is reported as
  // the book's recording of that name would be.
  void playSoundFromFile(const std::string& name, const std::string& path);
  // Seconds [from, to) of the main-channel recording `name` heard from `path`
  // (the book's file or an own one; its own time, whatever the pace), faded in
  // and out over `fade`: a word or a sentence. Its end is reported as the
  // recording's, with "isPart" true in the notification.
  void playPartOfFile(const std::string& name, const std::string& path, double from, double to,
                      double fade);
  void playBgSoundWithName(const std::string& name, const std::string& type);
  void playSpecialSoundWithName(const std::string& name, const std::string& type);
  void cancelSound();
  void cancelSpecialSound();
  // Told when a figure's line is cut short on the main channel (cancelled, or
  // replaced by another recording): such a line never reports its end.
  void setDialogueCutListener(std::function<void()> listener);

  void audioPlayerDidFinishPlaying(AVAudioPlayer* player, bool successfully) override;
  // What the finish notification tells of; a dialogue line when it does not say.
  static KstRecordingKind endedRecordingKind(const NSNotification* notification);
  // Whether the recording whose end a notification tells was played in part.
  static bool endedPart(const NSNotification* notification);

  // The reader's sound switches, both on at start. Music off silences the two
  // looping channels (the music and a page's effect); voices off silences
  // narration and dialogue. Nothing stops: a silenced recording still runs to
  // its end and reports it, so whatever waits for that end goes on as if it
  // had been heard, and switching back on is heard at once, mid-sound.
  void setMusicOn(bool on);
  bool isMusicOn() const { return musicOn_; }
  void setVoicesOn(bool on);
  bool areVoicesOn() const { return voicesOn_; }
  // The reader's pace: narration and dialogue play at `tempo` times their
  // speed at their own pitch, from the next recording started on.
  void setVoiceTempo(double tempo) { voiceTempo_ = tempo; }
  double voiceTempo() const { return voiceTempo_; }
  // Whether the main channel plays a part of its recording (playPartOfFile).
  bool playsPart() const { return playsPart_ && !playingSoundName().empty(); }
  // Counts the main channel's sounds: who started one knows whether an end
  // reported, or the sound playing, is still theirs.
  std::uint64_t mainSoundNumber() const { return mainSoundNumber_; }

  // Base name of what plays on each channel, empty when it is silent (state dumps).
  std::string playingSoundName() const;
  std::string playingBgSoundName() const;
  std::string playingSpecialSoundName() const;
  AVAudioPlayer* player() const { return player_; }
  AVAudioPlayer* backgroundPlayer() const { return backgroundPlayer_; }
  AVAudioPlayer* specialPlayer() const { return specialPlayer_; }

  // Stops and drops every channel's player (program exit, tests).
  void releasePlayers();

 private:
  KstSound() = default;

  struct Channel {
    const char* label;
    Ptr<AVAudioPlayer>& player;
    std::string& name;
    float volume;    // when heard
    const bool& on;  // the switch it hangs on
    float audibleVolume() const { return on ? volume : 0.0f; }
  };
  Channel mainChannel() { return {"main", player_, playerName_, 1.0f, voicesOn_}; }
  Channel backgroundChannel() {
    return {"background", backgroundPlayer_, backgroundName_, 0.2f, musicOn_};
  }
  Channel specialChannel() { return {"special", specialPlayer_, specialName_, 0.3f, musicOn_}; }

  struct Part {
    double from, to, fade;
  };
  void start(Channel channel, const std::string& name, const std::string& type, int loops,
             AVAudioPlayerDelegate* delegate, const Part* part = nullptr);
  void startFile(Channel channel, const std::string& name, const std::string& path, int loops,
                 AVAudioPlayerDelegate* delegate, const Part* part = nullptr);
  void stop(Channel channel);
  void applyVolume(Channel channel);
  // Before the main channel is stopped or replaced.
  void mainChannelCut();

  Ptr<AVAudioPlayer> player_;
  Ptr<AVAudioPlayer> backgroundPlayer_;
  Ptr<AVAudioPlayer> specialPlayer_;
  std::string playerName_;
  std::string backgroundName_;
  std::string specialName_;
  bool musicOn_ = true;
  bool voicesOn_ = true;
  std::function<void()> dialogueCutListener_;
  double voiceTempo_ = 1;
  bool playsPart_ = false;
  std::uint64_t mainSoundNumber_ = 0;
};
