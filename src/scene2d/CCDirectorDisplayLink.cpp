#include "CCDirectorDisplayLink.h"

#include <cmath>

#include "NSRunLoop.h"

void CCDirectorDisplayLink::startAnimation() {
  stampLastUpdate();
  displayLink_ =
      CADisplayLink::displayLinkWithTarget(this, SELECTOR(CCDirectorDisplayLink::mainLoop));
  // The small epsilon keeps 1/60 * 60 from flooring to 0 on rounding.
  displayLink_->setFrameInterval(int(std::floor(animationInterval_ * 60.0 + 1e-9)));
  displayLink_->addToRunLoop(NSRunLoop::mainRunLoop());
}

void CCDirectorDisplayLink::stopAnimation() {
  if (displayLink_) displayLink_->invalidate();
  displayLink_ = nullptr;
}

void CCDirectorDisplayLink::setAnimationInterval(double interval) {
  animationInterval_ = interval;
  if (displayLink_) {
    stopAnimation();
    startAnimation();
  }
}

void CCDirectorDisplayLink::mainLoop(CADisplayLink*) {
  drawScene();
}
