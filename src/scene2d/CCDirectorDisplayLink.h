#pragma once
#include "CADisplayLink.h"
#include "CCDirectorIOS.h"

// Frames from the display's refresh, every floor(interval * 60) refreshes.
class CCDirectorDisplayLink : public CCDirectorIOS {
 public:
  static CCDirector* sharedDirector() { return sharedDirectorOf<CCDirectorDisplayLink>(); }
  void startAnimation() override;
  void stopAnimation() override;
  void setAnimationInterval(double interval) override;
  void mainLoop(CADisplayLink* sender);
  CADisplayLink* displayLink() const { return displayLink_.get(); }

 protected:
  friend class CCDirector;
  CCDirectorDisplayLink() = default;
  Ptr<CADisplayLink> displayLink_;
};
