#include "CCDirectorTimer.h"

#include "Assert.h"

void CCDirectorTimer::startAnimation() {
  CCAssert(animationTimer_ == nullptr, "animationTimer must be nil. Calling startAnimation twice?");
  stampLastUpdate();
  animationTimer_ = NSTimer::scheduledTimerWithTimeInterval(
      animationInterval_, this, SELECTOR(CCDirectorTimer::mainLoop), true);
}

void CCDirectorTimer::stopAnimation() {
  if (animationTimer_) animationTimer_->invalidate();
  animationTimer_ = nullptr;
}

void CCDirectorTimer::setAnimationInterval(double interval) {
  animationInterval_ = interval;
  if (animationTimer_) {
    stopAnimation();
    startAnimation();
  }
}

void CCDirectorTimer::mainLoop(NSTimer*) {
  drawScene();
}
