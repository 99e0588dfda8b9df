#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "NSObject.h"

class NSTimer;
class lmVoiceRecorder;

// Told on the main thread how a recording goes.
class lmVoiceRecorderDelegate {
 public:
  virtual ~lmVoiceRecorderDelegate() = default;
  // A tenth of a second went by while counting down or recording.
  virtual void recorderDidTick(lmVoiceRecorder* recorder) = 0;
  // The reader ended the recording, or its time ran out: what was heard.
  virtual void recorderDidFinish(lmVoiceRecorder* recorder, std::vector<std::int16_t> heard,
                                 int sampleRate) = 0;
  // The microphone failed on the way; nothing was kept.
  virtual void recorderDidFail(lmVoiceRecorder* recorder, const std::string& reason) = 0;
};

// Recording one narration from the microphone: idle, then a 3-2-1 countdown
// (the microphone already open, so that a missing one is known at once; what
// it hears is dropped), then recording, listening afresh, until
// the reader ends it or `kLongestSeconds` pass. A cancel, at any time, keeps
// nothing. A timer runs only while it is not idle.
class lmVoiceRecorder : public NSObject {
 public:
  enum class State { Idle, Countdown, Recording };
  static constexpr int kCountdownFrom = 3;
  static constexpr double kLongestSeconds = 90;
  static constexpr double kTick = 0.1;

  static Ptr<lmVoiceRecorder> recorder();
  std::string className() const override { return "lmVoiceRecorder"; }
  ~lmVoiceRecorder() override;

  void setDelegate(lmVoiceRecorderDelegate* delegate) { delegate_ = delegate; }

  // Opens the microphone and starts counting down. False, staying idle, with
  // the reason when there is no microphone or it cannot be opened.
  bool begin(std::string& error);
  // Ends the recording and hands what was heard to the delegate; during the
  // countdown nothing has been heard yet, so it cancels.
  void finish();
  void cancel();

  State state() const { return state_; }
  bool isBusy() const { return state_ != State::Idle; }
  static const char* nameOf(State state);
  // The countdown's number on show (3, 2, 1); 0 when not counting down.
  int countdownShown() const;
  // Seconds recorded so far; 0 when not recording.
  double seconds() const;

  void tick(NSTimer* timer);

 private:
  bool startRecording();
  void fail(const std::string& reason);
  void becomeIdle();
  bool listen();
  lmVoiceRecorderDelegate* delegate_ = nullptr;
  State state_ = State::Idle;
  double since_ = 0;  // engine clock: when the countdown or the recording began
  std::vector<std::int16_t> heard_;
  Ptr<NSTimer> timer_;
};
