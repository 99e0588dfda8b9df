#include "CCDirectorFast.h"

#include <chrono>
#include <thread>

#include "Log.h"
#include "NSRunLoop.h"

CCDirectorFast::~CCDirectorFast() {
  isRunning_ = false;
}

void CCDirectorFast::startAnimation() {
  stampLastUpdate();
  isRunning_ = true;
  scheduleNext();
}

void CCDirectorFast::stopAnimation() {
  isRunning_ = false;
}

void CCDirectorFast::setAnimationInterval(double) {
  CCLOG("FastDirectory doesn't support setAnimationInterval, yet");
}

void CCDirectorFast::scheduleNext() {
  if (scheduled_) return;
  scheduled_ = true;
  // Alternating with the run loop's other work instead of nesting a loop in it.
  retain();
  NSRunLoop::mainRunLoop().postToMainThread([this] {
    scheduled_ = false;
    runOnce();
    release();
  });
}

void CCDirectorFast::runOnce() {
  if (!isRunning_) return;
  if (isPaused_) std::this_thread::sleep_for(std::chrono::microseconds(250000));
  drawScene();
  if (isRunning_) scheduleNext();
}
