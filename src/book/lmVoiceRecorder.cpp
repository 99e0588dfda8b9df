#include "lmVoiceRecorder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "AudioCapture.h"
#include "Clock.h"
#include "EventLog.h"
#include "NSTimer.h"

Ptr<lmVoiceRecorder> lmVoiceRecorder::recorder() {
  return makeObject<lmVoiceRecorder>();
}

lmVoiceRecorder::~lmVoiceRecorder() {
  if (isBusy()) AudioCapture::shared().stop();
}

const char* lmVoiceRecorder::nameOf(State state) {
  switch (state) {
    case State::Countdown:
      return "countdown";
    case State::Recording:
      return "recording";
    case State::Idle:
      break;
  }
  return "idle";
}

bool lmVoiceRecorder::begin(std::string& error) {
  if (isBusy()) return true;
  if (!AudioCapture::shared().start(error)) return false;
  state_ = State::Countdown;
  since_ = Clock::current().seconds();
  heard_.clear();
  timer_ =
      NSTimer::scheduledTimerWithTimeInterval(kTick, this, SELECTOR(lmVoiceRecorder::tick), true);
  EventLog::log("recording", "countdown");
  return true;
}

int lmVoiceRecorder::countdownShown() const {
  if (state_ != State::Countdown) return 0;
  const double left = kCountdownFrom - (Clock::current().seconds() - since_);
  return std::max(1, int(std::ceil(left - 1e-9)));
}

double lmVoiceRecorder::seconds() const {
  if (state_ != State::Recording) return 0;
  return std::min(kLongestSeconds, Clock::current().seconds() - since_);
}

void lmVoiceRecorder::tick(NSTimer*) {
  if (!listen()) return;
  if (state_ == State::Countdown && Clock::current().seconds() - since_ >= kCountdownFrom - 1e-9) {
    if (!startRecording()) return;
  } else if (state_ == State::Recording && seconds() >= kLongestSeconds - 1e-9)
    return finish();
  if (delegate_) delegate_->recorderDidTick(this);
}

// Collects what the microphone heard; false (and idle, the delegate told) when it failed.
bool lmVoiceRecorder::listen() {
  std::string reason;
  if (AudioCapture::shared().take(heard_, reason)) {
    const auto most = std::size_t(kLongestSeconds * AudioCapture::kSampleRate);
    if (heard_.size() > most) heard_.resize(most);
    return true;
  }
  fail(reason);
  return false;
}

void lmVoiceRecorder::fail(const std::string& reason) {
  becomeIdle();
  EventLog::log("recording", "failed: " + reason);
  Ptr<lmVoiceRecorder> keep(this);  // the delegate may let go of the recorder
  if (delegate_) delegate_->recorderDidFail(this, reason);
}

bool lmVoiceRecorder::startRecording() {
  // Listening starts afresh: the countdown's sound is not the reading, and a
  // file standing in for the microphone is heard from its beginning.
  heard_.clear();
  std::string reason;
  if (!AudioCapture::shared().start(reason)) {
    fail(reason);
    return false;
  }
  state_ = State::Recording;
  since_ = Clock::current().seconds();
  EventLog::log("recording", "started");
  return true;
}

void lmVoiceRecorder::finish() {
  if (state_ != State::Recording) return cancel();
  if (!listen()) return;
  std::vector<std::int16_t> heard = std::move(heard_);
  const double length = seconds();
  becomeIdle();
  char text[48];
  std::snprintf(text, sizeof text, "finished %.1f s", length);
  EventLog::log("recording", text);
  Ptr<lmVoiceRecorder> keep(this);
  if (delegate_) delegate_->recorderDidFinish(this, std::move(heard), AudioCapture::kSampleRate);
}

void lmVoiceRecorder::cancel() {
  if (!isBusy()) return;
  becomeIdle();
  EventLog::log("recording", "cancelled");
}

void lmVoiceRecorder::becomeIdle() {
  AudioCapture::shared().stop();
  state_ = State::Idle;
  heard_.clear();
  heard_.shrink_to_fit();
  if (timer_) timer_->invalidate();
  timer_ = nullptr;
}
