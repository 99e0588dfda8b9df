#pragma once
#include "CCDirectorIOS.h"
#include "NSTimer.h"

// Frames from a repeating run-loop timer with the animation interval as period.
class CCDirectorTimer : public CCDirectorIOS {
 public:
  static CCDirector* sharedDirector() { return sharedDirectorOf<CCDirectorTimer>(); }
  void startAnimation() override;
  void stopAnimation() override;
  void setAnimationInterval(double interval) override;
  void mainLoop(NSTimer* timer);
  NSTimer* animationTimer() const { return animationTimer_.get(); }

 protected:
  friend class CCDirector;
  CCDirectorTimer() = default;
  Ptr<NSTimer> animationTimer_;
};
