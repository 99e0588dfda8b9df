#pragma once
#include <atomic>
#include <thread>

#include "CCDirectorIOS.h"

// A background thread asks the main thread to draw, waiting for each frame.
class CCDirectorFastThreaded : public CCDirectorIOS {
 public:
  static CCDirector* sharedDirector() { return sharedDirectorOf<CCDirectorFastThreaded>(); }
  ~CCDirectorFastThreaded() override;
  void startAnimation() override;
  void stopAnimation() override;
  void setAnimationInterval(double interval) override;
  bool isRunning() const { return isRunning_; }

 protected:
  friend class CCDirector;
  CCDirectorFastThreaded() = default;
  void threadLoop();
  std::atomic<bool> isRunning_{false};
  std::atomic<bool> cancelled_{false};
  std::thread thread_;
};
