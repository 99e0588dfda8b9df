#include "lumoReadToMe.h"

void lumoReadToMe::setOn(bool on) {
  if (on == on_) return;
  on_ = on;
  paused_ = false;
  if (!on) {
    stopWaiting();
  } else if (resting_ && !lastPage_) {
    // Switched on over a page already read: it turns after the same pause.
    wait(restFor_);
  }
}

void lumoReadToMe::pageSettled(bool lastPage, bool silent) {
  stopWaiting();
  resting_ = false;
  lastPage_ = lastPage;
  if (!silent) return;
  // Its settling stands for its narration.
  narrationStarted();
  rest(kOnSilentPage);
}

void lumoReadToMe::narrationStarted() {
  stopWaiting();
  resting_ = false;
  if (paused_) heardSincePause_ = true;
}

void lumoReadToMe::narrationEnded() {
  rest(kAfterNarration);
}

void lumoReadToMe::narrationFailed() {
  narrationStarted();
  rest(kOnSilentPage);
}

void lumoReadToMe::rest(double seconds) {
  resting_ = true;
  restFor_ = seconds;
  if (!on_ || lastPage_) return;
  if (paused_) {
    if (!heardSincePause_) return;
    paused_ = false;
  }
  wait(seconds);
}

void lumoReadToMe::readerActed() {
  if (!on_) return;
  paused_ = true;
  heardSincePause_ = false;
  stopWaiting();
}

void lumoReadToMe::turnStarted() {
  stopWaiting();
  resting_ = false;
}

void lumoReadToMe::due() {
  waiting_ = false;
  if (on_ && !paused_ && resting_ && !lastPage_ && hooks_.turn) hooks_.turn();
}

void lumoReadToMe::wait(double seconds) {
  stopWaiting();
  waiting_ = true;
  if (hooks_.schedule) hooks_.schedule(seconds);
}

void lumoReadToMe::stopWaiting() {
  if (!waiting_) return;
  waiting_ = false;
  if (hooks_.cancel) hooks_.cancel();
}
