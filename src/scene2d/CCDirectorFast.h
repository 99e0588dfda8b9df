#pragma once
#include "CCDirectorIOS.h"

// Draws as fast as the main loop turns: every run-loop servicing draws once.
class CCDirectorFast : public CCDirectorIOS {
 public:
  static CCDirector* sharedDirector() { return sharedDirectorOf<CCDirectorFast>(); }
  ~CCDirectorFast() override;
  void startAnimation() override;
  void stopAnimation() override;
  void setAnimationInterval(double interval) override;
  void runOnce();
  bool isRunning() const { return isRunning_; }

 protected:
  friend class CCDirector;
  CCDirectorFast() = default;
  void scheduleNext();
  bool isRunning_ = false;
  bool scheduled_ = false;
};
